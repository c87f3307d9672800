#include "framework/db/DBTypes.h"

#include <cstdio>

namespace zorp::fw {

const std::vector<std::string>& FieldTypeNames() {
    static const std::vector<std::string> names{
        "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
        "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
        "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
        "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",    "ftFixedChar",
        "ftWideString", "ftLargeint",   "ftADT",      "ftArray",       "ftReference", "ftDataSet",
        "ftOraBlob",    "ftOraClob"};
    return names;
}

std::string VarToStr(const TVariant& v) {
    if (const auto* i = std::get_if<int64_t>(&v))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v)) {
        char text[32];
        std::snprintf(text, sizeof text, "%.15g", *d);
        return text;
    }
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return std::string();
}

} // namespace zorp::fw
