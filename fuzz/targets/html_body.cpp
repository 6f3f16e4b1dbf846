// An HTML body file: its title, its image references (the scanner must find
// what PCRE2 finds for the same patterns), and the relinking of the
// references to uploaded files.
#include "JoplinRestUtils/Markup/HtmlScanning.hpp"
#include "JoplinRestUtils/Markup/ImageFiles.hpp"
#include "JoplinRestUtils/Markup/ImageRelinking.hpp"
#include "Platform/Console/Error.hpp"
#include "Quillpost/Steps/BodyStep.hpp"
#include "support.hpp"
#include "support/Pcre2Regex.hpp"

namespace {

void ExpectSameReferencesAsPcre2(std::string_view html, bool anyCase) {
  static const TestSupport::Regex exact(R"re(src\s*=\s*"([^"]+)")re", {false, true});
  static const TestSupport::Regex caseless(R"re(src\s*=\s*"([^"]+)")re", {true, true});
  const auto expected = (anyCase ? caseless : exact).FindAll(html);
  const auto found = JoplinRestUtils::FindImageReferences(html, anyCase);
  if (found.size() != expected.size())
    __builtin_trap();
  for (size_t i = 0; i < found.size(); ++i) {
    if (found[i].Start != expected[i].Start || found[i].Length != expected[i].Length ||
        found[i].Inner != expected[i].Group1)
      __builtin_trap();
  }
}

void ExpectSameTitleAsPcre2(std::string_view html) {
  static const TestSupport::Regex pattern("<title>([^<]*)</title>", {true, false});
  const auto expected = pattern.FindFirst(html);
  const auto found = JoplinRestUtils::FindHtmlTitle(html);
  if (found.has_value() != expected.has_value() ||
      (found && (found->Start != expected->Start || found->Inner != expected->Group1)))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = Fuzz::AsText(data, size);
  ExpectSameReferencesAsPcre2(text, true);
  ExpectSameReferencesAsPcre2(text, false);
  ExpectSameTitleAsPcre2(text);
  const std::string& path = Fuzz::WriteScratch(text, ".html");
  static const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  Platform::ByteReader none(devNull);
  JoplinRestUtils::TJoplinNewNote note;
  try {
    Quillpost::ApplyBody(Kestrel::CommonLib::TParamList{"/S", path}, note, none);
  } catch (const Platform::Error&) {
    // An unloadable file or a reference no path can hold is an error by design.
  }
  // Relinking in one pass must give what one replace-all per reference gives;
  // each reference is taken as uploaded, under an id that varies in shape.
  Kestrel::CommonLib::TStringList uploaded;
  for (const auto& reference : JoplinRestUtils::FindImageReferences(note.Body, false)) {
    if (auto file =
            JoplinRestUtils::ResolveLocalReference(std::string(reference.Inner), note.BaseDir))
      uploaded.Add((uploaded.Count() % 5 == 4 ? "i\"d" : "R") + std::to_string(uploaded.Count()) +
                   "=" + *file);
  }
  // (The plain route costs a pass per reference: only small counts are compared.)
  const std::string relinked =
      JoplinRestUtils::RelinkImageReferences(note.Body, note.BaseDir, uploaded);
  if (uploaded.Count() <= 100 &&
      relinked != JoplinRestUtils::RelinkImageReferencesOneByOne(note.Body, note.BaseDir, uploaded))
    __builtin_trap();
  return 0;
}
