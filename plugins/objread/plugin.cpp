// objread's entry points: the four exports, the class descriptor and the
// importer object the host creates through it.
#include <cstdint>

#include "entry/class_descriptor.h"
#include "entry/importer_object.h"
#include "entry/operations.h"
#include "framework/config_dialog.h"
#include "framework/contract.h"
#include "objread/import_run.h"
#include "objread/import_settings.h"
#include "objread/strings.h"

namespace plugins::objread {

namespace {

void ConfigureSettings() {
    entry::RunConfigure<ImportSettings>(
        ObjReadStrings(), AddImportFields,
        [](const ImportSettings& s, ConfigMembers& m) {
            int verbose = 0, swap = 0, unify = 0, objMode = 0;
            s.GetOptions(verbose, swap, unify, m.size_value, m.logfilename, objMode);
            m.verbose = static_cast<std::int16_t>(verbose);
            m.swap = static_cast<std::int16_t>(swap);
            m.unify = static_cast<std::int16_t>(unify);
            m.obj_mode = static_cast<std::int16_t>(objMode);
        },
        [](ImportSettings& s, const ConfigMembers& m) {
            s.SetOptions(m.verbose, m.swap, m.unify, m.size_value, m.logfilename.c_str(),
                         m.obj_mode);
        });
}

const entry::ImporterParts<ImportSettings> kParts = {ObjReadStrings(), ImportRun,
                                                     ConfigureSettings};

// Only Delete() ends it, as the host contract requires.
class ObjImportPlugin final : public entry::ImporterObject<ImportSettings> {
  public:
    ObjImportPlugin() : ImporterObject(kParts) {}

  private:
    ~ObjImportPlugin() override = default;
};

PluginObject* CreateImporter() {
    return new ObjImportPlugin();
}

constexpr entry::ClassInfo kClassInfo = {"WaveFront (*.obj)", kPluginKindImport, 0x5B177FF5u};
entry::PluginClassDescription g_descriptor(kClassInfo, CreateImporter);

}  // namespace

}  // namespace plugins::objread

PLUGIN_ENTRY_POINTS("WAV Import Lib", plugins::objread::g_descriptor)
