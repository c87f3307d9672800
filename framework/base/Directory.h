// TDirectory: an open directory. Files are created, replaced and looked up
// relative to it, so a path is walked once, one component at a time, and a
// symbolic link planted in it later changes nothing.
#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

class ZORP_API TDirectory {
public:
    TDirectory() = default;
    ~TDirectory();
    TDirectory(TDirectory&& Other) noexcept;
    TDirectory& operator=(TDirectory&& Other) noexcept;
    TDirectory(const TDirectory&) = delete;
    TDirectory& operator=(const TDirectory&) = delete;

    // Opens Path as given, following symbolic links (the caller chose it);
    // an empty Path is the current directory. 0, or the system's error code.
    int Open(const std::string& Path);
    // Opens the directory Name in Parent without following a symbolic link,
    // creating it first when it is missing and Create is set. 0, or an
    // error code: ELOOP when Name is a symbolic link, ENOTDIR when it is
    // something else that is not a directory.
    int OpenBelow(const TDirectory& Parent, const std::string& Name, bool Create);

    bool IsOpen() const { return FHandle >= 0; }
    int Handle() const { return FHandle; }

private:
    void Close();

    int FHandle = -1;
};

} // namespace zorp::fw
