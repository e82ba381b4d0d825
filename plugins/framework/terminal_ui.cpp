#include "framework/terminal_ui.h"

#include <iostream>

#include <unistd.h>

namespace plugins {

namespace {

Terminal* g_current = nullptr;

Terminal& StandardTerminal() {
    static Terminal standard{&std::cin, &std::cout, &std::cerr, isatty(STDIN_FILENO) != 0,
                             isatty(STDERR_FILENO) != 0};
    return standard;
}

}  // namespace

Terminal& CurrentTerminal() {
    return g_current != nullptr ? *g_current : StandardTerminal();
}

void SetCurrentTerminal(Terminal* term) {
    g_current = term;
}

bool ReadAnswer(Terminal& term, std::string& line) {
    // Whatever was prompted must be visible before the user answers.
    term.out->flush();
    term.err->flush();
    if (!std::getline(*term.in, line)) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

std::string TerminalSafe(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            shown += '?';
        } else if (byte == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F in UTF-8: the 8-bit controls (CSI, OSC, ...),
            // which some terminals obey as well.
            shown += '?';
            ++i;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

void ShowMessageBox(Terminal& term, const char* text, const char* caption) {
    *term.err << TerminalSafe(caption != nullptr ? caption : "") << ": "
              << TerminalSafe(text != nullptr ? text : "") << '\n';
    term.err->flush();
}

void Beep(Terminal& term) {
    *term.err << '\a';
    term.err->flush();
}

}  // namespace plugins
