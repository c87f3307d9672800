// The rows a PostgreSQL statement returned, owned and freed with the object.
#pragma once

#include "../base/Export.h"

#include <cstdint>
#include <memory>
#include <string>

struct pg_result;

namespace zorp::fw {

/// The result of one PostgreSQL statement: its rows and columns, each value as the server sent
/// it (text, or bytes for columns asked in binary format). Cell access checks the row and
/// column against what the server returned and raises EDatabaseError when they are out of
/// range.
class ZORP_API TPGResult {
public:
    /// Takes ownership of Result, a libpq result; nullptr gives an empty result.
    explicit TPGResult(pg_result* Result) noexcept;
    /// Frees the libpq result.
    ~TPGResult();
    /// Results move, they are not copied.
    /// @{
    TPGResult(TPGResult&& Other) noexcept;
    TPGResult& operator=(TPGResult&& Other) noexcept;
    TPGResult(const TPGResult&) = delete;
    TPGResult& operator=(const TPGResult&) = delete;
    /// @}

    /// Number of rows returned.
    int RowCount() const;
    /// Number of columns in each row.
    int ColumnCount() const;
    /// True when the value at Row and Column (both from 0) is SQL NULL.
    bool IsNull(int Row, int Column) const;
    /// The value at Row and Column (both from 0): its text, or its bytes in binary format;
    /// "" for NULL.
    std::string Value(int Row, int Column) const;
    /// Number of rows an INSERT, UPDATE or DELETE touched; 0 for other statements.
    int64_t RowsAffected() const;

private:
    void CheckCell(int Row, int Column) const;

    struct TResultFree {
        void operator()(pg_result* Result) const noexcept;
    };
    std::unique_ptr<pg_result, TResultFree> FResult;
};

} // namespace zorp::fw
