// Rich text: text whose every byte carries character attributes (bold,
// italic, size in points), read from and written as RTF.
//
// Writing produces "{\rtf1\ansi\deff0{\fonttbl{\f0\fnil <font>;}}" and then
// the text: attribute changes as \b, \b0, \i, \i0 and \fsN (N in half
// points), line breaks as \par, tabs as \tab, "\", "{" and "}" escaped with
// a backslash and bytes outside printable ASCII as \'hh.
//
// Reading understands groups, \par and \line (line breaks), \tab, \b, \i,
// \fsN, \plain, \'hh, \uN with \ucN, the escaped symbols and \~ \_ \-; it
// skips the contents of ignorable destinations ({\* ...}) and of the
// destinations that hold no text (font and colour tables, style sheet,
// document information, pictures, headers and footers, ...). Every other
// control word is skipped. Text after the outermost group is ignored.
#pragma once

#include "../base/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp::fw {

struct ZORP_API TTextAttributes {
    bool Bold = false;
    bool Italic = false;
    // Points.
    int32_t Size = 12;

    friend bool operator==(const TTextAttributes&, const TTextAttributes&) = default;
};

struct ZORP_API TRichText {
    // Line breaks are CR LF.
    std::string Text;
    // One entry per byte of Text.
    std::vector<TTextAttributes> Attributes;
};

// True when Data starts (after white space) with "{\rtf".
ZORP_API bool IsRichText(const std::string& Data);

// Attributes must hold one entry per byte of Text. FontName goes into the
// font table.
ZORP_API std::string WriteRichText(const TRichText& Text, const std::string& FontName);

// Text outside any explicit attribute takes Default; \plain returns to it.
ZORP_API TRichText ReadRichText(const std::string& Rtf, const TTextAttributes& Default);

} // namespace zorp::fw
