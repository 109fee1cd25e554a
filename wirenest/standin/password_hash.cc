#include "wirenest/standin/password_hash.h"

#include <limits.h>
#include <stdio.h>

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/kdf.h>
#include <openssl/params.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>

#include "wirenest/standin/system_random.h"

namespace standin {

const char kPasswordKdf[] = "pbkdf2-hmac-sha256";

namespace {

// A login takes a few milliseconds; the tests make many, some under
// valgrind and emulators.
const uint32_t kIterations = 2000;
const size_t kSaltBytes = 16;
const size_t kDigestBytes = 32;

std::atomic<bool> g_fail_derivations{false};

std::string Hex(const unsigned char* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * size);
  for (size_t i = 0; i < size; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 15];
  }
  return text;
}

// OpenSSL's context for one derivation, freed with all it holds once done:
// kept, it would hold on to memory that the answer may need. Not the
// default one: OpenSSL sets that up unasked and, when its set-up runs out
// of memory, goes on with locks it never made.
class CryptoContext {
 public:
  CryptoContext() : context_(OSSL_LIB_CTX_new()) {}
  ~CryptoContext() { OSSL_LIB_CTX_free(context_); }
  CryptoContext(const CryptoContext&) = delete;
  CryptoContext& operator=(const CryptoContext&) = delete;
  OSSL_LIB_CTX* get() const { return context_; }

 private:
  OSSL_LIB_CTX* context_;
};

// HMAC hashes a key longer than its block once: the cost hardly grows with
// the password. Empty for parameters no digest is made with; nothing when
// OpenSSL cannot make it.
std::optional<std::string> Pbkdf2(const std::string& salt, const std::string& password,
                                  uint32_t iterations) {
  if (iterations == 0 || iterations > INT_MAX)
    return std::string();
  if (g_fail_derivations || OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr) != 1)
    return std::nullopt;
  CryptoContext context;
  std::unique_ptr<EVP_KDF, void (*)(EVP_KDF*)> kdf(
      context.get() ? EVP_KDF_fetch(context.get(), OSSL_KDF_NAME_PBKDF2, nullptr) : nullptr,
      EVP_KDF_free);
  std::unique_ptr<EVP_KDF_CTX, void (*)(EVP_KDF_CTX*)> derivation(
      kdf ? EVP_KDF_CTX_new(kdf.get()) : nullptr, EVP_KDF_CTX_free);
  int pkcs5 = 1;  // as PKCS5_PBKDF2_HMAC has it: no lower bounds on the inputs
  unsigned int rounds = iterations;
  char digest_name[] = "SHA256";
  const OSSL_PARAM parameters[] = {
      OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD, const_cast<char*>(password.data()),
                                        password.size()),
      OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, const_cast<char*>(salt.data()),
                                        salt.size()),
      OSSL_PARAM_construct_uint(OSSL_KDF_PARAM_ITER, &rounds),
      OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest_name, 0),
      OSSL_PARAM_construct_int(OSSL_KDF_PARAM_PKCS5, &pkcs5),
      OSSL_PARAM_construct_end(),
  };
  unsigned char digest[kDigestBytes];
  if (!derivation || EVP_KDF_derive(derivation.get(), digest, sizeof digest, parameters) != 1)
    return std::nullopt;
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
  if (!SystemRandomBytes(salt, sizeof salt)) {
    // No entropy from the system: the clock and the standard source will do.
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

std::optional<std::string> Digest(const PasswordHash& hash, const std::string& password) {
  if (hash.kdf.empty())
    return OldDigest(hash.salt, password);
  if (hash.kdf == kPasswordKdf)
    return Pbkdf2(hash.salt, password, hash.iterations);
  return std::string();
}

}  // namespace

const uint32_t kMostPasswordIterations = 10 * kIterations;

bool operator==(const PasswordHash& a, const PasswordHash& b) {
  return a.salt == b.salt && a.digest == b.digest && a.kdf == b.kdf &&
         a.iterations == b.iterations && a.pending == b.pending;
}

PasswordHash HashPassword(const std::string& password) {
  PasswordHash hash;
  hash.salt = FreshSalt();
  hash.kdf = kPasswordKdf;
  hash.iterations = kIterations;
  hash.digest = Pbkdf2(hash.salt, password, hash.iterations).value_or(std::string());
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

PasswordVerdict CheckPassword(const PasswordHash& hash, const std::string& password) {
  const PasswordHash& stored = StoredForm(hash);
  if (stored.digest.empty())
    return hash.pending ? PasswordVerdict::kNotChecked : PasswordVerdict::kDiffers;
  const std::optional<std::string> digest = Digest(stored, password);
  if (!digest)
    return PasswordVerdict::kNotChecked;
  return digest->size() == stored.digest.size() &&
                 CRYPTO_memcmp(digest->data(), stored.digest.data(), digest->size()) == 0
             ? PasswordVerdict::kMatches
             : PasswordVerdict::kDiffers;
}

bool PasswordMatches(const PasswordHash& hash, const std::string& password) {
  return CheckPassword(hash, password) == PasswordVerdict::kMatches;
}

bool CanBeSaved(const PasswordHash& hash) {
  return !hash.pending || !hash.pending->Made().digest.empty();
}

bool IsCurrentForm(const PasswordHash& hash) {
  return hash.pending || (hash.kdf == kPasswordKdf && hash.iterations == kIterations);
}

FailingKeyDerivationsForTesting::FailingKeyDerivationsForTesting() { g_fail_derivations = true; }

FailingKeyDerivationsForTesting::~FailingKeyDerivationsForTesting() { g_fail_derivations = false; }

const PasswordHash& PendingHash::Made() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!made_) {
    hash_ = HashPassword(password_);
    made_ = true;
  }
  return hash_;
}

PasswordVerdict PasswordCheck::Check(const PasswordHash& hash) {
  if (verdict_ == PasswordVerdict::kNotChecked || !(*checked_ == hash)) {
    const PasswordVerdict verdict = CheckPassword(hash, password_);
    checked_ = hash;
    verdict_ = verdict;
  }
  return verdict_;
}

}  // namespace standin
