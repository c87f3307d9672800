// zorp db on PostgreSQL. The column is bytea, so values keep no storage
// class and pack and unpack need no record of one. pack and unpack run in
// one transaction: a failure rolls it back and the table stays as it was.
// They do not VACUUM: the server's autovacuum reclaims the old row versions.
#include "tools/zorp/PGCommands.h"

#include "dbcontrols/CompressedFields.h"
#include "tools/zorp/DbValues.h"
#include "tools/zorp/Files.h"
#include "tools/zorp/KeyOption.h"
#include "tools/zorp/PGColumn.h"

#include <array>
#include <cstdio>

namespace zorp::tool {

namespace {

std::string KeyName(const std::string& Key) {
    return "key " + Key;
}

// Offers every non-null value to Rewrite(key, value), which returns the new
// value or nothing, in one transaction; then reports the count.
template <typename TRewrite>
void RewriteColumn(const DbOptions& O, const char* Done, TRewrite&& Rewrite) {
    PGColumn column(O.Name);
    int changed = 0;
    {
        PGTransaction transaction(column.Db());
        const fw::TPGResult rows = column.Rows(true);
        for (int i = 0; i < rows.RowCount(); ++i) {
            if (rows.IsNull(i, 1))
                continue;
            const std::string key = rows.Value(i, 0);
            if (const auto value = Rewrite(key, rows.Value(i, 1))) {
                column.Write(key, *value);
                ++changed;
            }
        }
        transaction.Commit();
    }
    if (!O.Quiet)
        std::printf("%d values %s\n", changed, Done);
}

} // namespace

void PGPack(const DbOptions& O) {
    const TZorpMethod method = ParseMethod(O.Method);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(O.Key));
    RewriteColumn(
        O, "compressed",
        [&](const std::string& Key, const std::string& Value) -> std::optional<std::string> {
            if (IsCompressed(Value))
                return std::nullopt;
            return PackValue(zorp, Value, method, O.Name, KeyName(Key));
        });
}

void PGUnpack(const DbOptions& O) {
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(O.Key));
    RewriteColumn(
        O, "expanded",
        [&](const std::string& Key, const std::string& Value) -> std::optional<std::string> {
            if (!IsCompressed(Value))
                return std::nullopt;
            return ExpandedValue(zorp, Value, O.Name, KeyName(Key));
        });
}

void PGStat(const DbOptions& O) {
    PGColumn column(O.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(O.Key));
    ColumnStats stats(zorp);
    const fw::TPGResult rows = column.Rows();
    for (int i = 0; i < rows.RowCount(); ++i)
        stats.Add(rows.Value(i, 1), O.Name, KeyName(rows.Value(i, 0)));
    stats.Print();
}

void PGGet(const DbOptions& O) {
    PGColumn column(O.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(O.Key));
    const std::string stored = column.Value(O.Row);
    OutputFile out(O.File.empty() ? "-" : O.File);
    ExpandingValue(O.Name, KeyName(O.Row),
                   [&] { WriteExpanded(zorp, stored, column.Graphic(), out.Stream()); });
    out.Commit();
}

// Stores the file as a compressed field would: a picture behind its
// graphic header, the whole compressed by the method asked for.
void PGPut(const DbOptions& O) {
    const TZorpMethod method = ParseMethod(O.Method);
    PGColumn column(O.Name);
    TZorp zorp(nullptr);
    zorp.SetKey(ParseKey(O.Key));
    column.Value(O.Row); // the row is there before the file is read
    InputFile in(O.File);
    const int64_t size = CheckPutFile(in, O.File, column.Graphic(), O.Name);
    std::string plain;
    if (column.Graphic()) {
        const auto header = GraphicHeader(static_cast<int32_t>(size));
        plain.assign(header.begin(), header.end());
    }
    in.Stream().SetPosition(0);
    std::array<char, 65536> buffer{};
    for (int32_t n; (n = in.Stream().Read(buffer.data(), buffer.size())) > 0;)
        plain.append(buffer.data(), static_cast<size_t>(n));
    column.Write(O.Row, zorp.CompressString(plain, method));
}

} // namespace zorp::tool
