#include "wirenest/standin/password_hash.h"

#include <stdint.h>
#include <stdio.h>

#include <chrono>
#include <random>

namespace standin {

namespace {

const int kRounds = 4096;

uint64_t Mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::string Hex(uint64_t value) {
  char text[17];
  snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

std::string DigestPassword(const std::string& salt, const std::string& password) {
  const std::string input = salt + '\0' + password;
  uint64_t lanes[2] = {0x6A09E667F3BCC908ULL, 0xBB67AE8584CAA73BULL};
  for (int round = 0; round < kRounds; ++round) {
    for (unsigned char byte : input) {
      lanes[0] = Mix(lanes[0] ^ byte);
      lanes[1] = Mix(lanes[1] + lanes[0] + byte);
    }
  }
  return Hex(lanes[0]) + Hex(lanes[1]);
}

PasswordHash HashPassword(const std::string& password) {
  uint64_t salt =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  try {
    std::random_device random;
    salt ^= (static_cast<uint64_t>(random()) << 32) ^ random();
  } catch (const std::exception&) {  // no entropy source: the clock will do
  }
  PasswordHash hash;
  hash.salt = Hex(salt);
  hash.digest = DigestPassword(hash.salt, password);
  return hash;
}

bool PasswordMatches(const PasswordHash& hash, const std::string& password) {
  return !hash.digest.empty() && DigestPassword(hash.salt, password) == hash.digest;
}

}  // namespace standin
