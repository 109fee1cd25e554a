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

PasswordHash HashPassword(const std::string& password);  // current form, fresh salt
// The same, made only when a save or a check first needs it: most runs read
// a world's clear password and never use it, and a key derivation is dear.
PasswordHash HashWhenNeeded(const std::string& password);
// The hash as it is kept, made now if it was pending.
const PasswordHash& StoredForm(const PasswordHash& hash);
bool PasswordMatches(const PasswordHash& hash, const std::string& password);
// Whether HashPassword would make a hash of this form.
bool IsCurrentForm(const PasswordHash& hash);

// A clear password and, once made, its hash; copies of a world share it, so
// that they agree on one salt. Safe to use from any thread.
class PendingHash {
 public:
  explicit PendingHash(std::string password) : password_(std::move(password)) {}
  const PasswordHash& Made() const;

 private:
  std::string password_;
  mutable std::once_flag once_;
  mutable PasswordHash made_;
};

// A password checked against stored hashes, each once: the costly check can
// be made before a lock is taken and answer again under it, the hash then
// unchanged.
class PasswordCheck {
 public:
  explicit PasswordCheck(std::string password) : password_(std::move(password)) {}

  bool Matches(const PasswordHash& hash);
  const std::string& password() const { return password_; }

 private:
  std::string password_;
  std::optional<PasswordHash> checked_;
  bool matched_ = false;
};

}  // namespace standin

#endif  // WIRENEST_STANDIN_PASSWORD_HASH_H_
