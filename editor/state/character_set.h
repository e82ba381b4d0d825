// The 8-bit character sets of the machines whose files the editor reads.
//
// Object files, the settings file and the default lists hold texts as bytes of
// one 8-bit set; the editor keeps those bytes as they are and only turns them
// into characters where a person reads or types them (the window, the command
// line's text output). Every set here maps each of the 256 byte values to one
// character and back, so decoding a text and encoding it again gives the same
// bytes: a text nobody changed is written back byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessvane {

enum class CharacterSet : std::uint8_t {
    Iso8859_1,    // the Amiga's set, and the default
    Windows1252,  // Windows' Western set
    Cp437,        // the original PC and DOS set
    Cp850,        // DOS Western Europe
};

// Every offered set, in the order the window lists them.
inline constexpr std::array<CharacterSet, 4> kCharacterSets = {
    CharacterSet::Iso8859_1, CharacterSet::Windows1252, CharacterSet::Cp437, CharacterSet::Cp850};

// The set's name as the settings file and the command line write it:
// "ISO-8859-1", "Windows-1252", "CP437", "CP850".
std::string_view CharacterSetName(CharacterSet set);

// The set named `name`, compared case-blind; also takes the common aliases
// "Latin1", "CP1252", "IBM437" and "IBM850". Empty when no set has that name.
std::optional<CharacterSet> ParseCharacterSet(std::string_view name);

// The Unicode code point of byte `byte` in `set`. Bytes 0x00..0x7F are ASCII in
// every set. The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) decode to the C1 control of the same value, so they survive too.
char32_t DecodeByte(unsigned char byte, CharacterSet set);

// The byte that holds `codePoint` in `set`, or empty when the set has none.
std::optional<unsigned char> EncodeCodePoint(char32_t codePoint, CharacterSet set);

// `bytes` as UTF-8 text, one character per byte. Never fails.
std::string DecodeToUtf8(std::string_view bytes, CharacterSet set);

struct EncodeResult {
    std::string bytes;                // the encoded text; complete only when `refused` is empty
    std::optional<char32_t> refused;  // the first character `set` cannot hold, or U+FFFD for
                                      // input that is not valid UTF-8
    bool ok() const { return !refused.has_value(); }
};

// `utf8` encoded in `set`. Stops at the first character the set cannot hold
// (or the first byte that is not valid UTF-8) and names it in `refused`;
// callers store nothing in that case.
EncodeResult EncodeFromUtf8(std::string_view utf8, CharacterSet set);

// "U+00E9 'é'": how a message names a refused character.
std::string DescribeCodePoint(char32_t codePoint);

}  // namespace tessvane
