// Passwords are kept only as a salted digest, so that no file the stand-in
// writes holds one in clear: PBKDF2 with HMAC-SHA-256. Files written before
// hold a self-made digest, still checked until a login replaces it.
#ifndef WIRENEST_STANDIN_PASSWORD_HASH_H_
#define WIRENEST_STANDIN_PASSWORD_HASH_H_

#include <stdint.h>

#include <optional>
#include <string>
#include <utility>

namespace standin {

extern const char kPasswordKdf[];  // "pbkdf2-hmac-sha256"

struct PasswordHash {
  std::string salt;    // hex
  std::string digest;  // hex
  std::string kdf;     // empty: the self-made digest of old
  uint32_t iterations = 0;
};

bool operator==(const PasswordHash& a, const PasswordHash& b);

PasswordHash HashPassword(const std::string& password);  // current form, fresh salt
bool PasswordMatches(const PasswordHash& hash, const std::string& password);
// Whether HashPassword would make a hash of this form.
bool IsCurrentForm(const PasswordHash& hash);

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
