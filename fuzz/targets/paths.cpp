// Path helpers: combining with a base, file names, extensions, directories.
#include "Kestrel/CommonLib/PathHelpers.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Kestrel::CommonLib;
  const std::string_view text = Fuzz::AsText(data, size);
  const size_t split = text.find('\0');
  const std::string_view path = text.substr(0, split);
  const std::string_view base = split == std::string_view::npos ? "" : text.substr(split + 1);
  try {
    CombinePath(path, base);
  } catch (const EInvalidPath&) {
    // Characters no path may hold are an error by design.
  }
  ExtractFileName(path);
  ExtractFileExt(path);
  ExtractFileBaseName(path);
  ExtractFileDir(path);
  DisplayFileName(path);
  AbsolutePath(path);
  return 0;
}
