#include "Quillpost/NoteCommand.hpp"

#include <string>

#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/Diagnostics.hpp"
#include "Kestrel/CommonLib/TextHelpers.hpp"
#include "Platform/Console.hpp"
#include "Quillpost/AttachmentsStep.hpp"
#include "Quillpost/BodyStep.hpp"
#include "Quillpost/CheckCommand.hpp"
#include "Quillpost/FindSwitch.hpp"
#include "Quillpost/ListCommand.hpp"
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

void TellWhereTheTokenWasSought(const TSettings& settings) {
  for (const auto& place : settings.LookedAt)
    Kestrel::CommonLib::TellCause("looked at " + place);
  Kestrel::CommonLib::TellCause(
      "the Joplin desktop application shows its token under Tools > Options > Web Clipper "
      "(on macOS: Joplin > Preferences > Web Clipper)");
}

}  // namespace

int RunNoteCommand(const TArguments& args) {
  const TParamList& params = args.Text;
  JoplinRestUtils::TJoplinNewNote note;
  if (AnswerInformationRequest(params))
    return kExitOk;

  TSettings settings = FindSettings(Kestrel::CommonLib::GetParamValue(args.Paths, "/IniFile", ""),
                                    Kestrel::CommonLib::GetParamValue(args.Paths, "/Profile", ""));
  if (Kestrel::CommonLib::ParamExists(params, "--check")) {
    SettleServerUrl(settings);
    return RunCheck(settings);
  }
  if (settings.Token.Value.empty()) {
    Platform::WriteLine("Please enter the token in the ini file.");
    TellWhereTheTokenWasSought(settings);
    return kExitNoToken;
  }
  SettleServerUrl(settings);
  if (Kestrel::CommonLib::ParamExists(params, "--list-notebooks"))
    return RunList(TListKind::Notebooks, settings.Url.Value, settings.Token.Value);
  if (Kestrel::CommonLib::ParamExists(params, "--list-tags"))
    return RunList(TListKind::Tags, settings.Url.Value, settings.Token.Value);

  ApplyMarkupLanguage(params, note);
  ApplyTitleAndNotebook(params, note);
  Platform::ByteReader stdinBytes = Platform::ByteReader::StandardInput();
  ApplyBody(args, note, stdinBytes);
  const std::string firstAttachment = ApplyAttachments(args, note);
  ApplyTags(params, note);
  ApplyDates(params, firstAttachment, note);
  return SendNote(settings.Url.Value, settings.Token.Value, std::move(note));
}

}  // namespace Quillpost
