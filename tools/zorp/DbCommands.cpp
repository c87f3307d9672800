// zorp db pack / unpack / stat / get / put: compressed values in a column
// of a SQLite table. Changes to a column run in one transaction: a failure
// leaves the table as it was. stat and get expand a value as a stream, so
// they never hold a whole expanded value.
#include "component/Zorp.h"
#include "dbcontrols/CompressedFields.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/TextUtils.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace zorp::tool {

namespace {

struct DbOptions {
    std::string Method = "lh5";
    std::string Key = "0";
    std::string Database;
    std::string Table;
    std::string Column;
    int64_t RowId = 0;
    std::string File;
    bool Quiet = false;
};

bool HasHeader(const std::string& value) {
    return value.size() > static_cast<size_t>(TZorpHeader::RecordSize) &&
           value.compare(0, 5, std::string(HeaderMagic.data(), 5)) == 0;
}

// Opens the database a command names and checks that its table has the
// column. A file that is not there is an error naming it: the tool never
// makes an empty database. Every statement the tool runs names only that
// table and column, so none meets a name SQLite cannot resolve, which it
// would take for a string literal when double-quoted.
void OpenDatabase(fw::TDatabase& Db, const DbOptions& o) {
    Db.SetCreateIfMissing(false);
    Db.SetDatabaseName(o.Database);
    try {
        Db.Open();
    } catch (const fw::EDatabaseError& e) {
        throw std::runtime_error(o.Database + ": " + e.Message());
    }
    fw::TStatement columns(Db, "PRAGMA table_info(" + fw::QuoteIdentifier(o.Table) + ")");
    bool table = false;
    while (columns.Step()) {
        table = true;
        if (fw::SameText(fw::VarToStr(columns.Column(1)), o.Column))
            return;
    }
    throw std::runtime_error(table ? "no such column: " + o.Column + " in " + o.Table
                                   : "no such table: " + o.Table);
}

// Rewrites every value of the column with Transform, in one transaction.
// Transform returns false to leave a value as it is.
int RewriteColumn(const DbOptions& o,
                  const std::function<bool(const std::string&, std::string&)>& Transform) {
    fw::TDatabase db(nullptr);
    OpenDatabase(db, o);
    const std::string table = fw::QuoteIdentifier(o.Table);
    const std::string column = fw::QuoteIdentifier(o.Column);
    fw::TTransaction transaction(db);
    int changed = 0;
    fw::TStatement rows(db, "SELECT rowid, " + column + " FROM " + table);
    fw::TStatement update(db, "UPDATE " + table + " SET " + column + " = ? WHERE rowid = ?");
    while (rows.Step()) {
        const fw::TVariant value = rows.Column(1);
        if (fw::VarIsNull(value))
            continue;
        std::string result;
        if (!Transform(fw::VarToStr(value), result))
            continue;
        update.Reset();
        update.Bind(1, result);
        update.Bind(2, rows.Column(0));
        update.Execute();
        ++changed;
    }
    transaction.Commit();
    return changed;
}

void Pack(const DbOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    int64_t row = 0;
    const int changed = RewriteColumn(o, [&](const std::string& value, std::string& packed) {
        ++row;
        if (HasHeader(value))
            return false; // already compressed
        packed = zorp.CompressString(value, method);
        if (zorp.ExpandString(packed) != value)
            throw std::runtime_error("value " + std::to_string(row) +
                                     " does not survive compression; nothing was changed");
        return packed != value;
    });
    if (!o.Quiet)
        std::printf("%d values compressed\n", changed);
}

void Unpack(const DbOptions& o) {
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    const int changed = RewriteColumn(o, [&](const std::string& value, std::string& plain) {
        if (!HasHeader(value))
            return false;
        plain = zorp.ExpandString(value);
        return true;
    });
    if (!o.Quiet)
        std::printf("%d values expanded\n", changed);
}

// A stream that keeps nothing and counts the bytes written to it, so an
// expansion can be measured without holding it.
class TByteCounter : public fw::TStream {
public:
    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void*, int32_t Count) override {
        FCount += Count;
        return Count;
    }
    // Writes only append: the position is the count.
    int64_t Seek(int64_t, fw::TSeekOrigin) override { return FCount; }
    int64_t Count() const { return FCount; }

private:
    int64_t FCount = 0;
};

// Expands a stored value into Dest as a compressed field reads it (a value
// without a header is its own expansion), writing to Dest as it goes.
void ExpandValue(TZorp& Zorp, const std::string& Stored, fw::TStream& Dest) {
    fw::TMemoryStream source;
    if (!Stored.empty())
        source.WriteBuffer(Stored.data(), static_cast<int32_t>(Stored.size()));
    source.SetPosition(0);
    Zorp.Expand(Dest, source);
}

