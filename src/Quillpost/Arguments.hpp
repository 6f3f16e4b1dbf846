#pragma once
// The command line twice over: as text decoded from the locale's character set
// (titles, notebook, tags, dates, names shown to people) and as the bytes the
// shell passed (paths to open), so that a file named in a legacy charset opens.
// Both lists hold the same parameters at the same places.
#include <utility>

#include "Kestrel/CommonLib/SwitchScanner.hpp"

namespace Quillpost {

struct TArguments {
  TArguments(Kestrel::CommonLib::TParamList text, Kestrel::CommonLib::TParamList paths)
      : Text(std::move(text)), Paths(std::move(paths)) {}
  // Parameters that are the same as text and as bytes.
  TArguments(const Kestrel::CommonLib::TParamList& both)  // NOLINT: implicit on purpose
      : Text(both), Paths(both) {}

  Kestrel::CommonLib::TParamList Text;
  Kestrel::CommonLib::TParamList Paths;
};

}  // namespace Quillpost
