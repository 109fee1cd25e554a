// Passwords are kept only as a salted digest, so that no file the stand-in
// writes holds one in clear: PBKDF2 with HMAC-SHA-256. Files written before
// hold a self-made digest, still checked until a login replaces it.
#ifndef WIRENEST_STANDIN_PASSWORD_HASH_H_
#define WIRENEST_STANDIN_PASSWORD_HASH_H_

#include <stdint.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace standin {

extern const char kPasswordKdf[];  // "pbkdf2-hmac-sha256"
// The most iterations a kept hash may ask for: a file of someone else's
// could otherwise keep a login busy for minutes.
extern const uint32_t kMostPasswordIterations;

class PendingHash;

struct PasswordHash {
  std::string salt;    // hex
  std::string digest;  // hex
  std::string kdf;     // empty: the self-made digest of old
  uint32_t iterations = 0;
  // Set for a password read in clear: the fields above are then empty and
  // its hash is made by whichever copy needs it first.
  std::shared_ptr<const PendingHash> pending;
};

bool operator==(const PasswordHash& a, const PasswordHash& b);

// What a check of a password found. kNotChecked: the key derivation could
// not be made (OpenSSL not set up, out of memory), which says nothing of the
// password.
enum class PasswordVerdict { kMatches, kDiffers, kNotChecked };

// The current form with a fresh salt; the digest is empty when the key
// derivation could not be made.
PasswordHash HashPassword(const std::string& password);
// The same, made only when a save or a check first needs it: most runs read
// a world's clear password and never use it, and a key derivation is dear.
PasswordHash HashWhenNeeded(const std::string& password);
// The hash as it is kept, made now if it was pending.
const PasswordHash& StoredForm(const PasswordHash& hash);
PasswordVerdict CheckPassword(const PasswordHash& hash, const std::string& password);
bool PasswordMatches(const PasswordHash& hash, const std::string& password);
// False for a password read in clear whose hash could not be made: a world
// holding it cannot be saved, for its password would be lost.
bool CanBeSaved(const PasswordHash& hash);
// Whether HashPassword would make a hash of this form.
bool IsCurrentForm(const PasswordHash& hash);

// For tests: while one lives, every key derivation fails as when OpenSSL
// cannot be set up.
class FailingKeyDerivationsForTesting {
 public:
  FailingKeyDerivationsForTesting();
  ~FailingKeyDerivationsForTesting();
  FailingKeyDerivationsForTesting(const FailingKeyDerivationsForTesting&) = delete;
  FailingKeyDerivationsForTesting& operator=(const FailingKeyDerivationsForTesting&) = delete;
};

// A clear password and, once made, its hash; copies of a world share it, so
// that they agree on one salt. Safe to use from any thread.
class PendingHash {
 public:
  explicit PendingHash(std::string password) : password_(std::move(password)) {}
  // Made at the first call that does not throw; a failed derivation (an
  // empty digest) stays failed.
  const PasswordHash& Made() const;

 private:
  std::string password_;
  // Not std::once_flag: an exception thrown through std::call_once (out of
  // memory) aborts when the unwinder it needs cannot be loaded.
  mutable std::mutex mutex_;
  mutable bool made_ = false;
  mutable PasswordHash hash_;
};

// A password checked against stored hashes, each once: the costly check can
// be made before a lock is taken and answer again under it, the hash then
// unchanged.
class PasswordCheck {
 public:
  explicit PasswordCheck(std::string password) : password_(std::move(password)) {}

  // A verdict of kNotChecked is not kept: the next call tries again.
  PasswordVerdict Check(const PasswordHash& hash);
  bool Matches(const PasswordHash& hash) { return Check(hash) == PasswordVerdict::kMatches; }
  const std::string& password() const { return password_; }

 private:
  std::string password_;
  std::optional<PasswordHash> checked_;
  PasswordVerdict verdict_ = PasswordVerdict::kNotChecked;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_PASSWORD_HASH_H_
