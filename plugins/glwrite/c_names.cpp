#include "glwrite/c_names.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "framework/text_convert.h"

namespace plugins::glwrite {

namespace {

// Keywords of every C standard up to C23, and the names the written file
// declares or calls itself. GLfloat and GL_TRIANGLES, a type and a macro of
// the GL header, would break the file as function names just the same.
constexpr std::string_view kReservedNames[] = {
    "auto",          "break",        "case",       "char",       "const",          "continue",
    "default",       "do",           "double",     "else",       "enum",           "extern",
    "float",         "for",          "goto",       "if",         "inline",         "int",
    "long",          "register",     "restrict",   "return",     "short",          "signed",
    "sizeof",        "static",       "struct",     "switch",     "typedef",        "union",
    "unsigned",      "void",         "volatile",   "while",      "_Alignas",       "_Alignof",
    "_Atomic",       "_BitInt",      "_Bool",      "_Complex",   "_Decimal128",    "_Decimal32",
    "_Decimal64",    "_Generic",     "_Imaginary", "_Noreturn",  "_Static_assert", "_Thread_local",
    "alignas",       "alignof",      "bool",       "constexpr",  "false",          "nullptr",
    "static_assert", "thread_local", "true",       "typeof",     "typeof_unqual",  "color_val",
    "glBegin",       "glEnd",        "glNormal3f", "glVertex3f", "glColor3fv",     "GLfloat",
    "GL_TRIANGLES",
};

bool IsReserved(const std::string& name) {
    return std::find(std::begin(kReservedNames), std::end(kReservedNames), name) !=
           std::end(kReservedNames);
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool IsCIdentifier(const std::string& text) {
    if (text.empty() || !(IsAsciiLetter(text[0]) || text[0] == '_')) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; });
}

std::string CFunctionNames::Take(const char* name) {
    std::string result = name != nullptr ? name : "";
    if (!IsCIdentifier(result)) {
        SanitizeName(result);
    }
    if (IsReserved(result)) {
        result += '_';
    }
    if (taken_.count(result) != 0) {
        for (unsigned n = 2;; ++n) {
            std::string candidate = result + "_" + std::to_string(n);
            if (taken_.count(candidate) == 0) {
                result = std::move(candidate);
                break;
            }
        }
    }
    taken_.insert(result);
    return result;
}

}  // namespace plugins::glwrite
