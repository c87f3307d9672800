// The names under which temporary files exist for a moment, kept where a
// signal handler can reach them: a program that ends on a signal calls
// RemoveTemporaryNames from its handler so that no temporary file is left
// behind. The library installs no handlers itself.
#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

/// Notes the temporary file Name in the open directory DirectoryHandle (which
/// must stay open until the name is forgotten), or the path Name with
/// AT_FDCWD. Returns the slot to pass to ForgetTemporaryName, or -1 when
/// every slot is taken (the name is then not covered).
ZORP_API int NoteTemporaryName(int DirectoryHandle, const std::string& Name);
/// Frees Slot, telling that its file is gone or has its final name, so that
/// RemoveTemporaryNames no longer removes it.
ZORP_API void ForgetTemporaryName(int Slot);

/// Removes every noted file. Safe to call from a signal handler.
ZORP_API void RemoveTemporaryNames() noexcept;

} // namespace zorp::fw
