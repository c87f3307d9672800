#include "support/TestFiles.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace zorp::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorp-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    FPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Read-only entries must not stop the clean-up.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(FPath, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(FPath, ignored);
}

std::string ReadWholeFile(const std::string& FileName) {
    std::ifstream in(FileName, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + FileName);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

void WriteWholeFile(const std::string& FileName, const std::string& Data) {
    std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
    out.write(Data.data(), static_cast<std::streamsize>(Data.size()));
    if (!out)
        throw std::runtime_error("cannot write " + FileName);
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(ZORP_CORPUS_DIR, error))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string RandomBytes(size_t Size, uint32_t Seed) {
    std::mt19937 generator(Seed);
    std::string data(Size, '\0');
    for (char& c : data)
        c = static_cast<char>(generator() & 0xFF);
    return data;
}

std::string TextLines(size_t Size, int Seed) {
    std::string text;
    while (text.size() < Size)
        text += "line " + std::to_string((text.size() * 7 + static_cast<size_t>(Seed)) % 613) +
                " of a text that compresses\n";
    return text.substr(0, Size);
}

uint32_t ByteSum(const std::string& Data) {
    uint32_t sum = 0;
    for (const char c : Data)
        sum += static_cast<unsigned char>(c);
    return sum;
}

} // namespace zorp::test
