// The rules for one value of a column that the db commands follow whatever
// the database: what counts as compressed, compressing with a check that
// the value comes back, expanding with errors that name the value, the
// figures stat reports, and a graphic column's pictures as BMP files.
#pragma once

#include "component/Zorp.h"
#include "framework/base/Stream.h"
#include "tools/zorp/DbColumn.h"
#include "tools/zorp/StoredData.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorp::tool {

class InputFile;

// Whether a stored value is compressed: it begins with a stream header and
// has data behind it.
bool IsCompressed(const std::string& Value);

// Value compressed by Method, or nothing when the result would not count
// as compressed (an empty value, which a key gives a bare header). Raises an error naming the value
// (Row, as "rowid 4" or "key 4") when the compressed value does not expand to Value.
std::optional<std::string> PackValue(TZorp& Zorp, const std::string& Value, TZorpMethod Method,
                                     const ColumnName& Name, const std::string& Row);

// Runs Expand, which expands the value of Row; an error saying that the
// stored value cannot be expanded names the value.
template <class Function>
void ExpandingValue(const ColumnName& Name, const std::string& Row, Function&& Expand) {
    try {
        Expand();
    } catch (const std::exception& e) {
        if (!IsDecodeError(e))
            throw;
        throw ValueError(Name, Row, e.what());
    }
}

// The expansion of a stored value, named by Row in errors.
std::string ExpandedValue(TZorp& Zorp, const std::string& Stored, const ColumnName& Name,
                          const std::string& Row);

// Expands a stored value into Dest as a compressed field reads it (a value
// without a header is its own expansion); a graphic column's picture loses
// its graphic header on the way.
void WriteExpanded(TZorp& Zorp, const std::string& Stored, bool Graphic, fw::TStream& Dest);

// Counts what stat reports, expanding every value as a stream.
class ColumnStats {
public:
    explicit ColumnStats(TZorp& Zorp) : FZorp(Zorp) {}
    void Add(const std::string& Stored, const ColumnName& Name, const std::string& Row);
    void Print() const;

private:
    TZorp& FZorp;
    int64_t FRows = 0;
    int64_t FCompressed = 0;
    int64_t FStored = 0;
    int64_t FExpanded = 0;
};

// Checks that File can go into the column: a graphic column takes BMP files
// of less than 2 GiB with their header. Returns the file's size.
int64_t CheckPutFile(InputFile& In, const std::string& File, bool Graphic, const ColumnName& Name);

} // namespace zorp::tool
