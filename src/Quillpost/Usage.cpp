#include "Quillpost/Usage.hpp"

#include "Kestrel/CommonLib/Version.hpp"
#include "Platform/Console.hpp"

namespace Quillpost {

void PrintUsage() {
  static constexpr const char* kLines[] = {
      "",
      "/N [Notebook]",
      "/I [Title]",
      "/S [Body file path]",
      "/SN (Empty body text)",
      "/A [Attachment]",
      "/AA [Attachment] [Attachment] ...",
      "/T [Tag]",
      "/TT [Tag] [Tag] ...",
      "/C [Created]",
      "/E [Updated]",
      "",
  };
  for (const char* line : kLines)
    Platform::WriteLine(line);
}

void PrintVersion() {
  Platform::WriteLine("Quillpost");
  Platform::WriteLine("Ver." + Kestrel::CommonLib::GetVersionString());
}

void PrintUsageText() {
  PrintVersion();
  PrintUsage();
  Platform::WriteLine(kHomePage);
}

}  // namespace Quillpost
