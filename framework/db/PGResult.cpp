#include "framework/db/PGResult.h"

#include "framework/db/DBTypes.h"

#include <charconv>
#include <libpq-fe.h>

namespace zorp::fw {

void TPGResult::TResultFree::operator()(pg_result* Result) const noexcept {
    PQclear(Result);
}

TPGResult::TPGResult(pg_result* Result) noexcept : FResult(Result) {}

TPGResult::~TPGResult() = default;

TPGResult::TPGResult(TPGResult&& Other) noexcept = default;

TPGResult& TPGResult::operator=(TPGResult&& Other) noexcept = default;

int TPGResult::RowCount() const {
    return FResult ? PQntuples(FResult.get()) : 0;
}

int TPGResult::ColumnCount() const {
    return FResult ? PQnfields(FResult.get()) : 0;
}

void TPGResult::CheckCell(int Row, int Column) const {
    if (Row < 0 || Row >= RowCount() || Column < 0 || Column >= ColumnCount())
        throw EDatabaseError("The server returned no value at row " + std::to_string(Row) +
                             ", column " + std::to_string(Column));
}

bool TPGResult::IsNull(int Row, int Column) const {
    CheckCell(Row, Column);
    return PQgetisnull(FResult.get(), Row, Column) == 1;
}

std::string TPGResult::Value(int Row, int Column) const {
    CheckCell(Row, Column);
    const char* data = PQgetvalue(FResult.get(), Row, Column);
    const int length = PQgetlength(FResult.get(), Row, Column);
    if (data == nullptr || length <= 0)
        return {};
    return {data, static_cast<size_t>(length)};
}

int64_t TPGResult::RowsAffected() const {
    if (!FResult)
        return 0;
    const std::string text = PQcmdTuples(FResult.get());
    int64_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() ? count : 0;
}

} // namespace zorp::fw
