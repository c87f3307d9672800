// Writes an LHA archive holding one -lh5- member: the file INPUT compressed
// with the library's LZH5 method, its raw bit stream taken from behind the
// 21-byte stream header. bench/compare.sh times LHA tools extracting it.
//
//   zorp_lha_wrap INPUT ARCHIVE [NAME]      (NAME: the member's name, default INPUT's file name)
#include "component/Zorp.h"
#include "support/LhaArchive.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

// The single-stream header in front of the method data (see docs/formats.md).
constexpr std::size_t StreamHeaderSize = 21;

std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + Path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& Path, const std::string& Data) {
    std::ofstream out(Path, std::ios::binary | std::ios::trunc);
    out.write(Data.data(), static_cast<std::streamsize>(Data.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + Path);
}

// The raw LZH5 bit stream of Data. Fails when the library stored the data
// instead (it did not shrink), since that is no -lh5- data.
std::string RawLzh5(const std::string& Data) {
    zorp::TZorp zorp(nullptr);
    const std::string packed = zorp.CompressString(Data, zorp::coLZH5);
    if (packed.size() <= StreamHeaderSize || packed.compare(0, 5, "WELM\x1A") != 0 ||
        packed.compare(5, 3, "LH5") != 0)
        throw std::runtime_error("the data did not compress with LZH5 (stored as is)");
    return packed.substr(StreamHeaderSize);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: zorp_lha_wrap INPUT ARCHIVE [NAME]\n");
        return 2;
    }
    try {
        const std::string input = argv[1];
        const std::string name =
            argc == 4 ? argv[3] : std::filesystem::path(input).filename().string();
        const std::string data = ReadFile(input);
        WriteFile(argv[2], zorp::test::WrapLha("-lh5-", name, RawLzh5(data), data));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorp_lha_wrap: %s\n", e.what());
        return 1;
    }
}
