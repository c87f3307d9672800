// The SQL functions in the test's process: round trips with every method and
// key, the bytes TZorp::CompressString gives, NULLs, what a value's header
// says, and errors: the library's messages, and "too big" for an expansion
// past the connection's length limit.
#include "SqlSession.h"

#include "common/Errors.h"
#include "component/Zorp.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

struct MethodCase {
    const char* Name;
    TZorpMethod Method;
};

const MethodCase Methods[] = {
    {"none", coNone}, {"rle", coRLE}, {"lzh", coLZH}, {"lh5", coLZH5}, {"LH5", coLZH5}};

std::string Packed(const std::string& Plain, TZorpMethod Method, int32_t Key) {
    TZorp zorp(nullptr);
    zorp.SetKey(Key);
    return zorp.CompressString(Plain, Method);
}

TEST(SqlFunctions, RoundTripsWithEveryMethodAndKey) {
    SqlSession db;
    // Text, bytes, and runs for RLE.
    const std::string plain = TextLines(30000, 3) + RandomBytes(2000, 9) + std::string(5000, 'x');
    for (const MethodCase& m : Methods) {
        for (const int64_t key :
             {int64_t{0}, int64_t{0x5A5A1234}, int64_t{0xFFFFFFF0}, int64_t{-7}}) {
            const auto key32 = static_cast<int32_t>(static_cast<uint32_t>(key));
            SCOPED_TRACE(std::string(m.Name) + " key " + std::to_string(key));
            const SqlResult packed =
                db.Query("SELECT zorp_compress(?1, ?2, ?3)", {plain, std::string(m.Name), key});
            ASSERT_EQ(packed.Code, SQLITE_OK) << packed.Error;
            EXPECT_EQ(packed.Type, SQLITE_BLOB);
            EXPECT_EQ(packed.Bytes, Packed(plain, m.Method, key32));
            const SqlResult back = db.Query("SELECT zorp_expand(?1, ?2)", {packed.Bytes, key});
            ASSERT_EQ(back.Code, SQLITE_OK) << back.Error;
            EXPECT_EQ(back.Type, SQLITE_BLOB);
            EXPECT_EQ(back.Bytes, plain);
            EXPECT_EQ(db.Query("SELECT zorp_size(?1)", {packed.Bytes}).Bytes,
                      std::to_string(plain.size()));
        }
    }
    // Without method and key: LZH5, no key; text comes back as TEXT.
    const SqlResult packed =
        db.Query("SELECT zorp_compress(CAST(?1 AS TEXT))", {plain.substr(0, 3000)});
    EXPECT_EQ(packed.Bytes, Packed(plain.substr(0, 3000), coLZH5, 0));
    const SqlResult text = db.Query("SELECT zorp_expand_text(?1)", {packed.Bytes});
    EXPECT_EQ(text.Type, SQLITE_TEXT);
    EXPECT_EQ(text.Bytes, plain.substr(0, 3000));
}

