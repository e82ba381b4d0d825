// OBJ text through the reader and the post-processing of an import. The first
// byte of an input chooses the options: bits 0-2 the split mode (0..5, and 6
// and 7 for values no dialog offers), bits 3-4 the swap mode, bits 5-6 the
// size value; unify is always on. The rest is the file. Every mesh handed
// over must be in compact form with triangles that index its points.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/contract.h"
#include "framework/log_file.h"
#include "objread/import_run.h"
#include "objread/import_settings.h"
#include "support/handed_over.h"
#include "support/scratch.h"

using namespace plugins;
using fuzzsupport::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::UseScratchAsHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const auto path = fuzzsupport::ScratchDirectory() / "input.obj";
    fuzzsupport::WriteFile(path, data + 1, size - 1);

    auto& settings = fuzzsupport::ImporterSettings<objread::ImportSettings>();
    settings.file_name = path.string();
    settings.obj_mode = options & 7;
    settings.swap_mode = (options >> 3) & 3;
    settings.size_value = fuzzsupport::kSizeValues[(options >> 5) & 3];
    settings.unify_mode = 1;
    settings.verbose_mode = 0;

    ObjectList result(ReleaseMeshObject);
    LogFile log(nullptr);
    Require(objread::ReadObjFile(result, settings, nullptr, log), "the file reads");
    fuzzsupport::RequireHandedOver(result);
    return 0;
}
