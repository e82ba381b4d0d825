#include "glwrite/c_names.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "framework/text_convert.h"

namespace plugins::glwrite {

namespace {

// Keywords of every C standard up to C23, those of GNU C without leading
// underscores, the predefined macros of GCC and Clang on the Linux
// architectures without leading underscores, the few identifiers of the GL
// header that follow no prefix, and the file's own table.
constexpr std::string_view kReservedNames[] = {
    "auto",
    "break",
    "case",
    "char",
    "const",
    "continue",
    "default",
    "do",
    "double",
    "else",
    "enum",
    "extern",
    "float",
    "for",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "register",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "struct",
    "switch",
    "typedef",
    "union",
    "unsigned",
    "void",
    "volatile",
    "while",
    "alignas",
    "alignof",
    "bool",
    "constexpr",
    "false",
    "nullptr",
    "static_assert",
    "thread_local",
    "true",
    "typeof",
    "typeof_unqual",
    "asm",
    // Predefined on one Linux architecture or another in GNU mode.
    "linux",
    "unix",
    "i386",
    "mips",
    "sparc",
    "vax",
    "m68k",
    "mc68000",
    "mc68020",
    "hppa",
    "powerpc",
    "PPC",
    "MIPSEB",
    "MIPSEL",
    "bfin",
    "BFIN",
    // <GL/gl.h>, <KHR/khrplatform.h>
    "APIENTRY",
    "APIENTRYP",
    "WINGDIAPI",
    "GLAPI",
    "GLAPIENTRY",
    "GLAPIENTRYP",
    // <stdint.h>
    "PTRDIFF_MIN",
    "PTRDIFF_MAX",
    "SIZE_MAX",
    "SIG_ATOMIC_MIN",
    "SIG_ATOMIC_MAX",
    "WCHAR_MIN",
    "WCHAR_MAX",
    "WINT_MIN",
    "WINT_MAX",
    "INTPTR_MIN",
    "INTPTR_MAX",
    "UINTPTR_MAX",
    "INTMAX_MIN",
    "INTMAX_MAX",
    "UINTMAX_MAX",
    "INTMAX_C",
    "UINTMAX_C",
    "intptr_t",
    "uintptr_t",
    "intmax_t",
    "uintmax_t",
    // The file's own.
    "color_val",
};

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// The exact-width, least and fast integer types and their limit macros of
// <stdint.h>: [u]int{8,16,32,64}_t, [u]int_least..., [u]int_fast...,
// [U]INT{N}_{MIN,MAX,C}, [U]INT_LEAST{N}_..., [U]INT_FAST{N}_....
bool IsStdintName(const std::string& name) {
    for (const char* widths : {"8", "16", "32", "64"}) {
        for (const char* kind : {"", "_least", "_fast"}) {
            const std::string type = std::string("int") + kind + widths + "_t";
            if (name == type || name == "u" + type) {
                return true;
            }
            std::string macro = std::string("INT") + kind + widths;
            for (char& c : macro) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            }
            for (const char* tail : {"_MIN", "_MAX", "_C"}) {
                if (name == macro + tail || name == "U" + macro + tail) {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace

bool IsReservedInC(const std::string& id) {
    return StartsWith(id, "__") || (id.size() >= 2 && id[0] == '_' && IsUpper(id[1]));
}

bool ClashesInC(const std::string& id) {
    if (IsReservedInC(id) || std::find(std::begin(kReservedNames), std::end(kReservedNames), id) !=
                                 std::end(kReservedNames)) {
        return true;
    }
    // The GL header: glVertex3f, GL_QUADS, GLint, GLDEBUGPROC, PFNGL...PROC,
    // and its platform header's KHRONOS_... and khronos_....
    if ((id.size() >= 3 && StartsWith(id, "gl") && IsUpper(id[2])) || StartsWith(id, "GL_") ||
        (id.size() >= 3 && StartsWith(id, "GL") && id[2] >= 'a' && id[2] <= 'z') ||
        StartsWith(id, "GLDEBUGPROC") || StartsWith(id, "GLVULKANPROC") ||
        StartsWith(id, "PFNGL") || StartsWith(id, "KHRONOS_") || StartsWith(id, "khronos_")) {
        return true;
    }
    return IsStdintName(id);
}

bool IsCIdentifier(const std::string& text) {
    if (text.empty() || !(IsAsciiLetter(text[0]) || text[0] == '_')) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '_'; });
}

std::string CFunctionNames::Take(const char* name) {
    std::string stem = name != nullptr ? name : "";
    if (!IsCIdentifier(stem)) {
        SanitizeName(stem);
    }
    // The number of a repeated name goes before the suffix, and the
    // numbered name is checked again: int_2 is free of clashes, GL_QUADS_2
    // looks like a GL name.
    for (unsigned n = 1;; ++n) {
        std::string candidate = n == 1 ? stem : stem + "_" + std::to_string(n);
        if (IsReservedInC(candidate)) {
            candidate += kReservedCNameSuffix;
        } else if (ClashesInC(candidate)) {
            candidate += kCNameSuffix;
        }
        if (taken_.count(candidate) == 0) {
            taken_.insert(candidate);
            return candidate;
        }
    }
}

}  // namespace plugins::glwrite
