// Which file a shared library this process runs with was loaded from.
#pragma once

#include <string>

namespace zorp::test {

// The path of the loaded library whose file name starts with Name + ".so"
// ("libzorpcore" finds libzorpcore.so.0), or "" when none is loaded.
std::string LoadedLibraryFile(const std::string& Name);

} // namespace zorp::test
