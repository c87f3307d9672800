// The files that "zorp add" takes from a path on its command line: a file
// as it is; the files of a directory (and of its subdirectories when
// recursing); or the files that a mask such as dir/*.txt matches (dir/*.txt/S
// or recursing: in subdirectories too). Masks follow the library's file-list
// rules (see component/FileMasks.h), and so does the walk: names beginning
// with "." are passed over, subdirectories come at the place where they are
// met, a symbolic link to a file counts as that file and one to a directory
// is not entered.
//
// Where the library's walk passes over problems in silence, this one reports
// each through Warn and goes on: a path that does not exist, a path or mask
// that yields no file, a subdirectory that cannot be read, a dangling
// symbolic link.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zorp::tool {

using WarnFunction = std::function<void(const std::string& Message)>;

std::vector<std::string> FilesToAdd(const std::string& Path, bool Recurse,
                                    const WarnFunction& Warn);

} // namespace zorp::tool
