// zorp db on a PostgreSQL table, run as the built program against the test
// server: pack and unpack round trips with every method, the bytes pack
// stores, stat, get and put by key (a picture as a BMP file), a failing
// unpack that leaves the table as it was, and the tables it refuses.
#include "component/Zorp.h"
#include "dbcontrols/CompressedFields.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"
#include "tests/pg/PGServer.h"
#include "tools/zorp/PGCommands.h"

#include <optional>
#include <sstream>
#include <vector>

namespace zorp::test {
namespace {

using Column = std::vector<std::optional<std::string>>;

class PGDbCommands : public PGTest {
protected:
    std::string Conn() const { return Quote(PGServer::Shared().ConnectionString()); }
    Outcome Zorp(const std::string& Args) {
        const size_t space = Args.find(' ', Args.find(' ') + 1); // after "db COMMAND"
        return RunZorp(Args.substr(0, space) + " " + Conn() + Args.substr(space));
    }
    void Fill(const std::string& Table, const Column& Values) {
        for (size_t i = 0; i < Values.size(); ++i) {
            fw::TPGParam value{fw::TVariant(), true};
            if (Values[i])
                value.Value = *Values[i];
            Db.Execute("INSERT INTO " + Table + " VALUES ($1, $2)",
                       {{fw::TVariant(static_cast<int64_t>(i + 1))}, value});
        }
    }
    Column Read(const std::string& Table) {
        const fw::TPGResult rows =
            Db.Execute("SELECT body FROM " + Table + " ORDER BY id", {}, true);
        Column values;
        for (int i = 0; i < rows.RowCount(); ++i)
            values.push_back(rows.IsNull(i, 0) ? std::nullopt
                                               : std::optional<std::string>(rows.Value(i, 0)));
        return values;
    }
};

std::string Compressed(const std::string& Value, TZorpMethod Method, int32_t Key) {
    TZorp zorp(nullptr);
    zorp.SetKey(Key);
    return zorp.CompressString(Value, Method);
}

const Column Sample = {
    std::string("plain text that repeats, plain text that repeats, plain text that repeats"),
    std::string("\0\1\2\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xfe", 24),
    std::nullopt,
    std::string(),
    std::string(5000, 'z') + "end",
};

TEST_F(PGDbCommands, PackUnpackRoundTripsWithEveryMethod) {
    if (IsSkipped() || HasFatalFailure())
        return;
    for (const auto& [name, method] : {std::pair{"none", coNone}, std::pair{"rle", coRLE},
                                       std::pair{"lzh", coLZH}, std::pair{"lh5", coLZH5}}) {
        Recreate("docs", "CREATE TABLE docs (id integer PRIMARY KEY, body bytea)");
        Fill("docs", Sample);
        Outcome o = Zorp(std::string("db pack -k 0x10 -m ") + name + " docs body");
        ASSERT_EQ(o.Status, 0) << name << o.Output;
        Column expected;
        int changed = 0;
        for (const auto& value : Sample) {
            const std::optional<std::string> packed = value && !value->empty()
                                                          ? Compressed(*value, method, 0x10)
                                                          : value; // NULL and empty stay

            changed += packed != value;
            expected.push_back(packed);
        }
        EXPECT_EQ(o.Output, std::to_string(changed) + " values compressed\n") << name;
        EXPECT_EQ(Read("docs"), expected) << name;
        o = Zorp("db stat -k 0x10 docs body");
        EXPECT_EQ(o.Status, 0) << o.Output;
        EXPECT_NE(o.Output.find("rows 5\n"), std::string::npos) << o.Output;
        EXPECT_NE(o.Output.find("expanded bytes 5100\n"), std::string::npos) << o.Output;
        EXPECT_EQ(Zorp("db pack -q -k 0x10 docs body").Output, ""); // already compressed
        EXPECT_EQ(Read("docs"), expected) << name;
        o = Zorp("db unpack -k 0x10 docs body");
        ASSERT_EQ(o.Status, 0) << o.Output;
        EXPECT_EQ(Read("docs"), Sample) << name;
    }
}

TEST_F(PGDbCommands, GetAndPutByKey) {
    if (IsSkipped() || HasFatalFailure())
        return;
    Recreate("notes", "CREATE TABLE notes (name text PRIMARY KEY, body bytea)");
    Recreate("pics", "CREATE TABLE pics (id integer PRIMARY KEY, pic bytea)");
    Db.ExecSQL("COMMENT ON COLUMN pics.pic IS 'graphic'; INSERT INTO pics VALUES (7, NULL); "
               "INSERT INTO notes VALUES ('a b', NULL)");
    const std::string text = "a note, a note, a note, a note";
    const std::string bmp = "BM" + std::string(300, '\x11');
    TempDir dir;
    WriteWholeFile(dir / "note", text);
    WriteWholeFile(dir / "pic.bmp", bmp);
    ASSERT_EQ(Zorp("db put -k 5 -m lzh notes body 'a b' " + Quote(dir / "note")).Status, 0);
    EXPECT_EQ(Db.Execute("SELECT body FROM notes", {}, true).Value(0, 0),
              Compressed(text, coLZH, 5));
    EXPECT_EQ(Zorp("db get -k 5 notes body 'a b'").Output, text);
    ASSERT_EQ(Zorp("db put pics pic 7 " + Quote(dir / "pic.bmp")).Status, 0);
    const auto header = GraphicHeader(static_cast<int32_t>(bmp.size()));
    EXPECT_EQ(Db.Execute("SELECT pic FROM pics", {}, true).Value(0, 0),
              Compressed(std::string(header.begin(), header.end()) + bmp, coLZH5, 0));
    ASSERT_EQ(Zorp("db get pics pic 7 " + Quote(dir / "out.bmp")).Status, 0);
    EXPECT_EQ(ReadWholeFile(dir / "out.bmp"), bmp);

    const Outcome missing = Zorp("db get notes body nobody");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Output, "zorp: no row nobody in notes\n");
    const Outcome notBmp = Zorp("db put pics pic 7 " + Quote(dir / "note"));
    EXPECT_EQ(notBmp.Status, 1);
    EXPECT_NE(notBmp.Output.find("not a BMP file"), std::string::npos) << notBmp.Output;
}

// A value locked with a key stops an unpack without one halfway; what it
// had expanded before is rolled back.
TEST_F(PGDbCommands, FailingUnpackLeavesTheTableAsItWas) {
    if (IsSkipped() || HasFatalFailure())
        return;
    Recreate("docs", "CREATE TABLE docs (id integer PRIMARY KEY, body bytea)");
    Fill("docs", {Compressed("first value, first value", coLZH5, 0),
                  Compressed("second value, second value", coLZH5, 2),
                  Compressed("third value, third value", coLZH5, 0)});
    const Column before = Read("docs");
    const Outcome o = Zorp("db unpack docs body");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find(": table docs, column body, key 2: "), std::string::npos) << o.Output;
    EXPECT_EQ(Read("docs"), before);
}

