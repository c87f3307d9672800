// Inputs and outputs of the tool's commands. "-" names standard input or
// standard output. Standard input is spooled into an unnamed temporary file
// first, since compression needs the size and may read the data twice.
// Output files are written under a temporary name beside the target and
// renamed over it only when the command succeeded, so a failure never
// leaves a half-written file behind.
#pragma once

#include "framework/base/FileStream.h"

#include <memory>
#include <string>

namespace zorp::tool {

// An input file opened for reading, or the spooled standard input.
std::unique_ptr<fw::TFileStream> OpenInput(const std::string& Name);

class OutputFile {
public:
    explicit OutputFile(std::string Name);
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    fw::TStream& Stream() { return *FStream; }
    // Moves the finished output into place (or copies it to standard output).
    void Commit();

private:
    std::string FName;
    std::string FTempName;
    std::unique_ptr<fw::TFileStream> FStream;
    bool FCommitted = false;
};

} // namespace zorp::tool
