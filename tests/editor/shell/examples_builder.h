// The sample files under examples/: small Imagine object and project files
// made with the fixture builder, so anyone can regenerate them
// (tessvane_make_examples) and a test keeps the committed copies current.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "iff_builder.h"

namespace tessvane::testing {

// File name and contents of every sample, in a fixed order.
std::vector<std::pair<std::string, Bytes>> BuildExamples();

}  // namespace tessvane::testing
