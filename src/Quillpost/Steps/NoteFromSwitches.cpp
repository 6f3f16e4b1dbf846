#include "Quillpost/Steps/NoteFromSwitches.hpp"

#include "Platform/Files/ByteReader.hpp"
#include "Quillpost/Steps/AttachmentsStep.hpp"
#include "Quillpost/Steps/BodyStep.hpp"
#include "Quillpost/Steps/NoteHeader.hpp"

namespace Quillpost {

JoplinRestUtils::TJoplinNewNote NoteFromSwitches(const TArguments& args,
                                                 const TSettings& settings) {
  const Kestrel::CommonLib::TParamList& params = args.Text;
  JoplinRestUtils::TJoplinNewNote note;
  // Files that hold the token are never sent, whatever the body links to.
  note.LocalFiles.Never = settings.Files;
  note.LocalFiles.NeverUnder = settings.Folders;
  ApplyMarkupLanguage(params, note);
  ApplyTitleAndNotebook(params, note);
  Platform::ByteReader stdinBytes = Platform::ByteReader::StandardInput();
  ApplyBody(args, note, stdinBytes);
  const std::string firstAttachment = ApplyAttachments(args, note);
  ApplyTags(params, note);
  ApplyDates(params, firstAttachment, note);
  return note;
}

}  // namespace Quillpost
