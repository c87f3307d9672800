// Wildcard rules of file lists. A mask is matched against a file name as
// two parts, base name and extension, each by MatchPattern:
//   - "?" stands for exactly one character;
//   - a "*" after at least one other character makes the characters before
//     it a prefix that must match; whatever follows that "*" is ignored;
//   - a part that is "*" alone matches anything, including nothing;
//   - a "*" first in a longer part is an ordinary character.
// Comparisons are case-sensitive in MatchPattern; MatchFileMask lower-cases
// both sides first.
#pragma once

#include <string>

namespace zorp {

bool MatchPattern(const std::string& Text, const std::string& Pattern);
// True when the base names and the extensions of Name and Mask match. An
// empty mask extension counts as "*", an empty name extension as ".".
bool MatchFileMask(const std::string& Name, const std::string& Mask);

} // namespace zorp
