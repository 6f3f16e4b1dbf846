#pragma once
// Whether "/" + name or "-" + name is present as a whole parameter.
#include <string_view>

#include "Kestrel/CommonLib/SwitchScanner.hpp"

namespace Quillpost {

bool FindSwitch(const Kestrel::CommonLib::TParamList& params, std::string_view name);

}  // namespace Quillpost
