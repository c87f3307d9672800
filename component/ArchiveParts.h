// The pieces of archive writing and reading that the one-thread and the
// parallel operations share (defined in ArchiveWriting.cpp and
// ArchiveReading.cpp).
#pragma once

#include "component/ArchiveWalk.h"
#include "component/Headers.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/StringList.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp {

// Writes an archive header at Dest's position.
void WriteArchiveHeader(fw::TStream& Dest, const TZorpHeader& Header);
// Adds Size to an archive total, refusing totals of 2 GiB or more.
void AddToTotal(TZorpHeader& Header, int64_t Size);
// A read error while compressing the file Path, as an error naming it.
[[noreturn]] void ThrowReadError(const std::string& Path, const fw::EReadError& Error);
// The size of each file of List as it is now (0 for one that cannot be
// read), for the operation's progress.
std::vector<int64_t> FileSizes(const fw::TStrings& List);
// Path as it is stored: without Target (TargetPath) in front of it, and at
// most 9999 bytes of what follows.
std::string NameBelowTarget(const std::string& Path, const std::string& Target, bool IgnoreCase);
// The date and attributes of the entry for File (opened from Path), with its
// permission bits when they are kept.
TZorpFileHeader EntryTemplate(fw::TFileStream& File, const std::string& Path, bool KeepPermissions);

// Marks the lines of List that name the entry Name; false when none does.
bool MarkFound(const fw::TStrings& List, const std::string& Name, bool IgnoreCase,
               std::vector<bool>& Found);
// The lines of List not marked found.
std::vector<std::string> Unmarked(const fw::TStrings& List, const std::vector<bool>& Found);
// The sizes of the entries of Walk's archive (from its current entry on)
// that List selects (every entry without a List); a damaged archive ends
// them where the damage begins.
std::vector<int64_t> SelectedSizes(TArchiveWalk Walk, const fw::TStrings* List, bool IgnoreCase);

} // namespace zorp
