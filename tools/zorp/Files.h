// Inputs and outputs of the tool's commands. "-" names standard input or
// standard output. Standard input is spooled into an unnamed temporary file
// first, since compression needs the size and may read the data twice.
// Output files are written under a temporary name beside the target and
// renamed over it only when the command succeeded, so a failure never
// leaves a half-written file behind. Both read and write the file through a
// large buffer (see TBufferedStream).
#pragma once

#include "framework/base/BufferedStream.h"
#include "framework/base/FileStream.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorp::tool {

// Bytes read or written at a time on the tool's files.
inline constexpr int32_t FileBufferSize = 256 * 1024;

// An input file opened for reading, or the spooled standard input.
class InputFile {
public:
    explicit InputFile(const std::string& Name);
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    fw::TStream& Stream() { return *FBuffered; }

private:
    std::unique_ptr<fw::TFileStream> FFile;
    std::unique_ptr<fw::TBufferedStream> FBuffered;
};

class OutputFile {
public:
    explicit OutputFile(std::string Name);
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    fw::TStream& Stream() { return *FBuffered; }
    // Writes what is still buffered and moves the finished output into place
    // (or copies it to standard output).
    void Commit();

private:
    std::string FName;
    std::string FTempName;
    std::unique_ptr<fw::TFileStream> FStream;
    std::unique_ptr<fw::TBufferedStream> FBuffered; // over FStream; dropped unflushed on failure
    bool FCommitted = false;
};

} // namespace zorp::tool
