// Names as the archive commands match and show them.
//
// Patterns are shell-style ("*", "?", "[...]"; "*" also crosses "/"), as
// bsdtar reads them. An exclusion pattern leaves out a path when it matches
// the whole path or any run of whole components in it ("*.o" leaves out
// every object file, "build" everything in a directory named build); a name
// pattern given to extract or delete selects an entry when it matches the
// entry's name or one of the directories it lies in ("src" selects
// everything under src/).
#pragma once

#include <string>

namespace zorp::tool {

bool MatchesExclude(const std::string& Path, const std::string& Pattern);
bool MatchesEntry(const std::string& Name, const std::string& Pattern, bool IgnoreCase);

// Text as it may be shown on a terminal: control characters (which could
// move the cursor, clear the screen or fake lines) written as \n, \t or
// \xHH.
std::string Printable(const std::string& Text);

// A JSON string. Valid UTF-8 is kept as it is (quotes, backslashes and
// control characters escaped); a name that is not valid UTF-8 has each byte
// above 0x7F written as \u00XX, that is, read as Latin-1.
std::string JsonString(const std::string& Text);

} // namespace zorp::tool
