// Asking an Imagine texture module for its description.
#pragma once

#include <string>
#include <string_view>

namespace tessvane {

// Loads the module at `modulePath`, calls its export "InquireTexture" with the
// integers 112 and 1, and returns the text whose pointer lies 16 bytes into
// the returned structure, cut to 18 characters. A module that cannot be
// loaded, lacks the export, or returns no structure or no text gives the empty
// text. The module is unloaded again before returning.
std::string InquireTextureDescription(std::string_view modulePath);

}  // namespace tessvane
