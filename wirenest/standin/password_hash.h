// Passwords are kept only as a salted digest, so that no file the stand-in
// writes holds one in clear. The digest is self-made: it keeps a casual
// reader out, nothing more.
#ifndef WIRENEST_STANDIN_PASSWORD_HASH_H_
#define WIRENEST_STANDIN_PASSWORD_HASH_H_

#include <string>

namespace standin {

struct PasswordHash {
  std::string salt;    // hex
  std::string digest;  // hex
};

PasswordHash HashPassword(const std::string& password);  // with a fresh salt
std::string DigestPassword(const std::string& salt, const std::string& password);
bool PasswordMatches(const PasswordHash& hash, const std::string& password);

}  // namespace standin

#endif  // WIRENEST_STANDIN_PASSWORD_HASH_H_
