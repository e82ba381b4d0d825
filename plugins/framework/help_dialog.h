// The help dialog of a plug-in, printed on the terminal.
#pragma once

#include "framework/plugin_strings.h"
#include "framework/terminal_ui.h"

namespace plugins {

class HelpDialog {
  public:
    explicit HelpDialog(const PluginStrings& strings, Terminal& term = CurrentTerminal());

    // Prints the caption (short name + " Help") and the help text on out.
    // On an interactive terminal it waits for Enter, the OK button; a script
    // goes on at once. Returns kIdOk.
    int DoModal();

  private:
    const PluginStrings& strings_;
    Terminal& term_;
};

}  // namespace plugins
