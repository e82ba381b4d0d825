#include "entry/operations.h"

namespace plugins::entry {

void RunShowHelp(const PluginStrings& strings) {
    HelpDialog dialog(strings);
    dialog.DoModal();
}

ProgressSession::ProgressSession(const PluginStrings& strings, bool meshBar)
    : dialog_(DialogCaption(strings, PluginStringId::Action), meshBar),
      callbacks_(meshBar ? ImportProgressCallbacks() : ExportProgressCallbacks()) {
    SetCurrentProgressDialog(&dialog_);
    // A dialog that fails to open still takes the run's reports; the run
    // goes on either way.
    dialog_.OpenModeless();
}

ProgressSession::~ProgressSession() {
    dialog_.Close();
    SetCurrentProgressDialog(nullptr);
}

}  // namespace plugins::entry
