// A terminal for tests: typed answers come from a script, whatever the
// dialogs print is collected, and the terminal is current while it exists.
#pragma once

#include <sstream>
#include <string>

#include "framework/terminal_ui.h"

namespace pluginsupport {

class ScriptedTerminal {
  public:
    // input: what the user types; interactive: whether stdin and stderr
    // count as terminals.
    explicit ScriptedTerminal(const std::string& input, bool interactive = true)
        : in_(input), term_{&in_, &out_, &err_, interactive, interactive} {
        plugins::SetCurrentTerminal(&term_);
    }
    ~ScriptedTerminal() { plugins::SetCurrentTerminal(nullptr); }
    ScriptedTerminal(const ScriptedTerminal&) = delete;
    ScriptedTerminal& operator=(const ScriptedTerminal&) = delete;

    plugins::Terminal& terminal() { return term_; }
    std::string Out() const { return out_.str(); }
    std::string Err() const { return err_.str(); }
    // What the script still holds, unread.
    std::string Unread() {
        std::string rest;
        std::getline(in_, rest, '\0');
        return rest;
    }

  private:
    std::istringstream in_;
    std::ostringstream out_;
    std::ostringstream err_;
    plugins::Terminal term_;
};

}  // namespace pluginsupport
