// Uses TZorp the way a C++20 program would: string views and byte spans,
// std::filesystem paths, listings by value, standard streams (a pipe among
// them), range-for over string lists, a moved component and the cheap check
// of what a file is. Prints what it checked; exits 1 if anything failed.
#include <zorp/component/Zorp.h>
#include <zorp/framework/base/ReadOnlyMemoryStream.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok)
        ++failures;
}

// The reading end of a pipe: data in small pieces, no seeking.
class PipeBuffer : public std::streambuf {
public:
    explicit PipeBuffer(std::string Data) : FData(std::move(Data)) {}

protected:
    int_type underflow() override {
        if (FNext == FData.size())
            return traits_type::eof();
        const size_t n = std::min<size_t>(512, FData.size() - FNext);
        setg(FData.data() + FNext, FData.data() + FNext, FData.data() + FNext + n);
        FNext += n;
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string FData;
    size_t FNext = 0;
};

std::string Sample() {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "Entry " + std::to_string(i) + ": modern forms over the same bytes.\n";
    return text;
}

// Every form of a name reaches the same operations.
void NameForms(zorp::TZorp& Zorp, const fs::path& Dir) {
    const std::string asString = (Dir / "names.zrp").string();
    const std::string_view asView = asString;
    std::ofstream(Dir / "n.txt") << Sample();
    Zorp.SetTargetPath(Dir);
    Check(Zorp.CompressFile(asView, Dir / "n.txt", zorp::coLZH) == "n.txt",
          "CompressFile with a string_view archive and a path");
    Check(Zorp.CompressFile(asString, (Dir / "n.txt").string(), zorp::coLZH) == "n.txt",
          "CompressFile with std::string names");
    Check(Zorp.ScanCompressedFile(fs::path(asString)).size() == 1,
          "a name entered twice is one entry");
    Check(Zorp.CheckDiskSpace("/") > 0 && Zorp.CheckDiskSpace(Dir) > 0,
          "CheckDiskSpace with a literal and a path");
}

} // namespace

int main() {
    const std::string text = Sample();
    const fs::path dir = fs::temp_directory_path() / ("zorp_modern_" + std::to_string(getpid()));
    fs::create_directories(dir);
    try {
        zorp::TZorp zorp(nullptr);

        // Strings read where they are, and bytes.
        const std::string_view middle = std::string_view(text).substr(100, 4000);
        const std::string packed = zorp.CompressString(middle, zorp::coLZH5);
        Check(packed.size() < middle.size() && zorp.ExpandString(packed) == middle,
              "string_view round trip");
        Check(zorp.ExpandString("not compressed") == "not compressed",
              "a literal expands as it is");
        std::vector<std::byte> bytes(1000, std::byte{7});
        const std::vector<std::byte> packedBytes =
            zorp.CompressString(std::span(bytes), zorp::coRLE);
        Check(packedBytes.size() < bytes.size() &&
                  zorp.ExpandString(std::span(packedBytes)) == bytes,
              "byte span round trip");

        // Archives by path, listed by value, read from memory.
        for (const char* name : {"a.txt", "b.txt"})
            std::ofstream(dir / name) << name << '\n' << text;
        zorp.SetTargetPath(dir);
        const fs::path archive = dir / "modern.zrp";
        const std::string stored = zorp.CompressFile(archive, dir / "a.txt", zorp::coLZH5);
        zorp.CompressFile(archive, dir / "b.txt", zorp::coLZH);
        Check(stored == "a.txt", "CompressFile returns the stored name");
        std::vector<std::string> names;
        for (const zorp::TZorpFileInfo& entry : zorp.ScanCompressedFile(archive))
            names.push_back(entry.Name);
        Check(names == std::vector<std::string>{"b.txt", "a.txt"}, "listing by value");

        std::ifstream archiveFile(archive, std::ios::binary);
        const std::string archiveBytes{std::istreambuf_iterator<char>(archiveFile), {}};
        zorp::fw::TReadOnlyMemoryStream inMemory{std::string_view(archiveBytes)};
        Check(zorp.ScanCompressedStream(inMemory).size() == 2, "archive read from memory");

        const fs::path out = dir / "out";
        fs::create_directories(out);
        zorp.SetTargetPath(out);
        const fs::path written = zorp.ExpandFile("a.txt", archive);
        Check(written == out / "a.txt" && fs::file_size(written) == text.size() + 6,
              "ExpandFile returns the path written");
        zorp::fw::TStringList wanted{"a.txt", "b.txt"};
        zorp.ExpandFiles(archive, &wanted);
        size_t files = 0;
        for (const std::string& path : wanted)
            files += fs::exists(path) ? 1 : 0;
        Check(files == 2, "range-for over the paths written");

        // Standard streams: a pipe in, a string stream out, and back.
        PipeBuffer pipe(text);
        std::istream piped(&pipe);
        std::ostringstream compressed;
        zorp.Compress(compressed, piped, zorp::coLZH5);
        std::istringstream compressedIn(compressed.str());
        std::stringstream expanded;
        zorp.Expand(expanded, compressedIn);
        Check(compressed.str().size() < text.size() && expanded.str() == text,
              "standard streams with a pipe as the source");

        // The cheap check, and a moved component.
        const std::string compressedBytes = compressed.str();
        zorp::fw::TReadOnlyMemoryStream compressedStream{std::string_view(compressedBytes)};
        const auto single = zorp::IdentifyStream(compressedStream);
        const auto multi = zorp::IdentifyFile(archive);
        Check(single && single->ArchiveType == zorp::caSingle && single->Method == zorp::coLZH5 &&
                  single->ExpandedSize == static_cast<int32_t>(text.size()),
              "identify a compressed stream");
        Check(multi && multi->ArchiveType == zorp::caMulti && multi->EntryCount == 2 &&
                  multi->Intact,
              "identify an archive");
        inMemory.SetPosition(0);
        Check(zorp::IdentifyStream(inMemory) && inMemory.Position() == 0,
              "identify leaves the position");

        zorp.SetKey(0x2468);
        std::vector<zorp::TZorp> pool;
        pool.push_back(std::move(zorp));
        const std::string locked = pool.back().CompressString(text, zorp::coLZH);
        Check(pool.back().Key() == 0x2468 && zorp.Key() == 0 &&
                  pool.back().ExpandString(locked) == text,
              "a moved TZorp keeps the key; the moved-from one is fresh");
        NameForms(zorp, dir);
    } catch (const std::exception& e) {
        std::printf("FAILED: %s\n", e.what());
        fs::remove_all(dir);
        return 1;
    }
    fs::remove_all(dir);
    std::printf("%s\n", failures == 0 ? "zorp_modern_consumer: all checks passed"
                                      : "zorp_modern_consumer: failed");
    return failures == 0 ? 0 : 1;
}
