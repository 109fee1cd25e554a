#include "frontend/devices/md5_hex.h"

// OpenSSL 3 deprecates the MD5_* calls, which are the ones this program uses.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/md5.h>

std::string Md5Hex(const std::string& text) {
  MD5_CTX context;
  unsigned char digest[MD5_DIGEST_LENGTH];
  if (!MD5_Init(&context) || !MD5_Update(&context, text.data(), text.size()) ||
      !MD5_Final(digest, &context))
    return text;
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * MD5_DIGEST_LENGTH);
  for (unsigned char byte : digest) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0f];
  }
  return hex;
}
#pragma GCC diagnostic pop
