#pragma once
// What an import asks the server before it plans: which notebooks exist,
// which notes of the journal the user deleted since the last run (from the
// server's change events, so that an unchanged tree costs no request per
// file), and, without a journal, which notes of an earlier import are there.
#include <string>
#include <vector>

#include "JoplinRestUtils/Import/ImportPlan.hpp"
#include "JoplinRestUtils/JoplinRest.hpp"

namespace JoplinRestUtils {

// False when a request got no answer (LastFailure says why); throws
// ERequestRefused for an error answer. `notices` get what the user should
// know: earlier notes found without a journal, events that cannot be read.
bool ReadServerState(TJoplinRest& client, const TImportNames& names, const TImportJournal& journal,
                     TServerState& state, std::vector<std::string>& notices);

}  // namespace JoplinRestUtils
