// Inputs and outputs of the tool's commands. "-" names standard input or
// standard output. Standard input is spooled into an unnamed temporary file
// first, since compression needs the size and may read the data twice.
// Output files are written beside the target without a name of their own
// (or under a unique temporary name where the file system cannot do that)
// and take the target's name in one atomic step only when the command
// succeeded, so a failure, a signal or a killed process never leaves a
// half-written file, and the old file stays as it was (see
// fw::TReplacementFile). Both read and write the file through a large
// buffer (see TBufferedStream).
#pragma once

#include "framework/base/BufferedStream.h"
#include "framework/base/FileStream.h"
#include "framework/base/ReplacementFile.h"
#include "framework/base/TemporaryFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace zorp::tool {

// Bytes read or written at a time on the tool's files.
inline constexpr int32_t FileBufferSize = 256 * 1024;

// The permission bits and the modification time of a file, which the
// single-file commands pass on from their input to their output.
struct FileStamp {
    mode_t Mode = 0;
    timespec Modified{};
};

// An input file opened for reading, or the spooled standard input.
class InputFile {
public:
    explicit InputFile(const std::string& Name);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    fw::TStream& Stream() { return *FBuffered; }
    // The stamp of the file opened; none for standard input and for files
    // that are not regular files.
    std::optional<FileStamp> Stamp() const;

private:
    std::unique_ptr<fw::TFileStream> FFile;
    std::unique_ptr<fw::TBufferedStream> FBuffered;
    bool FStandardInput;
};

class OutputFile {
public:
    explicit OutputFile(std::string Name);
    ~OutputFile(); // drops the output unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    fw::TStream& Stream() { return *FBuffered; }
    // Gives a named output these permission bits and this modification time
    // when it is committed (standard output is left as it is).
    void SetStamp(const FileStamp& Stamp) { FStamp = Stamp; }
    // Writes what is still buffered and moves the finished output into place
    // (or copies it to standard output).
    void Commit();

private:
    std::string FName;
    std::unique_ptr<fw::TReplacementFile> FReplacement; // a named output
    std::unique_ptr<fw::TFileStream> FSpool;            // standard output
    std::unique_ptr<fw::TBufferedStream> FBuffered;     // dropped unflushed on failure
    std::optional<FileStamp> FStamp;
};

} // namespace zorp::tool
