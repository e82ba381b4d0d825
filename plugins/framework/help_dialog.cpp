#include "framework/help_dialog.h"

#include <ostream>
#include <string>

namespace plugins {

HelpDialog::HelpDialog(const PluginStrings& strings, Terminal& term)
    : strings_(strings), term_(term) {}

int HelpDialog::DoModal() {
    std::ostream& out = *term_.out;
    const char* text = LoadPluginString(strings_, PluginStringId::HelpText);
    std::string body = text != nullptr ? text : "";
    if (!body.empty() && body.back() != '\n') {
        body += '\n';
    }
    out << DialogCaption(strings_, PluginStringId::Help) << "\n\n" << body;
    if (term_.in_is_terminal) {
        out << "[OK] ";
        std::string ignored;
        ReadAnswer(term_, ignored);
    }
    out.flush();
    return kIdOk;
}

}  // namespace plugins
