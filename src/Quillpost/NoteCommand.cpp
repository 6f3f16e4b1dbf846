#include "Quillpost/NoteCommand.hpp"

#include <string>

#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/TextHelpers.hpp"
#include "Platform/Console.hpp"
#include "Platform/Files.hpp"
#include "Quillpost/AttachmentsStep.hpp"
#include "Quillpost/BodyStep.hpp"
#include "Quillpost/FindSwitch.hpp"
#include "Quillpost/NoteHeader.hpp"
#include "Quillpost/SendNote.hpp"
#include "Quillpost/Settings.hpp"
#include "Quillpost/Usage.hpp"

namespace Quillpost {

using Kestrel::CommonLib::TParamList;

namespace {

// "/?" and "/h" show the usage text, "--help" the full help, "--version" the
// usage text's first two lines.
bool AnswerInformationRequest(const TParamList& params) {
  if (FindSwitch(params, "?") || FindSwitch(params, "h")) {
    PrintUsageText();
    return true;
  }
  if (Kestrel::CommonLib::ParamExists(params, "--help")) {
    PrintHelp();
    return true;
  }
  if (Kestrel::CommonLib::ParamExists(params, "--version")) {
    PrintVersion();
    return true;
  }
  return false;
}

void TellWhereTheTokenWasSought(const std::string& settingsPath) {
  for (const auto& path : SettingsPathsLookedAt(settingsPath)) {
    Kestrel::CommonLib::TellCause(
        "no token in " + Kestrel::CommonLib::Quoted(path) +
        (Platform::FileExists(path) ? " (section [Host], key Token)" : " (no such file)"));
  }
}

}  // namespace

int RunNoteCommand(const TArguments& args) {
  const TParamList& params = args.Text;
  JoplinRestUtils::TJoplinNewNote note;
  if (AnswerInformationRequest(params))
    return kExitOk;

  std::string url;
  std::string token;
  const std::string settingsPath = Kestrel::CommonLib::GetParamValue(args.Paths, "/IniFile", "");
  ReadIniSettings(settingsPath, url, token);
  if (Kestrel::CommonLib::IsEmptyText(token, false)) {
    Platform::WriteLine("Please enter the token in the ini file.");
    TellWhereTheTokenWasSought(settingsPath);
    return kExitNoToken;
  }

  ApplyMarkupLanguage(params, note);
  ApplyTitleAndNotebook(params, note);
  Platform::ByteReader stdinBytes = Platform::ByteReader::StandardInput();
  ApplyBody(args, note, stdinBytes);
  const std::string firstAttachment = ApplyAttachments(args, note);
  ApplyTags(params, note);
  ApplyDates(params, firstAttachment, note);
  return SendNote(url, token, std::move(note));
}

}  // namespace Quillpost
