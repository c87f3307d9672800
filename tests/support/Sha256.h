// SHA-256 of a byte string, as lower-case hex: pins golden outputs in tests.
#pragma once

#include <string>

namespace zorp::test {

std::string Sha256Hex(const std::string& Data);

} // namespace zorp::test
