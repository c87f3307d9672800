// Modules: the executable and the shared libraries of the process. A
// module handle is what dlopen returns; the main program's handle is
// dlopen(nullptr). Resources are read from a module's file, so what
// matters about a module here is where its file is.
#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

/// A module handle: what dlopen returns.
using HMODULE = void*;

/// A library loaded with dlopen for as long as the object lives.
class ZORP_API TLoadedLibrary {
public:
    /// Loads Name as dlopen finds it: a path when it holds a "/", otherwise
    /// a file name searched on the library path. Handle() is null when the
    /// library could not be loaded; Error() tells why.
    explicit TLoadedLibrary(const std::string& Name);
    /// Unloads the library (dlclose), if it was loaded.
    ~TLoadedLibrary();
    /// A loaded library is not copied.
    /// @{
    TLoadedLibrary(const TLoadedLibrary&) = delete;
    TLoadedLibrary& operator=(const TLoadedLibrary&) = delete;
    /// @}

    /// The library's handle, or null when it could not be loaded.
    HMODULE Handle() const { return FHandle; }
    /// Why the library could not be loaded, as dlopen told; empty when it was.
    const std::string& Error() const { return FError; }

private:
    HMODULE FHandle = nullptr;
    std::string FError;
};

/// The file of the running program's executable, "/proc/self/exe", which
/// names it whatever name it was started by.
ZORP_API std::string MainProgramFileName();

/// The file of a loaded module; "/proc/self/exe" for the main program.
/// Raises EModuleError for a handle that names no module file.
ZORP_API std::string GetModuleFileName(HMODULE Module);

/// The file of the module whose code or data holds Address; "/proc/self/exe"
/// for the main program. Raises EModuleError when no module holds it.
ZORP_API std::string ModuleFileNameOfAddress(const void* Address);

} // namespace zorp::fw
