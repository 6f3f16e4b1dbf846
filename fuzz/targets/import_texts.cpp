// What an import reads that no server sent: the wiki links of a note (each
// found inside the text, none overlapping) and a journal file (read whole or
// refused, never half-applied past a bad record).
#include <cstdlib>

#include "JoplinRestUtils/Import/ImportJournal.hpp"
#include "JoplinRestUtils/Markup/WikiLinks.hpp"
#include "support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = Fuzz::AsText(data, size);
  size_t end = 0;
  for (const JoplinRestUtils::TWikiLink& link : JoplinRestUtils::FindWikiLinks(text)) {
    if (link.Start < end || link.Start + link.Length > text.size() || link.Target.empty())
      std::abort();
    end = link.Start + link.Length;
  }
  try {
    const JoplinRestUtils::TImportJournal journal =
        JoplinRestUtils::ParseJournal(text, "fuzz.journal");
    // What is read is written back the same way.
    const std::string again = JoplinRestUtils::JournalText(journal);
    if (JoplinRestUtils::JournalText(JoplinRestUtils::ParseJournal(again, "again")) != again)
      std::abort();
  } catch (const JoplinRestUtils::EImportJournalError&) {
  }
  return 0;
}
