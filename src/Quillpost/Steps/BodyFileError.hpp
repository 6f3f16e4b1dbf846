#pragma once
// A body file named with "/S" that cannot be used ends the run: the note must
// never silently take another body.
#include <string>

#include "Platform/Console/Error.hpp"

namespace Quillpost {

class EBodyFileError : public Platform::Error {
 public:
  using Error::Error;
  const char* KindName() const noexcept override { return "EBodyFileError"; }
};

}  // namespace Quillpost
