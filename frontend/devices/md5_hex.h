#ifndef WNCTL_FRONTEND_DEVICES_MD5_HEX_H_
#define WNCTL_FRONTEND_DEVICES_MD5_HEX_H_

#include <string>

// The MD5 digest of the text's bytes as 32 lowercase hexadecimal digits; the
// text itself should the digest fail.
std::string Md5Hex(const std::string& text);

#endif  // WNCTL_FRONTEND_DEVICES_MD5_HEX_H_
