#pragma once
// SHA-256 (FIPS 180-4): the digest that names a file's content and the state
// of a note, where two different inputs must never pass for one.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Kestrel::CommonLib {

class TSha256 {
 public:
  TSha256();
  void Update(std::string_view bytes);
  // The digest in lower-case hex; the object is spent afterwards.
  std::string HexDigest();

 private:
  void Compress(const unsigned char* block);
  std::array<std::uint32_t, 8> FState;
  std::array<unsigned char, 64> FBuffer{};
  size_t FBuffered = 0;
  std::uint64_t FLength = 0;
};

std::string Sha256Hex(std::string_view bytes);
// The digest of a file's bytes (as long as it was when opened), read in
// pieces: a file of any size costs one buffer. Nothing when it cannot be read.
std::optional<std::string> Sha256HexOfFile(const std::string& path);

}  // namespace Kestrel::CommonLib