void Stat(const DbOptions& o) {
    fw::TDatabase db(nullptr);
    OpenDatabase(db, o);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    fw::TStatement rows(db, "SELECT " + fw::QuoteIdentifier(o.Column) + " FROM " +
                                fw::QuoteIdentifier(o.Table));
    int64_t count = 0, compressed = 0, stored = 0;
    TByteCounter expanded;
    while (rows.Step()) {
        const std::string value = fw::VarToStr(rows.Column(0));
        ++count;
        stored += static_cast<int64_t>(value.size());
        if (HasHeader(value))
            ++compressed;
        ExpandValue(zorp, value, expanded);
    }
    const double saving = expanded.Count() > 0
                              ? 100.0 * static_cast<double>(expanded.Count() - stored) /
                                    static_cast<double>(expanded.Count())
                              : 0.0;
    std::printf("rows %lld\ncompressed %lld\nstored bytes %lld\nexpanded bytes %lld\n"
                "saving %.1f%%\n",
                static_cast<long long>(count), static_cast<long long>(compressed),
                static_cast<long long>(stored), static_cast<long long>(expanded.Count()), saving);
}

// A table with one compressed field on the column, at the row asked for.
struct FieldAtRow {
    explicit FieldAtRow(const DbOptions& o) {
        Zorp.SetKey(ParseKey(o.Key));
        OpenDatabase(Db, o);
        Table.SetDatabase(&Db);
        Table.SetTableName(o.Table);
        Field = new TCBlobField(&Owner); // belongs to Owner
        Field->SetFieldName(o.Column);
        Field->SetCompressSource(&Zorp);
        Field->SetDataSet(&Table);
        Table.Open();
        if (!Table.Locate(o.RowId))
            throw std::runtime_error("no row " + std::to_string(o.RowId) + " in " + o.Table);
    }
    TZorp Zorp{nullptr};
    fw::TComponent Owner{nullptr};
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable Table{nullptr};
    TCBlobField* Field = nullptr;
};

// The value a compressed field on the column gives, expanded straight into
// the output.
void Get(const DbOptions& o) {
    fw::TDatabase db(nullptr);
    OpenDatabase(db, o);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    fw::TStatement row(db, "SELECT " + fw::QuoteIdentifier(o.Column) + " FROM " +
                               fw::QuoteIdentifier(o.Table) + " WHERE rowid = ?");
    row.Bind(1, o.RowId);
    if (!row.Step())
        throw std::runtime_error("no row " + std::to_string(o.RowId) + " in " + o.Table);
    OutputFile out(o.File.empty() ? "-" : o.File);
    ExpandValue(zorp, fw::VarToStr(row.Column(0)), out.Stream());
    out.Commit();
}

void Put(const DbOptions& o) {
    FieldAtRow at(o);
    at.Field->SetCompressionMethod(ParseMethod(o.Method));
    InputFile in(o.File);
    at.Table.Edit();
    at.Field->LoadFromStream(in.Stream());
    at.Table.Post();
}

CLI::App* Command(CLI::App& db, const char* name, const char* help, DbOptions& o) {
    CLI::App* c = db.add_subcommand(name, help);
    c->add_option("DB", o.Database, "SQLite database file")->required();
    c->add_option("TABLE", o.Table, "Table")->required();
    c->add_option("COLUMN", o.Column, "BLOB column")->required();
    c->add_option("-k,--key", o.Key, "Key: a 32-bit number in decimal or 0x hexadecimal")
        ->default_str("0");
    return c;
}

} // namespace

void AddDbCommands(CLI::App& App) {
    auto o = std::make_shared<DbOptions>();
    CLI::App* db = App.add_subcommand(DbCommandName, DbCommandDescription);
    db->require_subcommand(1);

    CLI::App* pack = Command(*db, "pack",
                             "Compress every value of a column in place, in one transaction; "
                             "values already compressed are left alone",
                             *o);
    pack->add_option("-m,--method", o->Method, "Method: none, rle, lzh or lh5")->default_str("lh5");
    pack->add_flag("-q,--quiet", o->Quiet, "No summary");
    pack->callback([o] { Pack(*o); });

    CLI::App* unpack =
        Command(*db, "unpack", "Expand every compressed value of a column in place", *o);
    unpack->add_flag("-q,--quiet", o->Quiet, "No summary");
    unpack->callback([o] { Unpack(*o); });

    CLI::App* stat = Command(*db, "stat", "Rows, stored and expanded bytes, and the saving", *o);
    stat->callback([o] { Stat(*o); });

    CLI::App* get = Command(*db, "get", "Write one value (by rowid), expanded", *o);
    get->add_option("ROWID", o->RowId, "Row")->required();
    get->add_option("OUT", o->File, "Output file (default: standard output)");
    get->callback([o] { Get(*o); });

    CLI::App* put = Command(*db, "put", "Store one value (by rowid) from a file, compressed", *o);
    put->add_option("ROWID", o->RowId, "Row")->required();
    put->add_option("FILE", o->File, "Input file, or - for standard input")->required();
    put->add_option("-m,--method", o->Method, "Method: none, rle, lzh or lh5")->default_str("lh5");
    put->callback([o] { Put(*o); });
}

} // namespace zorp::tool