TEST(SqlFunctions, TellWhatAValueIs) {
    SqlSession db;
    const std::string plain = TextLines(5000, 1) + std::string(3000, '-');
    const struct {
        std::string Value;
        const char* Method;
        const char* Compressed;
        size_t Size;
    } cases[] = {
        {Packed(plain, coRLE, 0), "rle", "1", plain.size()},
        {Packed(plain, coLZH, 77), "lzh", "1", plain.size()},
        {Packed(plain, coLZH5, 0), "lh5", "1", plain.size()},
        {Packed(plain, coNone, 5), "none", "1", plain.size()},
        {plain, "none", "0", plain.size()}, // a value without a header
        {"short", "none", "0", 5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(db.Query("SELECT zorp_method(?1)", {c.Value}).Bytes, c.Method);
        EXPECT_EQ(db.Query("SELECT zorp_is_compressed(?1)", {c.Value}).Bytes, c.Compressed);
        EXPECT_EQ(db.Query("SELECT zorp_size(?1)", {c.Value}).Bytes, std::to_string(c.Size));
    }
    // A value without a header comes back unchanged, from either function.
    EXPECT_EQ(db.Query("SELECT zorp_expand(?1)", {plain}).Bytes, plain);
    EXPECT_EQ(db.Query("SELECT zorp_expand_text(?1)", {plain}).Bytes, plain);
    EXPECT_EQ(db.Query("SELECT zorp_expand(x'')").Type, SQLITE_BLOB);
}

TEST(SqlFunctions, NullGivesNull) {
    SqlSession db;
    for (const char* sql : {"SELECT zorp_compress(NULL)", "SELECT zorp_compress('x', NULL)",
                            "SELECT zorp_compress('x', 'lzh', NULL)", "SELECT zorp_expand(NULL)",
                            "SELECT zorp_expand(x'00', NULL)", "SELECT zorp_expand_text(NULL)",
                            "SELECT zorp_size(NULL)", "SELECT zorp_method(NULL)",
                            "SELECT zorp_is_compressed(NULL)"}) {
        const SqlResult r = db.Query(sql);
        EXPECT_EQ(r.Code, SQLITE_OK) << sql << ": " << r.Error;
        EXPECT_EQ(r.Type, SQLITE_NULL) << sql;
    }
}

TEST(SqlFunctions, ErrorsCarryTheLibrarysMessages) {
    SqlSession db;
    const std::string plain = TextLines(20000, 2);
    const std::string locked = Packed(plain, coLZH5, 1234);
    std::string damaged = Packed(plain, coLZH, 0);
    damaged[damaged.size() / 2] = static_cast<char>(damaged[damaged.size() / 2] ^ 0x55);
    std::string unknown = Packed(plain, coLZH, 0);
    unknown.replace(5, 3, "XYZ");
    const struct {
        std::string Sql;
        std::vector<SqlParameter> Parameters;
        std::string Message;
    } cases[] = {
        {"SELECT zorp_expand(?1)", {locked}, EInvalidKey().what()},
        {"SELECT zorp_expand_text(?1, 99)", {locked}, EInvalidKey().what()},
        {"SELECT zorp_expand(?1)", {damaged}, "data may be invalid"},
        {"SELECT zorp_expand(?1)", {unknown}, EUnrecognizedCompressionMethod("XYZ").what()},
        {"SELECT zorp_compress('x', 'zip')", {}, "unknown method \"zip\""},
        {"SELECT zorp_compress('x', 'custom')", {}, "unknown method \"custom\""},
        {"SELECT zorp_compress('x', 'lh5', 4294967296)", {}, "the key must be an integer"},
        {"SELECT zorp_expand(x'00', 'key')", {}, "the key must be an integer"},
    };
    for (const auto& c : cases) {
        const SqlResult r = db.Query(c.Sql, c.Parameters);
        EXPECT_EQ(r.Code, SQLITE_ERROR) << c.Sql;
        EXPECT_NE(r.Error.find(c.Message), std::string::npos) << c.Sql << ": " << r.Error;
    }
}

// Sets the expanded size a value's header announces.
std::string Announcing(std::string Value, uint32_t Size) {
    for (int i = 0; i < 4; ++i)
        Value[static_cast<size_t>(8 + i)] = static_cast<char>(Size >> (8 * i));
    return Value;
}

TEST(SqlFunctions, AnExpansionPastTheLengthLimitIsTooBig) {
    SqlSession db;
    const std::string plain(5000, 'a');
    sqlite3_limit(db.Handle(), SQLITE_LIMIT_LENGTH, 1000);
    for (const std::string& value :
         {Packed(plain, coLZH5, 0), Packed(plain, coRLE, 0),
          Announcing(Packed(plain, coLZH5, 0), 0x7F000000), // asks for 2 GB
          Announcing(Packed(plain, coRLE, 0), 100)}) {      // says 100, makes 5000
        const SqlResult r = db.Query("SELECT zorp_expand(?1)", {value});
        EXPECT_EQ(r.Code, SQLITE_TOOBIG) << r.Error;
    }
    // Within the limit a value expands, and a header that lies is damage; one
    // that announces more than the limit is refused before anything is expanded.
    sqlite3_limit(db.Handle(), SQLITE_LIMIT_LENGTH, 100000);
    EXPECT_EQ(
        db.Query("SELECT zorp_expand(?1)", {Announcing(Packed(plain, coLZH5, 0), 0x7F000000)}).Code,
        SQLITE_TOOBIG);
    EXPECT_EQ(db.Query("SELECT zorp_expand(?1)", {Packed(plain, coRLE, 0)}).Bytes, plain);
    const SqlResult lying =
        db.Query("SELECT zorp_expand(?1)", {Announcing(Packed(plain, coRLE, 0), 100)});
    EXPECT_EQ(lying.Error, EExpandedSizeMismatch(5000, 100).what());
}

// A view that shows a compressed column as plain text, searched with LIKE.
TEST(SqlFunctions, ViewsShowCompressedColumnsAsText) {
    SqlSession db;
    db.Exec(
        "PRAGMA trusted_schema = OFF;"
        "CREATE TABLE notes (id INTEGER PRIMARY KEY, body BLOB);"
        "INSERT INTO notes (body) VALUES"
        " (zorp_compress('the quick brown ' || replace(hex(zeroblob(50)), '00', 'fox '), 'lzh')),"
        " (zorp_compress('lazy ' || replace(hex(zeroblob(50)), '00', 'dogs '), 'lh5')),"
        " ('plain text, not compressed');"
        "CREATE VIEW plain_notes AS SELECT id, zorp_expand_text(body) AS body FROM notes;");
    EXPECT_EQ(db.Query("SELECT group_concat(id) FROM notes WHERE zorp_expand_text(body) LIKE "
                       "'%o%'")
                  .Bytes,
              "1,2,3");
    EXPECT_EQ(db.Query("SELECT id FROM plain_notes WHERE body LIKE '%DOGS%'").Bytes, "2");
    EXPECT_EQ(db.Query("SELECT typeof(body) FROM plain_notes WHERE id = 1").Bytes, "text");
    EXPECT_EQ(db.Query("SELECT group_concat(zorp_is_compressed(body)) FROM notes").Bytes, "1,1,0");
}

} // namespace
} // namespace zorp::test
