// Comparing names the way the Amiga's and the PC's file systems do: letter
// case does not count. Used wherever a name from an object file is looked
// for among the names of this machine's directories.
#pragma once

#include <string>
#include <string_view>

namespace tessvane {

// True when `name` is well-formed UTF-8.
bool IsUtf8Name(std::string_view name);

// `name` (UTF-8) with every letter that has a capital replaced by it: the
// ASCII letters, the Latin-1 letters (é -> É, ÿ -> Ÿ) and the Latin
// Extended-A pairs (œ -> Œ, š -> Š), which cover every letter the offered
// character sets hold. Two names are equal ignoring letter case when their
// folded forms are equal. Bytes that are not UTF-8 are kept, marked so that
// they never equal a character.
std::string FoldLocalName(std::string_view name);

}  // namespace tessvane
