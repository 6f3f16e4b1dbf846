// An HTML body file: its title, its image references, and the relinking of
// the references to uploaded files.
#include "JoplinRestUtils/ImageFiles.hpp"
#include "Platform/Error.hpp"
#include "Platform/Regex.hpp"
#include "Quillpost/BodyStep.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = Fuzz::WriteScratch(Fuzz::AsText(data, size), ".html");
  static const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  Platform::ByteReader none(devNull);
  JoplinRestUtils::TJoplinNewNote note;
  try {
    Quillpost::ApplyBody(Kestrel::CommonLib::TParamList{"/S", path}, note, none);
  } catch (const Platform::Error&) {
    // An unloadable file or a reference no path can hold is an error by design.
  }
  static const Platform::Regex sensitive(JoplinRestUtils::kImageReferencePattern, {false, true});
  sensitive.FindAll(Fuzz::AsText(data, size));
  return 0;
}
