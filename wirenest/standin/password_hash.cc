#include "wirenest/standin/password_hash.h"

#include <limits.h>
#include <stdio.h>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <chrono>
#include <random>

namespace standin {

const char kPasswordKdf[] = "pbkdf2-hmac-sha256";

namespace {

// A login takes a few milliseconds; the tests make many, some under
// valgrind and emulators.
const uint32_t kIterations = 2000;
const size_t kSaltBytes = 16;
const size_t kDigestBytes = 32;

std::string Hex(const unsigned char* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

// HMAC hashes a key longer than its block once: the cost hardly grows with
// the password.
std::string Pbkdf2(const std::string& salt, const std::string& password, uint32_t iterations) {
  unsigned char digest[kDigestBytes];
  if (password.size() > INT_MAX || iterations == 0 || iterations > INT_MAX ||
      PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                        reinterpret_cast<const unsigned char*>(salt.data()),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                        sizeof digest, digest) != 1)
    return std::string();
  return Hex(digest, sizeof digest);
}

// The self-made digest of old: 4096 passes over the salt and the password.
uint64_t Mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

std::string Hex64(uint64_t value) {
  char text[17];
  snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

std::string OldDigest(const std::string& salt, const std::string& password) {
  const std::string input = salt + '\0' + password;
  uint64_t lanes[2] = {0x6A09E667F3BCC908ULL, 0xBB67AE8584CAA73BULL};
  for (int round = 0; round < 4096; ++round) {
    for (unsigned char byte : input) {
      lanes[0] = Mix(lanes[0] ^ byte);
      lanes[1] = Mix(lanes[1] + lanes[0] + byte);
    }
  }
  return Hex64(lanes[0]) + Hex64(lanes[1]);
}

std::string FreshSalt() {
  unsigned char salt[kSaltBytes];
  if (RAND_bytes(salt, sizeof salt) != 1) {
    // No entropy from OpenSSL: the clock and the system's source will do.
    uint64_t start =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    try {
      std::random_device random;
      start ^= (static_cast<uint64_t>(random()) << 32) ^ random();
    } catch (const std::exception&) {
    }
    std::mt19937_64 generator(start);
    for (unsigned char& byte : salt)
      byte = static_cast<unsigned char>(generator());
  }
  return Hex(salt, sizeof salt);
}

std::string Digest(const PasswordHash& hash, const std::string& password) {
  if (hash.kdf.empty())
    return OldDigest(hash.salt, password);
  if (hash.kdf == kPasswordKdf)
    return Pbkdf2(hash.salt, password, hash.iterations);
  return std::string();
}

}  // namespace

bool operator==(const PasswordHash& a, const PasswordHash& b) {
  return a.salt == b.salt && a.digest == b.digest && a.kdf == b.kdf &&
         a.iterations == b.iterations && a.pending == b.pending;
}

PasswordHash HashPassword(const std::string& password) {
  PasswordHash hash;
  hash.salt = FreshSalt();
  hash.kdf = kPasswordKdf;
  hash.iterations = kIterations;
  hash.digest = Pbkdf2(hash.salt, password, hash.iterations);
  return hash;
}

PasswordHash HashWhenNeeded(const std::string& password) {
  PasswordHash hash;
  hash.pending = std::make_shared<PendingHash>(password);
  return hash;
}

const PasswordHash& StoredForm(const PasswordHash& hash) {
  return hash.pending ? hash.pending->Made() : hash;
}

bool PasswordMatches(const PasswordHash& hash, const std::string& password) {
  const PasswordHash& stored = StoredForm(hash);
  if (stored.digest.empty())
    return false;
  const std::string digest = Digest(stored, password);
  return digest.size() == stored.digest.size() &&
         CRYPTO_memcmp(digest.data(), stored.digest.data(), digest.size()) == 0;
}

bool IsCurrentForm(const PasswordHash& hash) {
  return hash.pending || (hash.kdf == kPasswordKdf && hash.iterations == kIterations);
}

const PasswordHash& PendingHash::Made() const {
  std::call_once(once_, [this] { made_ = HashPassword(password_); });
  return made_;
}

bool PasswordCheck::Matches(const PasswordHash& hash) {
  if (!checked_ || !(*checked_ == hash)) {
    matched_ = PasswordMatches(hash, password_);
    checked_ = hash;
  }
  return matched_;
}

}  // namespace standin