// The server named by a URI, with either scheme, rather than by keywords.
TEST(PGConnectionString, TellsPostgreSQLFromAFile) {
    const struct {
        const char* Database;
        bool PG;
    } cases[] = {
        {"postgresql://app@db/notes", true},
        {"postgres:///notes", true},
        {"dbname=notes", true},
        {"host=/run/postgresql dbname=notes", true},
        {"port=5433 host=db", true},
        {"notes.db", false},
        {"/tmp/host=a.db", false},
        {"postgresql.db", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tool::IsPGConnection(c.Database), c.PG) << c.Database;
}

// A change the server refuses halfway (a trigger raises on row 5) stops
// pack with the server's message, and rolls back row 1.
TEST_F(PGDbCommands, RefusedChangeLeavesTheTableAsItWas) {
    if (IsSkipped() || HasFatalFailure())
        return;
    Recreate("docs", "CREATE TABLE docs (id integer PRIMARY KEY, body bytea)");
    Fill("docs", Sample);
    Db.ExecSQL(
        "CREATE OR REPLACE FUNCTION frozen() RETURNS trigger AS $$ BEGIN "
        "IF NEW.id = 5 THEN RAISE EXCEPTION 'row 5 is frozen'; END IF; RETURN NEW; "
        "END $$ LANGUAGE plpgsql; "
        "CREATE TRIGGER frozen BEFORE UPDATE ON docs FOR EACH ROW EXECUTE FUNCTION frozen()");
    const Outcome o = Zorp("db pack docs body");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("row 5 is frozen"), std::string::npos) << o.Output;
    EXPECT_EQ(Read("docs"), Sample);
}

TEST_F(PGDbCommands, TakesAUri) {
    if (IsSkipped() || HasFatalFailure())
        return;
    Recreate("docs", "CREATE TABLE docs (id integer PRIMARY KEY, body bytea)");
    Fill("docs", {std::string("by uri, by uri, by uri, by uri")});
    std::string host;
    std::string port;
    std::istringstream words(Db.ConnectionString());
    for (std::string word; words >> word;) {
        if (word.rfind("host=", 0) == 0)
            host = word.substr(5);
        if (word.rfind("port=", 0) == 0)
            port = word.substr(5);
    }
    for (const char* scheme : {"postgresql://", "postgres://"}) {
        const std::string uri =
            scheme + std::string("zorp@/postgres?host=") + host + "&port=" + port;
        const Outcome o = RunZorp("db stat " + Quote(uri) + " docs body");
        EXPECT_EQ(o.Status, 0) << o.Output;
        EXPECT_NE(o.Output.find("rows 1\n"), std::string::npos) << scheme << o.Output;
    }
}

TEST_F(PGDbCommands, RefusesTablesItCannotWorkOn) {
    if (IsSkipped() || HasFatalFailure())
        return;
    const struct {
        const char* Definition;
        const char* Message;
    } cases[] = {
        {"CREATE TABLE t (id integer PRIMARY KEY, body text)",
         "zorp: column body of t is text: it must be bytea to hold compressed values\n"},
        {"CREATE TABLE t (id integer, body bytea)",
         "zorp: table t has no primary key: its rows are addressed by one\n"},
        {"CREATE TABLE t (a integer, b integer, body bytea, PRIMARY KEY (a, b))",
         "zorp: table t has a primary key of several columns: its rows are addressed by a key "
         "of one column\n"},
        {"CREATE TABLE t (id integer PRIMARY KEY, other bytea)",
         "zorp: no such column: body in t\n"},
        {"DROP TABLE t", "zorp: no such table: t\n"},
    };
    for (const auto& c : cases) {
        Db.ExecSQL("DROP TABLE IF EXISTS t");
        if (std::string(c.Definition).rfind("CREATE", 0) == 0)
            Db.ExecSQL(c.Definition);
        for (const char* command : {"pack", "stat"}) {
            const Outcome o = Zorp(std::string("db ") + command + " t body");
            EXPECT_EQ(o.Status, 1) << c.Definition;
            EXPECT_EQ(o.Output, c.Message) << c.Definition;
        }
    }
}

} // namespace
} // namespace zorp::test
