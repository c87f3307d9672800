// Rich text: text whose every byte carries character attributes (bold,
// italic, size in points), read from and written as RTF.
#pragma once

#include "../base/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorp::fw {

/// The attributes of one character of rich text.
struct ZORP_API TTextAttributes {
    /// Bold or italic type.
    /// @{
    bool Bold = false;
    bool Italic = false;
    /// @}
    /// The size in points.
    int32_t Size = 12;

    /// True when boldness, italics and size are all equal.
    friend bool operator==(const TTextAttributes&, const TTextAttributes&) = default;
};

/// Text whose every byte carries character attributes.
struct ZORP_API TRichText {
    /// The text; line breaks are CR LF.
    std::string Text;
    /// One entry per byte of Text.
    std::vector<TTextAttributes> Attributes;

    /// True when text and attributes are all equal.
    friend bool operator==(const TRichText&, const TRichText&) = default;
};

/// True when Data starts (after white space) with `{\rtf`.
ZORP_API bool IsRichText(const std::string& Data);

/// Writes Text as RTF: `{\rtf1\ansi\deff0{\fonttbl{\f0\fnil <font>;}}` and
/// then the text: attribute changes as `\b`, `\b0`, `\i`, `\i0` and `\fsN` (N
/// in half points), line breaks as `\par`, tabs as `\tab`, `\`, `{` and `}`
/// escaped with a backslash and bytes outside printable ASCII as `\'hh`.
/// Attributes must hold one entry per byte of Text. FontName goes into the
/// font table.
ZORP_API std::string WriteRichText(const TRichText& Text, const std::string& FontName);

/// Reads RTF into text and attributes. Reading understands groups, `\par`
/// and `\line` (line breaks), `\tab`, `\b`, `\i`, `\fsN`, `\plain`, `\'hh`,
/// `\uN` with `\ucN`, the escaped symbols and `\~` `\_` `\-`; it skips the
/// contents of ignorable destinations (`{\* ...}`) and of the destinations
/// that hold no text (font and colour tables, style sheet, document
/// information, pictures, headers and footers, ...). Every other control
/// word is skipped. Text after the outermost group is ignored. Text outside
/// any explicit attribute takes Default; `\plain` returns to it.
ZORP_API TRichText ReadRichText(const std::string& Rtf, const TTextAttributes& Default);

} // namespace zorp::fw
