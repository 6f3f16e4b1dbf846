#include "Kestrel/CommonLib/Text/Sha256.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Platform/Files/ReadOnlyFile.hpp"

namespace Kestrel::CommonLib {
namespace {

constexpr std::uint32_t kRounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t Rotate(std::uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

}  // namespace

TSha256::TSha256()
    : FState{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void TSha256::Compress(const unsigned char* block) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i)
    w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
           std::uint32_t{block[4 * i + 2]} << 8 | block[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  auto [a, b, c, d, e, f, g, h] = FState;
  for (int i = 0; i < 64; ++i) {
    const std::uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) +
                             ((e & f) ^ (~e & g)) + kRounds[i] + w[i];
    const std::uint32_t t2 =
        (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  const std::uint32_t rounds[8] = {a, b, c, d, e, f, g, h};
  for (int i = 0; i < 8; ++i)
    FState[i] += rounds[i];
}

void TSha256::Update(std::string_view bytes) {
  FLength += bytes.size();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t left = bytes.size();
  if (FBuffered > 0) {
    const size_t take = std::min(left, 64 - FBuffered);
    std::memcpy(FBuffer.data() + FBuffered, data, take);
    FBuffered += take;
    data += take;
    left -= take;
    if (FBuffered < 64)
      return;
    Compress(FBuffer.data());
    FBuffered = 0;
  }
  for (; left >= 64; data += 64, left -= 64)
    Compress(data);
  std::memcpy(FBuffer.data(), data, left);
  FBuffered = left;
}

std::string TSha256::HexDigest() {
  const std::uint64_t bits = FLength * 8;
  const unsigned char one = 0x80;
  Update(std::string_view(reinterpret_cast<const char*>(&one), 1));
  const unsigned char zero[64] = {};
  const size_t pad = FBuffered <= 56 ? 56 - FBuffered : 120 - FBuffered;
  Update(std::string_view(reinterpret_cast<const char*>(zero), pad));
  unsigned char length[8];
  for (int i = 0; i < 8; ++i)
    length[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  Update(std::string_view(reinterpret_cast<const char*>(length), 8));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(64);
  for (const std::uint32_t word : FState) {
    for (int shift = 28; shift >= 0; shift -= 4)
      hex += kHex[(word >> shift) & 0xF];
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes) {
  TSha256 hash;
  hash.Update(bytes);
  return hash.HexDigest();
}

std::optional<std::string> Sha256HexOfFile(const std::string& path) {
  Platform::ReadOnlyFile file;
  std::string error;
  if (!file.Open(path, error))
    return std::nullopt;
  TSha256 hash;
  std::vector<char> buffer(std::size_t{1} << 20);
  for (std::uint64_t at = 0; at < file.Size();) {
    const size_t want =
        static_cast<size_t>(std::min<std::uint64_t>(buffer.size(), file.Size() - at));
    const size_t got = file.ReadAt(at, buffer.data(), want);
    if (got == 0)
      return std::nullopt;
    hash.Update(std::string_view(buffer.data(), got));
    at += got;
  }
  return hash.HexDigest();
}

}  // namespace Kestrel::CommonLib
