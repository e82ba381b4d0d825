// tessvane-cli list: every path record of each file, in file order.
#pragma once

#include <ostream>

#include "cli_options.h"

namespace tessvane::cli {

// Prints the records of every readable file to `out` in the chosen format and
// one line FILE......status to `err` for each file that cannot be listed.
// Returns the exit code: 0 when every file was listed, else 1.
int RunListCommand(const ListOptions& options, std::ostream& out, std::ostream& err);

// The kind as the list prints it: "Texture", "Brush", "Object", "Effect",
// "Particle Object".
std::string_view KindName(unsigned kind);

}  // namespace tessvane::cli
