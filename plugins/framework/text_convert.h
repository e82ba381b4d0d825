// Small in-place text conversions.
#pragma once

#include <cstddef>
#include <string>

namespace plugins {

// Replaces every ',' by '.' in place; returns the text's length.
std::size_t CommaToDot(char* s);

// Replaces every ' ' by '_' in place; returns the text's length.
std::size_t SpaceToUnderscore(char* s);

// Turns a free text into an identifier, in place:
//  1. leading blanks and '"' go;
//  2. trailing characters that are not printable, are white space or are
//     '"' go;
//  3. a leading digit becomes 'N';
//  4. every character that is not an ASCII letter or digit becomes '_';
//  5. an empty result becomes "tmp_obj".
// Example: "3d box" gives "Nd_box".
void SanitizeName(std::string& s);

}  // namespace plugins
