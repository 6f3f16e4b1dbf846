#include "Quillpost/NoteCommand.hpp"

#include <string>

#include "JoplinRestUtils/NewNote.hpp"
#include "Kestrel/CommonLib/TextHelpers.hpp"
#include "Platform/Console.hpp"
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

// "/?", "/h" and "--help" show the usage text, "--version" its first two lines.
bool AnswerInformationRequest(const TParamList& params) {
  if (FindSwitch(params, "?") || FindSwitch(params, "h") ||
      Kestrel::CommonLib::ParamExists(params, "--help")) {
    PrintUsageText();
    return true;
  }
  if (Kestrel::CommonLib::ParamExists(params, "--version")) {
    PrintVersion();
    return true;
  }
  return false;
}

}  // namespace

int RunNoteCommand(const TParamList& params) {
  JoplinRestUtils::TJoplinNewNote note;
  if (AnswerInformationRequest(params))
    return kExitOk;

  std::string url;
  std::string token;
  ReadIniSettings(Kestrel::CommonLib::GetParamValue(params, "/IniFile", ""), url, token);
  if (Kestrel::CommonLib::IsEmptyText(token, false)) {
    Platform::WriteLine("Please enter the token in the ini file.");
    return kExitNoToken;
  }

  ApplyMarkupLanguage(params, note);
  ApplyTitleAndNotebook(params, note);
  Platform::ByteReader stdinBytes = Platform::ByteReader::StandardInput();
  ApplyBody(params, note, stdinBytes);
  const std::string firstAttachment = ApplyAttachments(params, note);
  ApplyTags(params, note);
  ApplyDates(params, firstAttachment, note);
  return SendNote(url, token, std::move(note));
}

}  // namespace Quillpost
