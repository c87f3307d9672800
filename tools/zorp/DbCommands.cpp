// zorp db pack / unpack / stat / get / put: compressed values in a column
// of a SQLite table. Changes to a column run in one transaction: a failure
// leaves the table as it was. pack and unpack keep the storage class of
// each value (see StorageClassRecord.h) and then VACUUM the file, so that
// the pages the change freed go back to the file system. stat and get
// expand a value as a stream, so they never hold a whole expanded value.
// get and put take a graphic column's pictures as plain BMP files. A
// PostgreSQL connection string in place of the file runs the commands of
// PGCommands.h instead; both follow the value rules of DbValues.h.
#include "component/Zorp.h"
#include "dbcontrols/CBlobStream.h"
#include "dbcontrols/CompressedFields.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
#include "tools/zorp/Commands.h"
#include "tools/zorp/DbColumn.h"
#include "tools/zorp/DbOptions.h"
#include "tools/zorp/DbValues.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/PGCommands.h"
#include "tools/zorp/StorageClassRecord.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace zorp::tool {

namespace {

// The rowid get and put take on a SQLite table.
int64_t ParseRowId(const std::string& Text) {
    size_t used = 0;
    int64_t row = 0;
    try {
        row = std::stoll(Text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != Text.size())
        throw std::invalid_argument("ROWID: not a rowid: " + Text);
    return row;
}

// Rewrites the whole file without the pages the committed change freed.
// VACUUM cannot run inside a transaction; when it fails, the change stays.
void Vacuum(fw::TDatabase& Db, const DbOptions& o) {
    if (o.NoVacuum)
        return;
    try {
        Db.ExecSQL("VACUUM");
    } catch (const fw::EDatabaseError& e) {
        throw std::runtime_error(o.Name.Database +
                                 ": VACUUM failed (the change is committed): " + e.Message());
    }
}

// What becomes of the record of storage classes when a rewrite is done.
enum class ClassRecord { Keep, Forget };

// Offers every row of the column to Rewrite(rows, writer, record), which
// returns whether it rewrote the row, inside one transaction, so that the
// column changes all or not at all; then reports the count and vacuums.
template <typename TRewrite>
void RewriteColumn(const DbOptions& o, const char* Done, ClassRecord After, TRewrite&& Rewrite) {
    fw::TDatabase db(nullptr);
    OpenColumn(db, o.Name);
    int changed = 0;
    {
        fw::TTransaction transaction(db);
        StorageClassRecord record(db, o.Name.Table, o.Name.Column);
        ColumnWriter writer(db, o.Name);
        ColumnRows rows(db, o.Name);
        while (rows.Next())
            if (Rewrite(rows, writer, record))
                ++changed;
        if (After == ClassRecord::Forget)
            record.ForgetColumn();
        transaction.Commit();
    }
    if (!o.Quiet)
        std::printf("%d values %s\n", changed, Done);
    Vacuum(db, o);
}

// Compresses every text and blob value that is not compressed yet, noting
// its storage class. Numbers are left alone: they never shrink, and the
// text of a REAL does not always give the same number back.
void Pack(const DbOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    RewriteColumn(o, "compressed", ClassRecord::Keep,
                  [&](ColumnRows& rows, ColumnWriter& writer, StorageClassRecord& record) {
                      const std::string type = rows.Class();
                      const std::string value = rows.Value();
                      if ((type != "text" && type != "blob") || IsCompressed(value))
                          return false; // a number or null, or already compressed
                      const auto packed =
                          PackValue(zorp, value, method, o.Name, RowIdName(rows.Row()));
                      if (!packed)
                          return false;
                      writer.Write(rows.Row(), *packed, false);
                      record.Note(rows.Row(), type, *packed);
                      return true;
                  });
}

// Expands every compressed value, giving it the storage class it had
// before pack; without a record of it, the class it has now.
void Unpack(const DbOptions& o) {
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    RewriteColumn(
        o, "expanded", ClassRecord::Forget,
        [&](ColumnRows& rows, ColumnWriter& writer, StorageClassRecord& record) {
            const std::string stored = rows.Value();
            if (!IsCompressed(stored))
                return false;
            const std::string plain = ExpandedValue(zorp, stored, o.Name, RowIdName(rows.Row()));
            const std::string before = record.ClassBefore(rows.Row(), stored);
            writer.Write(rows.Row(), plain, (before.empty() ? rows.Class() : before) == "text");
            return true;
        });
}

void Stat(const DbOptions& o) {
    fw::TDatabase db(nullptr);
    OpenColumn(db, o.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    ColumnRows rows(db, o.Name);
    ColumnStats stats(zorp);
    while (rows.Next())
        stats.Add(rows.Value(), o.Name, RowIdName(rows.Row()));
    stats.Print();
}

// The value a compressed field on the column gives, expanded straight into
// the output; a picture without its graphic header.
void Get(const DbOptions& o) {
    fw::TDatabase db(nullptr);
    const bool graphic = OpenColumn(db, o.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(o.Key));
    const int64_t rowId = ParseRowId(o.Row);
    fw::TStatement row(db, "SELECT " + fw::QuoteIdentifier(o.Name.Column) + " FROM " +
                               fw::QuoteIdentifier(o.Name.Table) + " WHERE rowid = ?");
    row.Bind(1, rowId);
    if (!row.Step())
        throw std::runtime_error("no row " + o.Row + " in " + o.Name.Table);
    const std::string stored = fw::VarToStr(row.Column(0));
    OutputFile out(o.File.empty() ? "-" : o.File);
    ExpandingValue(o.Name, RowIdName(rowId),
                   [&] { WriteExpanded(zorp, stored, graphic, out.Stream()); });
    out.Commit();
}

// A table with one compressed field on the column, at the row asked for.
struct FieldAtRow {
    explicit FieldAtRow(const DbOptions& o) {
        Zorp.SetKey(ParseKey(o.Key));
        Graphic = OpenColumn(Db, o.Name);
        Table.SetDatabase(&Db);
        Table.SetTableName(o.Name.Table);
        Field = new TCBlobField(&Owner); // belongs to Owner
        Field->SetFieldName(o.Name.Column);
        Field->SetCompressSource(&Zorp);
        Field->SetDataSet(&Table);
        Table.Open();
        if (!Table.Locate(ParseRowId(o.Row)))
            throw std::runtime_error("no row " + o.Row + " in " + o.Name.Table);
    }
    TZorp Zorp{nullptr};
    fw::TComponent Owner{nullptr};
    fw::TDatabase Db{nullptr};
    fw::TSQLiteTable Table{nullptr};
    TCBlobField* Field = nullptr;
    bool Graphic = false;
};

// Stores a file as the value of one row, compressed; a picture for a
// graphic column, which gets its graphic header. The row's value is no
// longer the one pack stored, so its storage class record goes.
void Put(const DbOptions& o) {
    const TZorpMethod method = ParseMethod(o.Method);
    FieldAtRow at(o);
    at.Field->SetCompressionMethod(method);
    InputFile in(o.File);
    const int64_t size = CheckPutFile(in, o.File, at.Graphic, o.Name);
    fw::TTransaction transaction(at.Db);
    at.Table.Edit();
    {
        TCBlobStream value(*at.Field, fw::bmWrite);
        if (at.Graphic)
            value.WriteBuffer(GraphicHeader(static_cast<int32_t>(size)).data(), GraphicHeaderSize);
        value.CopyFrom(in.Stream(), 0);
        value.Close();
    }
    at.Table.Post();
    StorageClassRecord(at.Db, o.Name.Table, o.Name.Column).Forget(ParseRowId(o.Row));
    transaction.Commit();
}

// Runs the command for the database the options name: Sqlite on a file,
// Pg on a PostgreSQL connection string.
void Run(const DbOptions& o, void (*Sqlite)(const DbOptions&), void (*Pg)(const DbOptions&)) {
    if (IsPGConnection(o.Name.Database))
        Pg(o);
    else
        Sqlite(o);
}

CLI::App* Command(CLI::App& db, const char* name, const char* help, DbOptions& o) {
    CLI::App* c = db.add_subcommand(name, help);
    c->add_option("DB", o.Name.Database,
                  "SQLite database file, or PostgreSQL connection string (postgresql://..., "
                  "or keywords with dbname= or host=)")
        ->required()
        ->type_name("DB");
    c->add_option("TABLE", o.Name.Table, "Table")->required()->type_name("TABLE");
    c->add_option("COLUMN", o.Name.Column, "Column")->required()->type_name("COLUMN");
    c->add_option("-k,--key", o.Key, "Key: a 32-bit number in decimal or 0x hexadecimal")
        ->default_str("0")
        ->type_name("KEY");
    return c;
}

void AddMethodOption(CLI::App& c, DbOptions& o) {
    c.add_option("-m,--method", o.Method, "Method: none, rle, lzh or lh5")
        ->default_str("lh5")
        ->type_name("METHOD");
}

} // namespace

void AddDbCommands(CLI::App& App) {
    auto o = std::make_shared<DbOptions>();
    CLI::App* db = App.add_subcommand(DbCommandName, DbCommandDescription);
    db->require_subcommand(1);

    CLI::App* pack =
        Command(*db, "pack",
                "Compress every text and blob value of a column in place, in one "
                "transaction, then VACUUM a SQLite file; values already compressed are left alone",
                *o);
    AddMethodOption(*pack, *o);
    pack->add_flag("-q,--quiet", o->Quiet, "No summary");
    pack->add_flag("--no-vacuum", o->NoVacuum, "Leave the file its size (no VACUUM)");
    pack->callback([o] { Run(*o, Pack, PGPack); });

    CLI::App* unpack = Command(*db, "unpack",
                               "Expand every compressed value of a column in place, as TEXT or "
                               "BLOB as it was, then VACUUM a SQLite file",
                               *o);
    unpack->add_flag("-q,--quiet", o->Quiet, "No summary");
    unpack->add_flag("--no-vacuum", o->NoVacuum, "Leave the file its size (no VACUUM)");
    unpack->callback([o] { Run(*o, Unpack, PGUnpack); });

    CLI::App* stat = Command(*db, "stat", "Rows, stored and expanded bytes, and the saving", *o);
    stat->callback([o] { Run(*o, Stat, PGStat); });

    CLI::App* get = Command(
        *db, "get", "Write one value (by rowid), expanded; a picture as a plain BMP file", *o);
    get->add_option("ROWID", o->Row, "Row: its rowid, or on PostgreSQL its primary key value")
        ->required()
        ->type_name("ROWID");
    get->add_option("OUT", o->File, "Output file (default: standard output)")->type_name("FILE");
    get->callback([o] { Run(*o, Get, PGGet); });

    CLI::App* put = Command(*db, "put",
                            "Store one value (by rowid) from a file, compressed; a graphic "
                            "column takes a BMP file",
                            *o);
    put->add_option("ROWID", o->Row, "Row: its rowid, or on PostgreSQL its primary key value")
        ->required()
        ->type_name("ROWID");
    put->add_option("FILE", o->File, "Input file, or - for standard input")
        ->required()
        ->type_name("FILE");
    AddMethodOption(*put, *o);
    put->callback([o] { Run(*o, Put, PGPut); });
}

} // namespace zorp::tool
