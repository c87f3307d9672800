// Where an archive entry is written: the directory that will hold it and the
// file's own name there.
//
// The directory is reached from a base directory one component at a time,
// never through a symbolic link: the base is TargetPath when the target lies
// under it, otherwise the root for an absolute target or the current
// directory for a relative one. The base itself is opened as given (it may
// be reached through links; with MakeDirectories it is created when
// missing). Below it, a component that is a link, or that is not a
// directory, makes the target one that cannot be created; with
// MakeDirectories a missing component is created.
#pragma once

#include "framework/base/Directory.h"

#include <string>

namespace zorp {

struct TExtractionTarget {
    fw::TDirectory Directory;
    std::string Name;
};

// Opens the directory of Target. Raises fw::EFCreateError ("Cannot create
// file ...", naming Target and the reason) when it cannot be reached as
// above, when a component is "..", and when Target names a directory.
TExtractionTarget OpenExtractionTarget(const std::string& Target, const std::string& TargetPath,
                                       bool MakeDirectories);

} // namespace zorp
