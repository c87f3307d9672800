// Test support: a temporary directory removed with everything in it, the
// sample corpus, and small data generators.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zorp::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // Path of a name inside the directory, as a string.
    std::string operator/(const std::string& Name) const { return (FPath / Name).string(); }

private:
    std::filesystem::path FPath;
};

std::string ReadWholeFile(const std::string& FileName);
void WriteWholeFile(const std::string& FileName, const std::string& Data);

// The sample files, sorted by name; empty when the corpus is missing.
std::vector<std::string> CorpusFiles();

// Reproducible pseudo-random bytes.
std::string RandomBytes(size_t Size, uint32_t Seed);
// Reproducible text that compresses well: numbered lines, Seed shifting the
// numbers.
std::string TextLines(size_t Size, int Seed);

// The 32-bit wrapping byte sum of Data.
uint32_t ByteSum(const std::string& Data);

} // namespace zorp::test
