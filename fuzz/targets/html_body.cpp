// An HTML body file: its title, its image references, and the relinking of
// the references to uploaded files.
#include "JoplinRestUtils/ImageFiles.hpp"
#include "JoplinRestUtils/ImageRelinking.hpp"
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
  // Relinking in one pass must give what one replace-all per reference gives;
  // each reference is taken as uploaded, under an id that varies in shape.
  Kestrel::CommonLib::TStringList uploaded;
  for (const auto& match : sensitive.FindAll(note.Body)) {
    if (auto path = JoplinRestUtils::ResolveLocalReference(match.Group1, note.BaseDir))
      uploaded.Add((uploaded.Count() % 5 == 4 ? "i\"d" : "R") + std::to_string(uploaded.Count()) +
                   "=" + *path);
  }
  // (The plain route costs a pass per reference: only small counts are compared.)
  const std::string relinked =
      JoplinRestUtils::RelinkImageReferences(note.Body, note.BaseDir, uploaded);
  if (uploaded.Count() <= 100 &&
      relinked != JoplinRestUtils::RelinkImageReferencesOneByOne(note.Body, note.BaseDir, uploaded))
    __builtin_trap();
  return 0;
}
