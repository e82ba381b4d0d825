// Function names for the C file that glwrite writes.
//
// Every mesh becomes a function named after it, so the name has to be a C
// identifier that clashes with nothing else in the file. Names that already
// are such identifiers are kept exactly as they are.
#pragma once

#include <set>
#include <string>

namespace plugins::glwrite {

// What a name that could clash gets appended. No keyword, macro or
// identifier of the compilers and headers the file meets ends in "_", so
// one more character is enough for them; a name reserved to the compiler
// stays reserved, and for it "_" could even make one of its names
// (__STDC_ + _), so it gets a suffix that none of them ends in.
inline constexpr const char* kCNameSuffix = "_";
inline constexpr const char* kReservedCNameSuffix = "_mesh";

class CFunctionNames {
  public:
    // The function name for a mesh called name:
    //  - a name that is not a C identifier goes through SanitizeName;
    //  - a name that could clash with the file's surroundings (see
    //    ClashesInC) gets kCNameSuffix appended, or kReservedCNameSuffix
    //    when it is reserved to the compiler (see IsReservedInC);
    //  - a name already given out in this file gets "_2", "_3", ..., the
    //    first that is free (before the suffix, where there is one).
    // The result is remembered as given out.
    std::string Take(const char* name);

    // Forgets every name given out, for a new file.
    void Clear() { taken_.clear(); }

  private:
    std::set<std::string> taken_;
};

// True when the identifier begins with "__" or with "_" and a capital
// letter: such names belong to the compiler and its library.
bool IsReservedInC(const std::string& identifier);

// True when the identifier may mean something else where the file is
// compiled (as C, in GNU mode, with <GL/gl.h> included before it): a keyword
// of C or GNU C; a macro GCC or Clang predefine on Linux (linux, unix, i386,
// ...); a name reserved to the compiler and library (beginning with "__" or
// with "_" and a capital letter); an identifier of <GL/gl.h> and what it
// includes (gl followed by a capital, GL_..., the GL types, PFNGL...,
// APIENTRY, KHRONOS_..., khronos_..., and the <stdint.h> types and macros);
// or a name the file itself uses (color_val).
bool ClashesInC(const std::string& identifier);

// True when text is a C identifier: a letter or '_', then letters, digits
// and '_', and nothing else.
bool IsCIdentifier(const std::string& text);

}  // namespace plugins::glwrite
