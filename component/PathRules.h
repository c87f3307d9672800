// Path helpers of the archive operations.
#pragma once

#include "framework/base/StringList.h"

#include <string>

namespace zorp {

// The path without a leading drive designator ("X:"), when it is longer
// than two characters; otherwise the path unchanged.
std::string StripDrive(const std::string& Path);
// Entry names are equal when they differ only in the choice of "/" or "\"
// as separators, and, with IgnoreCase, in ASCII case (for archives made on
// file systems that do not tell case apart).
bool SameEntryName(const std::string& A, const std::string& B, bool IgnoreCase);
// True when some line of List is the same entry name as Name.
bool NameInList(const fw::TStrings& List, const std::string& Name, bool IgnoreCase);
// A stored entry name as a host path: "\" read as "/".
std::string HostPath(const std::string& EntryName);
// True when a stored name has a ".." component, which would lead out of
// the target directory.
bool LeavesTarget(const std::string& EntryName);
// True when Path exists and is a directory.
bool IsDirectory(const std::string& Path);
// Creates the directory Path and every missing parent; raises the
// framework's EInOutError when one cannot be created.
void MakeDirectoryPath(const std::string& Path);

} // namespace zorp
