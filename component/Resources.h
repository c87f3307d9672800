// Compressed resources: the resource type of the component and the module
// that holds its code.
#pragma once

#include <string>

namespace zorp {

inline constexpr const char* ZorpResourceType = "TZORP";

// The file of the module that holds this component's code: the zorpcore
// (or zorpdb) library, or the executable when the component is linked into
// it. Resources asked for with an empty module name are looked up here.
std::string ComponentModuleFileName();

} // namespace zorp
