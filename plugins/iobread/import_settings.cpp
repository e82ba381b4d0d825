#include "iobread/import_settings.h"

#include "framework/settings_store.h"

namespace plugins::iobread {

ImportSettings::ImportSettings() : ImportFileSettings(kPluginName, kDefaultLogFile, kImportFilter) {
    // The base read unify_mode with its default of off; a stored value wins
    // again here, and only a missing one turns into on.
    ReadSettingInt(kPluginName, kCommonSettings, "unify_mode", 1, unify_mode);
}

}  // namespace plugins::iobread
