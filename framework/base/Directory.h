#pragma once

#include "Export.h"

#include <string>

namespace zorp::fw {

/// An open directory. Files are created, replaced and looked up relative to
/// it, so a path is walked once, one component at a time, and a symbolic
/// link planted in it later changes nothing.
class ZORP_API TDirectory {
public:
    /// Starts with no directory open.
    TDirectory() = default;
    /// Closes the directory, if one is open.
    ~TDirectory();
    /// Takes Other's open directory, leaving Other with none; assignment
    /// closes the directory this one had first.
    /// @{
    TDirectory(TDirectory&& Other) noexcept;
    TDirectory& operator=(TDirectory&& Other) noexcept;
    /// @}
    /// A directory is not copied.
    /// @{
    TDirectory(const TDirectory&) = delete;
    TDirectory& operator=(const TDirectory&) = delete;
    /// @}

    /// Opens Path as given, following symbolic links (the caller chose it);
    /// an empty Path is the current directory. 0, or the system's error code.
    /// A directory this one had open is closed first.
    int Open(const std::string& Path);
    /// Opens the directory Name in Parent without following a symbolic link,
    /// creating it first when it is missing and Create is set. 0, or an
    /// error code: ELOOP when Name is a symbolic link, ENOTDIR when it is
    /// something else that is not a directory.
    int OpenBelow(const TDirectory& Parent, const std::string& Name, bool Create);

    /// Whether a directory is open.
    bool IsOpen() const { return FHandle >= 0; }
    /// The open directory's file descriptor, or -1.
    int Handle() const { return FHandle; }

private:
    void Close();

    int FHandle = -1;
};

} // namespace zorp::fw
