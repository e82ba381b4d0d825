// SHA-256 (FIPS 180-4) of a byte string, for tests that pin large outputs
// by digest instead of keeping them.
#pragma once

#include <string>
#include <string_view>

namespace pluginsupport {

// The digest of bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace pluginsupport
