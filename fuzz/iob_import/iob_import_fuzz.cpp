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
#include "support/scratch.h"

using fuzzsupport::Require;

namespace {

iobread::ImportSettings& Settings() {
    // Made once, after the store has been pointed at the scratch directory;
    // never deleted, so it saves nothing.
    static auto* settings = new iobread::ImportSettings();
    return *settings;
}

constexpr double kSizes[4] = {1.0, 2.5, -0.5, 0.0};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string home = fuzzsupport::ScratchDirectory().string();
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const auto path = fuzzsupport::ScratchDirectory() / "input.iob";
    fuzzsupport::WriteFile(path, data + 1, size - 1);

    iobread::ImportSettings& settings = Settings();
    settings.file_name = path.string();
    settings.swap_mode = options & 3;
    settings.size_value = kSizes[(options >> 2) & 3];
    settings.unify_mode = (options >> 4) & 1;
    settings.verbose_mode = 0;

    ObjectList result(ReleaseMeshObject);
    LogFile log(nullptr);
    const bool read = iobread::ReadIobFile(result, settings, nullptr, log);
    Require(read || result.Count() == 0, "a refused file hands over nothing");
    for (const ObjectListNode* node = result.head; node != nullptr; node = node->next) {
        const auto* mesh = static_cast<const Mesh3d*>(node->object);
        Require(mesh->vertices == nullptr && mesh->faces == nullptr && mesh->edges == nullptr,
                "meshes are handed over in compact form");
        Require(mesh->pointCount > 0 && mesh->points != nullptr, "a mesh has points");
        Require(mesh->triangleCount > 0 && mesh->triangles != nullptr, "a mesh has triangles");
        for (int i = 0; i < mesh->triangleCount; ++i) {
            const TriangleIndices& t = mesh->triangles[i];
            Require(t.k0 >= 0 && t.k0 < mesh->pointCount && t.k1 >= 0 && t.k1 < mesh->pointCount &&
                        t.k2 >= 0 && t.k2 < mesh->pointCount,
                    "triangles index the mesh's points");
        }
    }
    return 0;
}
