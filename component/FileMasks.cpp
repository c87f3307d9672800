#include "component/FileMasks.h"

#include "framework/base/FileUtils.h"
#include "framework/base/TextUtils.h"

namespace zorp {

bool MatchPattern(const std::string& Text, const std::string& Pattern) {
    if (Pattern == "*" || (Text.empty() && Pattern.empty()))
        return true;
    size_t n = Pattern.size();
    bool prefix = false;
    // A "*" after the first character ends the compared part.
    const size_t star = Pattern.find('*', 1);
    if (star != std::string::npos) {
        n = star;
        prefix = true;
    }
    if (Text.size() < n || n == 0)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (Pattern[i] != '?' && Pattern[i] != Text[i])
            return false;
    return prefix || Text.size() == n;
}

bool MatchFileMask(const std::string& Name, const std::string& Mask) {
    const std::string name = fw::AnsiLowerCase(Name);
    const std::string mask = fw::AnsiLowerCase(Mask);
    std::string maskExt = fw::ExtractFileExt(mask);
    const std::string maskBase = mask.substr(0, mask.size() - maskExt.size());
    if (maskExt.empty())
        maskExt = "*";
    std::string nameExt = fw::ExtractFileExt(name);
    const std::string nameBase = name.substr(0, name.size() - nameExt.size());
    if (nameExt.empty())
        nameExt = ".";
    return MatchPattern(nameBase, maskBase) && MatchPattern(nameExt, maskExt);
}

} // namespace zorp
