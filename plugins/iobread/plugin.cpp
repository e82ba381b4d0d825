// iobread's entry points: the four exports, the class descriptor and the
// importer object the host creates through it.
#include <cstdint>

#include "entry/class_descriptor.h"
#include "entry/importer_object.h"
#include "entry/operations.h"
#include "framework/config_dialog.h"
#include "framework/contract.h"
#include "iobread/import_run.h"
#include "iobread/import_settings.h"
#include "iobread/strings.h"

namespace plugins::iobread {

namespace {

void ConfigureSettings() {
    entry::RunConfigure<ImportSettings>(
        IobReadStrings(), AddImportCommonFields,
        [](const ImportSettings& s, ConfigMembers& m) {
            int verbose = 0, swap = 0, unify = 0, ld = 0;
            s.GetCommon(verbose, swap, unify, ld, m.size_value, m.logfilename);
            m.verbose = static_cast<std::int16_t>(verbose);
            m.swap = static_cast<std::int16_t>(swap);
            m.unify = static_cast<std::int16_t>(unify);
        },
        [](ImportSettings& s, const ConfigMembers& m) {
            // The importer writes no text files: no line delimiter.
            s.SetCommon(m.verbose, m.swap, m.unify, 0, m.size_value, m.logfilename.c_str());
        });
}

const entry::ImporterParts<ImportSettings> kParts = {IobReadStrings(), ImportRun,
                                                     ConfigureSettings};

// Only Delete() ends it, as the host contract requires.
class IobImportPlugin final : public entry::ImporterObject<ImportSettings> {
  public:
    IobImportPlugin() : ImporterObject(kParts) {}

  private:
    ~IobImportPlugin() override = default;
};

PluginObject* CreateImporter() {
    return new IobImportPlugin();
}

constexpr entry::ClassInfo kClassInfo = {"Imagine Object (*.iob)", kPluginKindImport, 0x10B4EAD1u};
entry::PluginClassDescription g_descriptor(kClassInfo, CreateImporter);

}  // namespace

}  // namespace plugins::iobread

PLUGIN_ENTRY_POINTS("IOB Import Lib", plugins::iobread::g_descriptor)
