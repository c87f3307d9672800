#include "framework/base/TextUtils.h"

#include <algorithm>

namespace zorp::fw {

namespace {

unsigned char FoldUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

unsigned char FoldLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

int CompareText(const std::string& S1, const std::string& S2) {
    const size_t n = std::min(S1.size(), S2.size());
    for (size_t i = 0; i < n; ++i) {
        const int a = FoldUpper(static_cast<unsigned char>(S1[i]));
        const int b = FoldUpper(static_cast<unsigned char>(S2[i]));
        if (a != b)
            return a - b;
    }
    return static_cast<int>(S1.size() > S2.size()) - static_cast<int>(S1.size() < S2.size());
}

bool SameText(const std::string& S1, const std::string& S2) {
    return S1.size() == S2.size() && CompareText(S1, S2) == 0;
}

std::string UpperCase(const std::string& S) {
    std::string r = S;
    for (char& c : r)
        c = static_cast<char>(FoldUpper(static_cast<unsigned char>(c)));
    return r;
}

std::string LowerCase(const std::string& S) {
    std::string r = S;
    for (char& c : r)
        c = static_cast<char>(FoldLower(static_cast<unsigned char>(c)));
    return r;
}

std::string AdjustLineBreaks(const std::string& S) {
    std::string r;
    r.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == '\r' || S[i] == '\n') {
            r += "\r\n";
            if (S[i] == '\r' && i + 1 < S.size() && S[i + 1] == '\n')
                ++i;
        } else {
            r += S[i];
        }
    }
    return r;
}

std::string AnsiLowerCase(const std::string& S) {
    return LowerCase(S);
}

std::string AnsiUpperCase(const std::string& S) {
    return UpperCase(S);
}

} // namespace zorp::fw
