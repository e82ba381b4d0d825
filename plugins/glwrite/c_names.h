// Function names for the C file that glwrite writes.
//
// Every mesh becomes a function named after it, so the name has to be a C
// identifier that clashes with nothing else in the file. Names that already
// are such identifiers are kept exactly as they are.
#pragma once

#include <set>
#include <string>

namespace plugins::glwrite {

class CFunctionNames {
  public:
    // The function name for a mesh called name:
    //  - a name that is not a C identifier goes through SanitizeName;
    //  - a C keyword, or a name the file itself uses (the colour table and
    //    the GL names it calls), gets "_" appended;
    //  - a name already given out in this file gets "_2", "_3", ..., the
    //    first that is free.
    // The result is remembered as given out.
    std::string Take(const char* name);

    // Forgets every name given out, for a new file.
    void Clear() { taken_.clear(); }

  private:
    std::set<std::string> taken_;
};

// True when text is a C identifier: a letter or '_', then letters, digits
// and '_', and nothing else.
bool IsCIdentifier(const std::string& text);

}  // namespace plugins::glwrite
