// The fixed sequences of the interactive plug-in operations that all
// plug-ins share: help, configuration, and the progress dialog of a run.
#pragma once

#include <cstdlib>
#include <new>
#include <utility>

#include "framework/config_dialog.h"
#include "framework/help_dialog.h"
#include "framework/plugin_strings.h"
#include "framework/progress.h"

namespace plugins::entry {

// Runs one plug-in operation for the host. Running out of memory ends the
// process with exit code 1, as every allocation of the plug-ins does, rather
// than letting an exception cross into a host that cannot expect one.
template <typename Operation>
decltype(auto) HostCall(Operation&& operation) {
    try {
        return std::forward<Operation>(operation)();
    } catch (const std::bad_alloc&) {
        std::exit(1);
    }
}

// ShowHelp: the help dialog with the plug-in's text, run modally.
void RunShowHelp(const PluginStrings& strings);

// Configure: builds a settings object (which loads its sections), copies
// its values into the form's members with get, lets addFields lay out the
// form, runs it and, only on OK, copies the members back with set. The
// form ends first, then the settings object, which saves both sections:
// after Cancel the stored settings are written back unchanged.
template <typename Settings, typename Get, typename Set>
void RunConfigure(const PluginStrings& strings, void (*addFields)(ConfigDialog&, ConfigMembers&),
                  Get get, Set set) {
    Settings settings;
    ConfigMembers members;
    get(std::as_const(settings), members);
    ConfigDialog dialog(DialogCaption(strings, PluginStringId::Configuration));
    addFields(dialog, members);
    if (dialog.DoModal() == kIdOk) {
        set(settings, std::as_const(members));
    }
}

// The progress dialog of one run ("WAV Import"), current and open while the
// object lives, and the callbacks table that feeds it.
class ProgressSession {
  public:
    // meshBar: the importers' dialog has a second bar for the current mesh;
    // the exporters' table then has no mesh function.
    ProgressSession(const PluginStrings& strings, bool meshBar);
    ~ProgressSession();
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    const ProgressCallbacks* Callbacks() const { return &callbacks_; }
    ProgressDialog& Dialog() { return dialog_; }

  private:
    ProgressDialog dialog_;
    ProgressCallbacks callbacks_;
};

}  // namespace plugins::entry
