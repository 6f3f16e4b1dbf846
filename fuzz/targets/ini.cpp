// The settings file reader: UTF-8 or UTF-16LE text with sections and keys.
#include "Platform/Files/IniFile.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Platform::IniFile ini(Fuzz::WriteScratch(Fuzz::AsText(data, size), ".ini"));
  ini.ReadString("Host", "URL", "default");
  ini.ReadString("Host", "Token", "");
  return 0;
}
