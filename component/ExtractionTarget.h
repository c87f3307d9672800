// Where archive entries are written: the directory that will hold each one
// and the file's own name there.
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

// The directories of one extraction. The last one opened is kept and used
// again while the entries that follow lie in it, as entries mostly come
// directory by directory; it was reached safely when it was opened.
class TExtractionPlaces {
public:
    // Opens the directory of Target and sets Name to the file's name there.
    // Raises fw::EFCreateError ("Cannot create file ...", naming Target and
    // the reason) when it cannot be reached as above, and when a component
    // is "..".
    const fw::TDirectory& Open(const std::string& Target, const std::string& TargetPath,
                               bool MakeDirectories, std::string& Name);

private:
    std::string FKey; // the base and the components of FDirectory
    fw::TDirectory FDirectory;
};

} // namespace zorp
