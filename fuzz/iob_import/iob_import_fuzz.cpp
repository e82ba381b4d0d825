// Imagine object files through the reader and the post-processing of an
// import. The first byte of an input chooses the options: bits 0-1 the swap
// mode, bits 2-3 the size value, bit 4 unify. The rest is the file. Every
// mesh handed over must be in compact form with triangles that index its
// points.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/contract.h"
#include "framework/log_file.h"
#include "iobread/import_run.h"
#include "iobread/import_settings.h"
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
    const auto path = fuzzsupport::ScratchDirectory() / "input.iob";
    fuzzsupport::WriteFile(path, data + 1, size - 1);

    auto& settings = fuzzsupport::ImporterSettings<iobread::ImportSettings>();
    settings.file_name = path.string();
    settings.swap_mode = options & 3;
    settings.size_value = fuzzsupport::kSizeValues[(options >> 2) & 3];
    settings.unify_mode = (options >> 4) & 1;
    settings.verbose_mode = 0;

    ObjectList result(ReleaseMeshObject);
    LogFile log(nullptr);
    const bool read = iobread::ReadIobFile(result, settings, nullptr, log);
    Require(read || result.Count() == 0, "a refused file hands over nothing");
    fuzzsupport::RequireHandedOver(result);
    return 0;
}
