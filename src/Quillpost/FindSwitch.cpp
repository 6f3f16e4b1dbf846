#include "Quillpost/FindSwitch.hpp"

#include <string>

namespace Quillpost {

bool FindSwitch(const Kestrel::CommonLib::TParamList& params, std::string_view name) {
  return Kestrel::CommonLib::ParamExists(params, "/" + std::string(name)) ||
         Kestrel::CommonLib::ParamExists(params, "-" + std::string(name));
}

}  // namespace Quillpost
