// The terminal on which the plug-ins' dialogs run.
//
// The plug-ins' dialogs (configuration, help, progress, open and save) are
// forms on the terminal. They read and write through a Terminal, so a test,
// or a host with its own console, can hand them other streams and say
// whether those are interactive.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace plugins {

// Dialog results, the ids of the OK and Cancel buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

struct Terminal {
    std::istream* in;     // answers typed by the user
    std::ostream* out;    // forms and texts the user asked for
    std::ostream* err;    // progress, prompts of file dialogs, messages
    bool in_is_terminal;  // a person types the input (else a script or file)
    bool errIsTerminal;   // err is shown on a terminal that can redraw a line
};

// The terminal the dialogs use unless they are given one: standard input,
// output and error, each tested with isatty when first asked for.
Terminal& CurrentTerminal();

// Makes term the terminal of every dialog created afterwards; null goes back
// to the standard streams. term must outlive its use.
void SetCurrentTerminal(Terminal* term);

// Reads one line without its line end (a CR before the LF goes too).
// Returns false at the end of the input.
bool ReadAnswer(Terminal& term, std::string& line);

// text as it may be shown on a terminal: every control character (bytes
// below 0x20, DEL, and U+0080..U+009F written in UTF-8) becomes '?'; other
// bytes, UTF-8 letters included, stay as they are. Names that reach the dialogs come from
// files of unknown origin; an escape sequence inside a group name must not
// reach the terminal, where it could move the cursor, retitle the window or
// worse.
std::string TerminalSafe(std::string_view text);

// A message box with an OK button: the caption and text on err, each shown
// through TerminalSafe.
void ShowMessageBox(Terminal& term, const char* text, const char* caption);

// The system's default beep: the terminal bell on err.
void Beep(Terminal& term);

}  // namespace plugins
