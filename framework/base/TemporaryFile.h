// Unnamed temporary files: scratch space for data that must be read twice or
// whose size is known only at their end, such as the bytes of a pipe.
#pragma once

#include "Export.h"
#include "FileStream.h"

#include <memory>
#include <string>

namespace zorp::fw {

/// A file in the temporary directory ($TMPDIR or /tmp) that has no name and
/// vanishes when closed, open for reading and writing. Where the file system
/// cannot make unnamed files, a named one is made and removed at once. What
/// names it in errors; raises EFCreateError when no file can be made.
ZORP_API std::unique_ptr<TFileStream> UnnamedTemporaryFile(const std::string& What);

} // namespace zorp::fw
