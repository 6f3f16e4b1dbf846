#pragma once
// What an import tells: the plan of a dry run line by line on standard
// error, the files that are gone, and the one summary line on standard
// output. Each returns the exit code where it ends the run.
#include "JoplinRestUtils/Import/ImportPlan.hpp"
#include "JoplinRestUtils/Import/ImportSending.hpp"

namespace Quillpost {

// `topMissing`: the notebook named after the folder would be made.
int ReportDryRun(const JoplinRestUtils::TImportPlan& plan, bool topMissing, bool prune);
// The notes of files that are gone, each with its id, when not pruned.
void TellGone(const JoplinRestUtils::TImportPlan& plan);
int ReportImportDone(const JoplinRestUtils::TImportCounts& counts,
                     const JoplinRestUtils::TImportPlan& plan, bool pruned);

}  // namespace Quillpost
