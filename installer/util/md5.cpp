#include "installer/util/md5.h"

#include <windows.h>
#include <bcrypt.h>

namespace {

constexpr size_t kMaxHashedBytes = 259;
constexpr ULONG kDigestBytes = 16;

class ScopedAlgorithm {
 public:
  ScopedAlgorithm() {
    if (BCryptOpenAlgorithmProvider(&handle_, BCRYPT_MD5_ALGORITHM, nullptr, 0) != 0)
      handle_ = nullptr;
  }
  ~ScopedAlgorithm() {
    if (handle_ != nullptr) BCryptCloseAlgorithmProvider(handle_, 0);
  }
  ScopedAlgorithm(const ScopedAlgorithm&) = delete;
  ScopedAlgorithm& operator=(const ScopedAlgorithm&) = delete;
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class ScopedHash {
 public:
  explicit ScopedHash(BCRYPT_ALG_HANDLE algorithm) {
    if (BCryptCreateHash(algorithm, &handle_, nullptr, 0, nullptr, 0, 0) != 0)
      handle_ = nullptr;
  }
  ~ScopedHash() {
    if (handle_ != nullptr) BCryptDestroyHash(handle_);
  }
  ScopedHash(const ScopedHash&) = delete;
  ScopedHash& operator=(const ScopedHash&) = delete;
  BCRYPT_HASH_HANDLE get() const { return handle_; }

 private:
  BCRYPT_HASH_HANDLE handle_ = nullptr;
};

}  // namespace

std::string Md5Hex(const std::string& text) {
  ScopedAlgorithm algorithm;
  if (algorithm.get() == nullptr) return std::string();
  ScopedHash hash(algorithm.get());
  if (hash.get() == nullptr) return std::string();
  size_t length = text.size() < kMaxHashedBytes ? text.size() : kMaxHashedBytes;
  // BCryptHashData does not write its input; the cast only drops const.
  PUCHAR input = reinterpret_cast<PUCHAR>(const_cast<char*>(text.data()));
  if (BCryptHashData(hash.get(), input, static_cast<ULONG>(length), 0) != 0)
    return std::string();
  UCHAR digest[kDigestBytes];
  if (BCryptFinishHash(hash.get(), digest, kDigestBytes, 0) != 0) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (UCHAR byte : digest) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0x0F]);
  }
  return out;
}
