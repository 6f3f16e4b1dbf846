#include "Quillpost/Usage.hpp"

#include <string>

#include "Kestrel/CommonLib/Version.hpp"
#include "Platform/Console/Console.hpp"
#include "Platform/Console/SystemHelp.hpp"
#include "Platform/Text/TextDecoding.hpp"

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

void PrintHelp() {
  // The places and the code page are this system's own.
  const std::string lines[] = {
      "",
      "Creates one note in a running Joplin application through its Data API.",
      "",
      "Usage: quillpost [switches]",
      "",
      "Switches (written with \"/\" or \"-\", letter case ignored; an unknown switch or a",
      "word that belongs to no switch is an error):",
      "  /N [Notebook]       notebook: a title, a notebook id, or a path \"Parent/Child\";",
      "                      a notebook that does not exist is an error",
      "  /NC                 create the missing notebooks of the /N path first",
      "  /I [Title]          note title (\"NoName\" without it)",
      "  /S [Body file path] body file (.md, .txt; .html and .htm make an HTML note);",
      "                      without it, or with \"-\", the body is read from standard",
      "                      input; a pipe such as <(command) or /dev/stdin is read to its",
      "                      end, and a named FIFO waits for its writer as cat does",
      "  /SN                 no body: standard input is not read",
      "  /A [Attachment]     one file to attach (repeatable)",
      "  /AA [Attachment] [Attachment] ...",
      "                      several files to attach",
      "  /T [Tag]            one tag (repeatable)",
      "  /TT [Tag] [Tag] ... several tags",
      "  /C [Created]        creation date-time (may hold %FileMTime% and other placeholders)",
      "  /E [Updated]        update date-time (the same placeholders)",
      "  /Append             add the body, attachments and tags to the note titled /I in",
      "                      /N (or /Id's), one blank line apart; created when missing",
      "  /Prepend            the same, at the note's top",
      "  /Id [Note id]       the note to add to (32 hexadecimal digits)",
      "  /Todo               a to-do",
      "  /Due [Date]         its due date, an alarm in Joplin (as /C; implies /Todo)",
      "  /Completed          a to-do that is done",
      "  /Source [URL]       the note's source URL",
      "  /Author [Name]      the note's author",
      "  --json              the result as one JSON object: id, title, parent_id,",
      "                      resources, action, link; or error and message",
      "  /MD                 Markdown note (the default)",
      "  /HTML               HTML note",
      "  /DefEnc             read the body file as " + Platform::AnsiCodePageName() +
          " instead of UTF-8",
      "  /LT                 the first line of the body becomes the title",
      "  /NoLocal            send a body file as written: do not upload the local files",
      "                      its images and links point to",
      "  /NoFrontMatter      send a Markdown body's leading \"---\" YAML block as text:",
      "                      without it, the block's title, tags, created, updated,",
      "                      due, completed?, source, author and place fill the note",
      "                      where no switch does",
      "  /AllowOutside       a trusted body: upload linked files outside its own folder",
      "                      too (never a settings file of Quillpost's)",
      "  /AllowMany          a trusted body: upload more than 1,000 linked files or 1 GiB",
      "  /Utf8               " + Platform::Utf8SwitchHelp(),
      "  /IniFile=PATH       settings file to read",
      "  /Profile=DIR        Joplin profile folder whose settings.json to read",
      "  --check             show where the settings come from and test them",
      "  --list-notebooks    print every notebook as its path (Parent/Child), one a line",
      "  --list-tags         print every tag, one a line",
      "  --import DIR        bring a folder of Markdown and HTML files into Joplin: each",
      "                      subfolder a notebook under /N (without /N, a new notebook",
      "                      named after DIR), each file a note; links between the files",
      "                      and [[wiki links]] become note links, and a file that notes",
      "                      link to is uploaded once; run again, only what changed is",
      "                      sent; /T, /TT, /NC, /NoFrontMatter and /AllowOutside apply",
      "  --dry-run           with --import: tell what would be done, change nothing",
      "  --prune             with --import: move the notes of deleted files to the trash",
      "  --restore           with --import: make again the notes deleted in Joplin",
      "  /?, /h              short usage text",
      "  --help, --version   this help, the version",
      "",
      "Exit codes:",
      "  0  note created (\"Done (Note id: ...)\"), every file imported, or help shown",
      "  1  no token found (settings file, environment or Joplin profile)",
      "  3  no note created (\"Create Note failed.\" or an error line \"Kind: message\"),",
      "     or a file of an import that did not make it",
      "",
      "Standard output carries only the result line or the error line; warnings and",
      "the cause of a failure go to standard error. The token is never printed.",
      "",
      "The URL and the token are each taken from the first of these that has one:",
      "  1. the settings file /IniFile= names ([Host] URL= and Token=);",
      "  2. the environment variables QUILLPOST_URL and QUILLPOST_TOKEN;",
      "  3. quillpost.ini beside the executable, else",
      "     " + Platform::UserSettingsFileName() + ";",
      "  4. the Joplin profile's settings.json (api.token, api.port): /Profile= names it,",
      "     else " + Platform::JoplinProfileFolderNames() + ".",
      "Without a URL, the first Joplin Data API answering on 127.0.0.1 ports 41184 to",
      "41194 is used, else http://localhost:41184.",
      "",
  };
  PrintVersion();
  for (const std::string& line : lines)
    Platform::WriteLine(line);
  Platform::WriteLine(kHomePage);
}

}  // namespace Quillpost
