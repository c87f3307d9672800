// Types of the dataset layer: field types, states, blob modes, data events, errors and values.
#pragma once

#include "../base/Exceptions.h"
#include "../base/Export.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zorp::fw {

/// Raised for every failure of the dataset layer; SQLite's own message is
/// passed on for database failures.
class ZORP_API EDatabaseError : public Exception {
public:
    /// Takes the message, as Exception does.
    using Exception::Exception;
};

/// The type of a field's value, with fixed ordinals; FieldTypeNames gives their identifiers.
/// Default fields and declared column types use the string, integer, float, memo, formatted
/// memo, graphic and blob types; the others only keep their ordinals.
enum TFieldType : uint8_t {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
    ftFixedChar = 23,
    ftWideString = 24,
    ftLargeint = 25,
    ftADT = 26,
    ftArray = 27,
    ftReference = 28,
    ftDataSet = 29,
    ftOraBlob = 30,
    ftOraClob = 31,
};
/// The type of a BLOB field: one of the field types for which IsBlobType is true.
using TBlobType = TFieldType;

/// The identifiers of TFieldType by ordinal ("ftUnknown" to "ftOraClob").
ZORP_API const std::vector<std::string>& FieldTypeNames();

/// True for the BLOB field types: ftBlob to ftTypedBinary, ftOraBlob and ftOraClob.
inline bool IsBlobType(TFieldType t) {
    return t >= ftBlob && t <= ftOraClob && t != ftCursor && t != ftFixedChar &&
           t != ftWideString && t != ftLargeint && t != ftADT && t != ftArray && t != ftReference &&
           t != ftDataSet;
}

/// The state of a data set: closed, browsing, editing the current record, or inserting a
/// new one.
enum TDataSetState : uint8_t { dsInactive, dsBrowse, dsEdit, dsInsert };

/// How a blob stream opens a BLOB field's value: to read it, to replace it, or to change it.
enum TBlobStreamMode : uint8_t { bmRead = 0, bmWrite = 1, bmReadWrite = 2 };

/// The events a data set passes to its data sources and, through them, to the data links.
enum TDataEvent : uint8_t {
    deFieldChange,     ///< a field's value changed (Info: the field)
    deRecordChange,    ///< the record's values changed
    deDataSetChange,   ///< the data set changed (open, post, cancel, delete)
    deDataSetScroll,   ///< the current record moved
    deLayoutChange,    ///< the fields changed
    deUpdateRecord,    ///< the record is about to be posted: controls write back
    deUpdateState,     ///< the state changed
    deCheckBrowseMode, ///< the data set is about to leave edit or insert
};

/// One field value: null, an integer, a float, or bytes.
using TVariant = std::variant<std::monostate, int64_t, double, std::string>;

/// True when the value is null.
inline bool VarIsNull(const TVariant& v) {
    return std::holds_alternative<std::monostate>(v);
}

/// The value as text: "" for null, decimal for numbers, the bytes for text.
ZORP_API std::string VarToStr(const TVariant& v);

} // namespace zorp::fw
