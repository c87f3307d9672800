// The extension in the programs people load it into: Debian's sqlite3 shell
// (.load) and Debian's Python (Connection.load_extension), each run as a
// black box on a script.
#include "common/Errors.h"
#include "component/Zorp.h"
#include "support/ExternalTool.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

// The system's own Python: one first on PATH may be built without
// enable_load_extension.
constexpr const char* Python = "/usr/bin/python3";

std::string Hex(const std::string& Bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : Bytes) {
        hex += digits[(static_cast<unsigned char>(c) >> 4) & 0xF];
        hex += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return hex;
}

std::string Compressed(const std::string& Plain, TZorpMethod Method, int32_t Key) {
    TZorp zorp(nullptr);
    zorp.SetKey(Key);
    return zorp.CompressString(Plain, Method);
}

// Runs Program on a script; sanitized builds preload the sanitizer runtime
// that the extension needs.
Outcome RunScript(const std::string& Program, const std::string& Script, const TempDir& Dir) {
    WriteWholeFile(Dir / "script", Script);
    return RunCommand(std::string(ZORP_PEER_ENVIRONMENT) + " " + Program + " < " +
                      Quote(Dir / "script"));
}

TEST(SqlPeers, SqliteShellLoadsTheExtension) {
    ZORP_REQUIRE_TOOL("sqlite3");
    TempDir dir;
    const std::string plain = TextLines(2000, 5) + std::string(2000, ' '); // runs for RLE
    const Outcome out = RunScript(
        "sqlite3 -batch " + Quote(dir / "t.db"),
        ".load " + std::string(ZORP_SQLITE_EXTENSION) +
            "\n"
            "CREATE TABLE notes (body BLOB);\n"
            "INSERT INTO notes VALUES (zorp_compress(x'" +
            Hex(plain) +
            "', 'rle', 0x5A5A1234));\n"
            "SELECT hex(body) FROM notes;\n"
            "SELECT zorp_expand_text(body, 0x5A5A1234) = CAST(x'" +
            Hex(plain) +
            "' AS TEXT) FROM notes;\n"
            "SELECT zorp_method(body), zorp_size(body), zorp_is_compressed(body) FROM notes;\n"
            "SELECT zorp_expand(body) FROM notes;\n"
            ".limit length 1000\n"
            "SELECT length(zorp_expand(body, 0x5A5A1234)) FROM notes;\n",
        dir);
    EXPECT_NE(out.Output.find(Hex(Compressed(plain, coRLE, 0x5A5A1234)) + "\n1\nrle|4000|1\n"),
              std::string::npos)
        << out.Output;
    EXPECT_NE(out.Output.find(EInvalidKey().what()), std::string::npos) << out.Output;
    EXPECT_NE(out.Output.find("string or blob too big"), std::string::npos) << out.Output;
}

TEST(SqlPeers, PythonLoadsTheExtension) {
    const bool usable = std::filesystem::exists(Python) &&
                        RunCommand(std::string(Python) +
                                   " -c 'import sqlite3; "
                                   "sqlite3.connect(\":memory:\").enable_load_extension(True)'")
                                .Status == 0;
    if (!usable) {
        if (std::getenv("CI") != nullptr)
            FAIL() << Python << " with sqlite3 extension loading is required on CI";
        GTEST_SKIP() << Python << " is missing or cannot load SQLite extensions";
    }
    TempDir dir;
    const std::string plain = TextLines(3000, 8);
    const Outcome out =
        RunScript(std::string(Python) + " - " + ZORP_SQLITE_EXTENSION + " " + Hex(plain),
                  R"py(
import sqlite3, sys
conn = sqlite3.connect(':memory:')
conn.enable_load_extension(True)
conn.load_extension(sys.argv[1])
plain = bytes.fromhex(sys.argv[2])
packed = conn.execute("SELECT zorp_compress(?, 'lzh')", (plain,)).fetchone()[0]
print(packed.hex().upper())
print(conn.execute('SELECT zorp_expand_text(?)', (packed,)).fetchone()[0] == plain.decode())
print(conn.execute('SELECT zorp_expand(?)', (packed,)).fetchone()[0] == plain)
try:
    conn.execute('SELECT zorp_expand(?)', (packed[:-9],)).fetchone()
except sqlite3.Error as e:
    print('error:', e)
conn.setlimit(sqlite3.SQLITE_LIMIT_LENGTH, 1000)
try:
    conn.execute('SELECT zorp_expand(?)', (packed,)).fetchone()
except sqlite3.Error as e:
    print('limit:', e)
)py",
                  dir);
    EXPECT_EQ(out.Status, 0) << out.Output;
    EXPECT_NE(out.Output.find(Hex(Compressed(plain, coLZH, 0)) + "\nTrue\nTrue\nerror: "),
              std::string::npos)
        << out.Output;
    EXPECT_NE(out.Output.find("limit: string or blob too big"), std::string::npos) << out.Output;
}

} // namespace
} // namespace zorp::test
