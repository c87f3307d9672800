// The zorp db commands on real SQLite files: packing in place, the
// all-or-nothing rule, storage classes kept through pack and unpack, the
// file shrinking, single values through a compressed field, pictures as
// plain BMP files, errors and the memory a large expanded value costs.
#include "dbcontrols/CompressedFields.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zorp::test {
namespace {

struct Child {
    int Status;
    std::string Output;
    long PeakKiB; // the most memory the child held resident
};

// Runs the tool with Args as a child process, standard output and error
// into one file, writing files of at most FileLimit bytes. A child starts
// as a copy of this process, so its peak is at least this process's size.
Child RunTool(const std::vector<std::string>& Args, const std::string& OutputFile,
              rlim_t FileLimit = RLIM_INFINITY) {
    std::vector<char*> argv{const_cast<char*>(ZORP_TOOL)};
    for (const std::string& a : Args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const rlimit limit{FileLimit, FileLimit};
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(OutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        setrlimit(RLIMIT_FSIZE, &limit);
        execv(ZORP_TOOL, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(OutputFile),
            usage.ru_maxrss};
}

class DbCommands : public testing::Test {
protected:
    void SetUp() override { MakeTable(); }
    void MakeTable() {
        std::filesystem::remove(Dir / "t.db");
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        db.ExecSQL("CREATE TABLE docs (id INTEGER, body BLOB)");
        fw::TStatement insert(db, "INSERT INTO docs VALUES (?, ?)");
        for (int i = 0; i < 5; ++i) {
            insert.Reset();
            insert.Bind(1, int64_t{i + 1});
            insert.Bind(2, Value(i));
            insert.Execute();
        }
    }
    static std::string Value(int i) {
        return ReadWholeFile(CorpusFiles().at(static_cast<size_t>(i))).substr(0, 20000);
    }
    std::vector<std::string> Column() {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        fw::TStatement rows(db, "SELECT body FROM docs ORDER BY rowid");
        std::vector<std::string> values;
        while (rows.Step())
            values.push_back(fw::VarToStr(rows.Column(0)));
        return values;
    }
    std::string Db() const { return Quote(Dir / "t.db"); }
    // Runs statements on the database.
    void Sql(const std::string& Statements) {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        db.ExecSQL(Statements);
    }
    // The first column of every row a query gives, as text.
    std::vector<std::string> Query(const std::string& Select) {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        fw::TStatement rows(db, Select);
        std::vector<std::string> values;
        while (rows.Step())
            values.push_back(fw::VarToStr(rows.Column(0)));
        return values;
    }
    TempDir Dir;
};

TEST_F(DbCommands, PackStatGetUnpack) {
    const auto before = Column();
    Outcome o = RunZorp("db pack -k 0x10 " + Db() + " docs body");
    ASSERT_EQ(o.Status, 0) << o.Output;
    const auto packed = Column();
    for (size_t i = 0; i < packed.size(); ++i) {
        if (i != 2) { // the jpeg cannot shrink: it is stored behind its header
            EXPECT_LT(packed[i].size(), before[i].size()) << i;
        }
    }
    o = RunZorp("db stat -k 0x10 " + Db() + " DOCS Body"); // names as SQL takes them
    EXPECT_NE(o.Output.find("rows 5"), std::string::npos) << o.Output;
    EXPECT_NE(o.Output.find("compressed 5"), std::string::npos) << o.Output;
    EXPECT_NE(o.Output.find("expanded bytes 100000"), std::string::npos) << o.Output;
    o = RunZorp("db get -k 0x10 " + Db() + " docs body 2");
    EXPECT_EQ(o.Output, before[1]);
    EXPECT_EQ(RunZorp("db get " + Db() + " docs body 2").Status, 1); // locked
    EXPECT_EQ(RunZorp("db pack -q -k 0x10 " + Db() + " docs body").Status, 0);
    EXPECT_EQ(Column(), packed); // already compressed: left alone
    ASSERT_EQ(RunZorp("db unpack -q -k 0x10 " + Db() + " docs body").Status, 0);
    EXPECT_EQ(Column(), before);
}

// An empty value stays as it is: compressing it with a key gives a bare header,
// which does not count as compressed and so would never be expanded.
TEST_F(DbCommands, EmptyValuesStayEmpty) {
    Sql("CREATE TABLE e (body); INSERT INTO e VALUES (''), (x'')");
    const std::vector<std::string> empty = {"text:", "blob:"};
    for (const char* command : {"pack", "unpack"}) {
        const Outcome o = RunZorp(std::string("db ") + command + " -k 0x10 " + Db() + " e body");
        EXPECT_EQ(o.Status, 0) << o.Output;
        EXPECT_EQ(Query("SELECT typeof(body) || ':' || hex(body) FROM e"), empty) << command;
    }
}

// The error a failing change meets reaches the user, whether SQLite undid
// only the statement or the whole transaction, and the table stays as it was.
TEST_F(DbCommands, FailingChangeReportsItsCauseAndLeavesTheTableAsItWas) {
    struct Case {
        const char* Command;
        const char* Raise; // what a trigger on updating row 4 does, or none
        rlim_t FileLimit;  // on the files the tool writes
        const char* Message;
    } const cases[] = {
        {"pack", "ABORT", RLIM_INFINITY, "row 4 is frozen"},    // the statement undone
        {"pack", "ROLLBACK", RLIM_INFINITY, "row 4 is frozen"}, // the transaction undone
        {"unpack", "ROLLBACK", RLIM_INFINITY, "row 4 is frozen"},
        {"pack", nullptr, 60000, "disk I/O error"},
    };
    for (const Case& c : cases) {
        MakeTable();
        if (std::string(c.Command) == "unpack") {
            ASSERT_EQ(RunZorp("db pack -q " + Db() + " docs body").Status, 0);
        }
        if (c.Raise != nullptr) {
            fw::TDatabase db(nullptr);
            db.SetDatabaseName(Dir / "t.db");
            db.ExecSQL(std::string("CREATE TRIGGER refuse BEFORE UPDATE ON docs WHEN old.id = 4 "
                                   "BEGIN SELECT RAISE(") +
                       c.Raise + ", 'row 4 is frozen'); END");
        }
        const auto before = Column();
        const Child r =
            RunTool({"db", c.Command, Dir / "t.db", "docs", "body"}, Dir / "out", c.FileLimit);
        EXPECT_EQ(r.Status, 1) << c.Command << " " << c.Message;
        EXPECT_EQ(r.Output, std::string("zorp: ") + c.Message + "\n") << c.Command;
        EXPECT_EQ(Column(), before) << c.Command << " " << c.Message;
    }
}

// A database, table or column that is not there is an error naming it, and
// no file is made.
TEST_F(DbCommands, WhatIsNotThereIsAnError) {
    const std::string missing = Dir / "missing.db";
    const struct {
        std::string Args;
        std::string Message;
    } cases[] = {
        {"stat " + Quote(missing) + " docs body", missing + ": unable to open database file"},
        {"pack " + Quote(missing) + " docs body", missing + ": unable to open database file"},
        {"get " + Quote(missing) + " docs body 1", missing + ": unable to open database file"},
        {"stat " + Db() + " docs nope", "no such column: nope in docs"},
        {"pack " + Db() + " docs nope", "no such column: nope in docs"},
        {"get " + Db() + " docs nope 1", "no such column: nope in docs"},
        {"put " + Db() + " docs nope 1 " + Db(), "no such column: nope in docs"},
        {"unpack " + Db() + " nothing body", "no such table: nothing"},
        {"stat " + Db() + " nothing body", "no such table: nothing"},
    };
    for (const auto& c : cases) {
        const Outcome o = RunZorp("db " + c.Args);
        EXPECT_EQ(o.Status, 1) << c.Args;
        EXPECT_EQ(o.Output, "zorp: " + c.Message + "\n") << c.Args;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// stat and get expand a value as a stream: a value that expands to 64 MiB
// costs them far less memory than that, measured against stat on a small
// table, and they still give all of it.
TEST_F(DbCommands, LargeExpandedValueIsStreamed) {
    constexpr int64_t size = 64 << 20;
    WriteWholeFile(Dir / "zeros", "");
    std::filesystem::resize_file(Dir / "zeros", size);
    ASSERT_EQ(RunZorp("compress -q -m rle -o " + Quote(Dir / "packed") + " " + Quote(Dir / "zeros"))
                  .Status,
              0);
    {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        fw::TStatement insert(db, "INSERT INTO docs VALUES (6, ?)");
        insert.Bind(1, ReadWholeFile(Dir / "packed"));
        insert.Execute();
        db.ExecSQL("CREATE TABLE small AS SELECT * FROM docs WHERE id = 1");
    }
    const std::string db = Dir / "t.db";
    const long allowed =
        RunTool({"db", "stat", db, "small", "body"}, Dir / "out").PeakKiB + size / 1024 / 4;
    const Child stat = RunTool({"db", "stat", db, "docs", "body"}, Dir / "out");
    EXPECT_NE(stat.Output.find("expanded bytes " + std::to_string(100000 + size)),
              std::string::npos)
        << stat.Output;
    EXPECT_LT(stat.PeakKiB, allowed);
    const Child get = RunTool({"db", "get", db, "docs", "body", "6", Dir / "got"}, Dir / "out");
    EXPECT_EQ(get.Status, 0) << get.Output;
    EXPECT_LT(get.PeakKiB, allowed);
    EXPECT_EQ(std::filesystem::file_size(Dir / "got"), size);
    std::string got(size, 'x');
    std::ifstream(Dir / "got", std::ios::binary).read(got.data(), size);
    EXPECT_EQ(got.find_first_not_of('\0'), std::string::npos);
}

TEST_F(DbCommands, KilledPackIsAllOrNothing) {
    {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        db.ExecSQL(
            "WITH RECURSIVE n(i) AS (SELECT 6 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
            "INSERT INTO docs SELECT i, (SELECT body FROM docs WHERE id = 1 + i % 5) FROM n");
    }
    const auto before = Column();
    std::filesystem::copy_file(Dir / "t.db", Dir / "copy.db");
    const pid_t child = fork();
    if (child == 0) {
        execl(ZORP_TOOL, ZORP_TOOL, "db", "pack", "-q", (Dir / "t.db").c_str(), "docs", "body",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const auto after = Column();
    if (after != before) {
        // It finished before the kill: the result is a complete pack.
        ASSERT_EQ(RunZorp("db pack -q " + Quote(Dir / "copy.db") + " docs body").Status, 0);
        std::filesystem::rename(Dir / "copy.db", Dir / "t.db");
        EXPECT_EQ(after, Column());
    }
}

TEST_F(DbCommands, PutStoresOneValueThroughACompressedField) {
    WriteWholeFile(Dir / "new.txt", std::string(30000, 'n'));
    ASSERT_EQ(RunZorp("db put -m lzh " + Db() + " docs body 3 " + Quote(Dir / "new.txt")).Status,
              0);
    const auto values = Column();
    EXPECT_EQ(values[2].substr(0, 8), std::string("WELM\x1ALZH", 8));
    EXPECT_EQ(RunZorp("db get " + Db() + " docs body 3").Output, std::string(30000, 'n'));
    EXPECT_EQ(RunZorp("db get " + Db() + " docs body 99").Status, 1);
    EXPECT_EQ(RunZorp("db get " + Db() + " nothing body 1").Status, 1);
}

// A text that compresses, with a word to look for.
std::string Text(const std::string& Word) {
    std::string s;
    for (int i = 0; i < 40; ++i)
        s += "line " + std::to_string(i % 7) + " about " + Word + " and more\n";
    return s;
}

// Every value keeps its storage class and its bytes through pack and
// unpack, so LIKE and = match TEXT values again; numbers and nulls are
// left alone by pack.
TEST_F(DbCommands, UnpackRestoresTheStorageClass) {
    const std::string odd = std::string(300, 'x') + std::string("\0\xff\xfe", 3) + Text("odd");
    const struct {
        const char* Key;
        const char* Packed; // values: with a key, the short text gets a header too
    } keys[] = {{"", "3"}, {"-k 0x77 ", "4"}};
    for (const auto& [key, packedCount] : keys) {
        Sql("DROP TABLE IF EXISTS notes; CREATE TABLE notes (body)"); // numbers stay numbers
        {
            fw::TDatabase db(nullptr);
            db.SetDatabaseName(Dir / "t.db");
            const struct {
                const char* Insert;
                std::string Value;
            } rows[] = {
                {"INSERT INTO notes VALUES (CAST(? AS TEXT))", Text("apple")},
                {"INSERT INTO notes VALUES (?)", Text("pear")}, // a BLOB in a TEXT column
                {"INSERT INTO notes VALUES (CAST(? AS TEXT))", odd},
                {"INSERT INTO notes VALUES (12345)", ""},
                {"INSERT INTO notes VALUES (0.1)", ""},
                {"INSERT INTO notes VALUES (NULL)", ""},
                {"INSERT INTO notes VALUES (CAST(? AS TEXT))", "short"},
            };
            for (const auto& row : rows) {
                fw::TStatement insert(db, row.Insert);
                if (!row.Value.empty())
                    insert.Bind(1, row.Value);
                insert.Execute();
            }
        }
        const std::string all = "SELECT typeof(body) || ' ' || hex(body) FROM notes ORDER BY rowid";
        const auto before = Query(all);
        ASSERT_EQ(RunZorp("db pack -q " + std::string(key) + Db() + " notes body").Status, 0);
        EXPECT_EQ(Query("SELECT count(*) FROM notes WHERE typeof(body) = 'blob'"),
                  std::vector<std::string>{packedCount})
            << key;
        EXPECT_EQ(Query("SELECT count(*) FROM notes WHERE body LIKE '%apple%'"),
                  std::vector<std::string>{"0"}); // compressed
        const Outcome unpack = RunZorp("db unpack " + std::string(key) + Db() + " notes body");
        ASSERT_EQ(unpack.Status, 0) << unpack.Output;
        EXPECT_EQ(unpack.Output, packedCount + std::string(" values expanded\n"));
        EXPECT_EQ(Query(all), before) << key;
        EXPECT_EQ(Query("SELECT count(*) FROM notes WHERE body LIKE '%apple%'"),
                  std::vector<std::string>{"1"});
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        fw::TStatement equal(db, "SELECT count(*) FROM notes WHERE body = ?");
        equal.BindText(1, Text("apple"));
        ASSERT_TRUE(equal.Step());
        EXPECT_EQ(fw::VarToStr(equal.Column(0)), "1") << key;
        // The record goes with the last packed value.
        EXPECT_EQ(Query("SELECT count(*) FROM sqlite_master WHERE name = 'zorp_packed'"),
                  std::vector<std::string>{"0"});
    }
}

// The record of a value's class holds only for the bytes pack stored in
// that row: a value compressed elsewhere, one put since, a row deleted and
// its rowid used again, and values packed before there were records come
// back as they are stored, BLOBs.
TEST_F(DbCommands, StorageClassRecordHoldsOnlyForTheBytesPackStored) {
    const struct {
        const char* Case;
        std::string Between;              // statements run between pack and unpack
        const char* Put;                  // a file db put stores in row 2 between them, or none
        std::vector<std::string> Classes; // after unpack
    } cases[] = {
        {"records intact", "", nullptr, {"text", "text", "blob"}},
        {"record of another column",
         "UPDATE zorp_packed SET column_name = 'other' WHERE row_id = 2",
         nullptr,
         {"text", "blob", "blob"}},
        {"packed before there were records",
         "DROP TABLE zorp_packed",
         nullptr,
         {"blob", "blob", "blob"}},
        {"rowid used again",
         "DELETE FROM notes WHERE rowid = 2; INSERT INTO notes (rowid, body) SELECT 2, body FROM "
         "notes WHERE rowid = 3",
         nullptr,
         {"text", "blob", "blob"}},
        {"value put since", "", "data.txt", {"text", "blob", "blob"}},
    };
    WriteWholeFile(Dir / "data.txt", Text("put"));
    for (const auto& c : cases) {
        Sql("DROP TABLE IF EXISTS notes; DROP TABLE IF EXISTS zorp_packed; "
            "CREATE TABLE notes (body TEXT)");
        Sql("INSERT INTO notes VALUES ('" + Text("one") + "'), ('" + Text("two") + "'), (CAST('" +
            Text("three") + "' AS BLOB))");
        ASSERT_EQ(RunZorp("db pack -q " + Db() + " NOTES Body").Status, 0) << c.Case;
        if (!c.Between.empty())
            Sql(c.Between);
        if (c.Put != nullptr) {
            ASSERT_EQ(RunZorp("db put " + Db() + " notes body 2 " + Quote(Dir / c.Put)).Status, 0);
        }
        ASSERT_EQ(RunZorp("db unpack -q " + Db() + " notes body").Status, 0) << c.Case;
        EXPECT_EQ(Query("SELECT typeof(body) FROM notes ORDER BY rowid"), c.Classes) << c.Case;
        EXPECT_EQ(Query("SELECT substr(body, 1, 60) FROM notes WHERE rowid = 1"),
                  std::vector<std::string>{Text("one").substr(0, 60)})
            << c.Case;
    }
}

// pack and unpack end with VACUUM, which leaves the file as small as
// VACUUM makes it; --no-vacuum leaves the pages the change freed inside it.
TEST_F(DbCommands, VacuumShrinksTheFileAndNoVacuumDoesNot) {
    const struct {
        const char* Command;
        const char* Flag;
        bool Compact;
    } cases[] = {
        {"pack", "", true},
        {"pack", "--no-vacuum ", false},
        {"unpack", "", true},
        {"unpack", "--no-vacuum ", false},
    };
    for (const auto& c : cases) {
        MakeTable();
        Sql("CREATE TABLE notes (body TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i "
            "+ 1 FROM n WHERE i < 200) INSERT INTO notes SELECT printf('%.*c', 2000, 'a') || i "
            "FROM n");
        if (std::string(c.Command) == "unpack") {
            ASSERT_EQ(RunZorp("db pack -q " + Db() + " notes body").Status, 0);
        }
        const auto before = std::filesystem::file_size(Dir / "t.db");
        const Outcome o =
            RunZorp("db " + std::string(c.Command) + " -q " + c.Flag + Db() + " notes body");
        ASSERT_EQ(o.Status, 0) << c.Command << " " << c.Flag << o.Output;
        const auto after = std::filesystem::file_size(Dir / "t.db");
        std::filesystem::copy_file(Dir / "t.db", Dir / "compact.db",
                                   std::filesystem::copy_options::overwrite_existing);
        {
            fw::TDatabase db(nullptr);
            db.SetDatabaseName(Dir / "compact.db");
            db.ExecSQL("VACUUM");
        }
        EXPECT_EQ(after == std::filesystem::file_size(Dir / "compact.db"), c.Compact)
            << c.Command << " " << c.Flag;
        if (std::string(c.Command) == "pack") {
            EXPECT_EQ(after < before / 2, c.Compact) << c.Flag; // 200 rows of 2000 bytes
        }
    }
}

// A VACUUM that fails is reported, and the change it followed stays.
TEST_F(DbCommands, FailedVacuumIsReportedAndTheChangeStays) {
    if (!CanInjectFaults())
        GTEST_SKIP() << "strace cannot trace here (not installed, or ptrace is not allowed)";
    const auto before = Column();
    // Only VACUUM cuts the file to its new size.
    const Outcome o =
        RunZorpInjected("ftruncate:error=EIO", "db pack -q -k 0x10 " + Db() + " docs body",
                        "-P " + Quote(Dir / "t.db"));
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Output, "zorp: " + Dir / "t.db" +
                            ": VACUUM failed (the change is committed): disk I/O error\n");
    const auto packed = Column();
    for (size_t i = 0; i < packed.size(); ++i)
        EXPECT_EQ(packed[i].substr(0, 5), "WELM\x1A") << i;
    ASSERT_EQ(RunZorp("db unpack -q -k 0x10 " + Db() + " docs body").Status, 0);
    EXPECT_EQ(Column(), before);
}

// Errors that say a stored value cannot be expanded name the database,
// table, column and rowid.
TEST_F(DbCommands, DecodeErrorsNameTheValue) {
    ASSERT_EQ(RunZorp("db pack -q -k 0x10 " + Db() + " docs body").Status, 0);
    std::string damaged = Column()[3];
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
    {
        fw::TDatabase db(nullptr);
        db.SetDatabaseName(Dir / "t.db");
        fw::TStatement update(db, "UPDATE docs SET body = ? WHERE rowid = 4");
        update.Bind(1, damaged);
        update.Execute();
    }
    const std::string value = "zorp: " + Dir / "t.db" + ": table docs, column body, rowid ";
    const std::string locked = "File locked -- valid key required\n";
    const struct {
        std::string Args;
        std::string Message;
    } cases[] = {
        {"get " + Db() + " docs body 2", value + "2: " + locked},
        {"get -k 0x11 " + Db() + " docs body 1", value + "1: " + locked},
        {"stat " + Db() + " docs body", value + "1: " + locked},
        {"unpack " + Db() + " docs body", value + "1: " + locked},
        {"get -k 0x10 " + Db() + " docs body 4", value + "4: "},
        {"unpack -k 0x10 " + Db() + " docs body", value + "4: "},
    };
    for (const auto& c : cases) {
        const Outcome o = RunZorp("db " + c.Args);
        EXPECT_EQ(o.Status, 1) << c.Args;
        EXPECT_EQ(o.Output.substr(0, c.Message.size()), c.Message) << c.Args;
    }
}

// A picture with a few coloured pixels.
void Draw(fw::TBitmap& Bitmap) {
    Bitmap.SetSize(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            Bitmap.SetPixel(x, y, static_cast<fw::TColor>(0x102030 * (x + 1) + 0x050000 * y));
}

std::string BmpBytes(const fw::TBitmap& Bitmap) {
    fw::TMemoryStream bmp;
    Bitmap.SaveToStream(bmp);
    return bmp.DataString();
}

// The picture as a BMP file.
std::string PictureFile() {
    fw::TBitmap bitmap;
    Draw(bitmap);
    return BmpBytes(bitmap);
}

// The graphic header a field puts in front of Bmp.
std::string GraphicHeaderBytes(const std::string& Bmp) {
    const auto header = GraphicHeader(static_cast<int32_t>(Bmp.size()));
    return std::string(reinterpret_cast<const char*>(header.data()), header.size());
}

// A column whose declared type makes it a graphic field holds the graphic
// header in front of each picture: put adds it and get leaves it out, so
// both take plain BMP files, and the library's field reads the picture
// put stored. Other columns hold the file as it is.
TEST_F(DbCommands, PicturesGoInAndOutAsPlainBmpFiles) {
    const std::string bmp = PictureFile();
    WriteWholeFile(Dir / "in.bmp", bmp);
    for (const char* type : {"GRAPHIC", "image", "Picture(100)", "BITMAP", "BLOB"}) {
        const bool graphic = std::string(type) != "BLOB";
        Sql(std::string("DROP TABLE IF EXISTS pics; CREATE TABLE pics (pic ") + type +
            "); INSERT INTO pics VALUES (NULL), (NULL)");
        const Outcome put = RunZorp("db put " + Db() + " pics pic 1 " + Quote(Dir / "in.bmp"));
        ASSERT_EQ(put.Status, 0) << type << put.Output;
        {
            // What a compressed field reads.
            TZorp zorp(nullptr);
            fw::TComponent owner(nullptr);
            fw::TDatabase db(nullptr);
            db.SetDatabaseName(Dir / "t.db");
            fw::TSQLiteTable table(nullptr);
            table.SetDatabase(&db);
            table.SetTableName("pics");
            auto* field = new TCGraphicField(&owner);
            field->SetFieldName("pic");
            field->SetCompressSource(&zorp);
            field->SetCompressionMethod(coLZH5);
            field->SetDataSet(&table);
            table.Open();
            EXPECT_EQ(field->AsString(), (graphic ? GraphicHeaderBytes(bmp) : "") + bmp) << type;
            fw::TBitmap read;
            field->SaveToBitmap(read);
            EXPECT_EQ(BmpBytes(read), bmp) << type;
            // Row 2: a picture the field stores.
            ASSERT_TRUE(table.Locate(2));
            table.Edit();
            fw::TBitmap picture;
            Draw(picture);
            field->LoadFromBitmap(picture);
            table.Post();
        }
        for (const char* row : {"1", "2"}) {
            const Outcome get =
                RunZorp("db get " + Db() + " pics pic " + row + " " + Quote(Dir / "out.bmp"));
            ASSERT_EQ(get.Status, 0) << type << get.Output;
            // Other columns give the value as it is, a graphic header and all.
            const std::string expected =
                graphic || std::string(row) == "1" ? bmp : GraphicHeaderBytes(bmp) + bmp;
            EXPECT_EQ(ReadWholeFile(Dir / "out.bmp"), expected) << type << " row " << row;
        }
    }
}

// A graphic column takes BMP files only; the value stays as it was.
TEST_F(DbCommands, PutRefusesAFileThatIsNotABmpForAGraphicColumn) {
    Sql("CREATE TABLE pics (pic GRAPHIC); INSERT INTO pics VALUES (x'0102')");
    const struct {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"text.txt", Text("not a picture")},
        {"empty.bmp", ""},
        {"headed.bmp", std::string("\x01\x00\x00\x01", 4) + PictureFile()},
    };
    for (const auto& c : cases) {
        WriteWholeFile(Dir / c.Name, c.Bytes);
        const Outcome o = RunZorp("db put " + Db() + " pics pic 1 " + Quote(Dir / c.Name));
        EXPECT_EQ(o.Status, 1) << c.Name;
        EXPECT_EQ(o.Output, "zorp: " + Dir / c.Name +
                                ": not a BMP file (column pic of pics holds pictures)\n")
            << c.Name;
        EXPECT_EQ(Query("SELECT hex(pic) FROM pics"), std::vector<std::string>{"0102"});
    }
}

// Every option and positional of the db commands shows what it takes.
TEST_F(DbCommands, HelpNamesWhatEachArgumentIs) {
    const struct {
        const char* Command;
        std::vector<std::string> Shown;
    } cases[] = {
        {"pack", {"DB DB", "TABLE TABLE", "COLUMN COLUMN", "KEY=0", "METHOD=lh5", "--no-vacuum"}},
        {"unpack", {"DB DB", "KEY=0", "--no-vacuum"}},
        {"stat", {"TABLE TABLE", "KEY=0"}},
        {"get", {"ROWID ROWID", "OUT FILE", "KEY=0"}},
        {"put", {"ROWID ROWID", "FILE FILE", "METHOD=lh5", "KEY=0"}},
    };
    for (const auto& c : cases) {
        const Outcome help = RunZorp(std::string("db ") + c.Command + " --help");
        EXPECT_EQ(help.Status, 0) << c.Command;
        // CLI11's placeholder when none is given.
        for (const char* unnamed : {"TEXT REQUIRED", "TEXT=", "INT REQUIRED", "OUT TEXT"})
            EXPECT_EQ(help.Output.find(unnamed), std::string::npos) << help.Output;
        for (const std::string& shown : c.Shown)
            EXPECT_NE(help.Output.find(shown), std::string::npos) << shown << "\n" << help.Output;
    }
}

} // namespace
} // namespace zorp::test
