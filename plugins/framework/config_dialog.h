// The configuration dialog of a plug-in, as a form on the terminal.
//
// The dialog is a list of fields, each bound to one member that the caller
// owns. A change typed into a field is stored in its member at once; OK and
// Cancel only end the dialog, so after Cancel the caller simply does not
// read the members back.
//
// The form shows each field with its number:
//
//   WAV Configuration
//   Common
//     1  [x] Verbose
//     3  Size Value: 1.000
//     5  Swap Mode: (*) No Swap  ( ) X <-> Y  ( ) X <-> Z  ( ) Y <-> Z
//
// and reads commands, one a line:
//   <n>          toggles check box n, or asks for the new value of field n;
//   <n> <value>  sets field n to value (a choice by its number, 1 = first);
//   ok / o       accepts (kIdOk);
//   cancel / c   discards (kIdCancel), as does the end of the input.
// A number field reads its text with "%lf": a text without a number beeps,
// shows "Invalid Input Format!" and keeps the old value; an empty text keeps
// it quietly; "2.5cm" gives 2.5. The member then takes its value rounded to
// the three decimals the field shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/terminal_ui.h"

namespace plugins {

class ConfigDialog {
  public:
    explicit ConfigDialog(std::string caption, Terminal& term = CurrentTerminal());

    // A heading above the following fields ("Common", "Specific").
    void AddGroup(std::string title);
    // A check box; *value is 0 or 1.
    void AddCheck(std::string label, std::int16_t* value);
    // Radio buttons; *value is the index of the chosen option.
    void AddChoice(std::string label, std::vector<std::string> options, std::int16_t* value);
    // A number edited in a text field, shown with three decimals.
    void AddNumber(std::string label, double* value);
    // A text field keeping at most maxChars characters; a longer *value is
    // cut to maxChars here, as the form's fixed buffer takes it.
    void AddText(std::string label, std::string* value, std::size_t maxChars);

    // Runs the form until OK or Cancel; returns kIdOk or kIdCancel.
    int DoModal();

    const std::string& Caption() const { return caption_; }

  private:
    enum class Kind { Group, Check, Choice, Number, Text };
    struct Field {
        Kind kind = Kind::Group;
        std::string label;
        std::vector<std::string> options;
        std::int16_t* flag = nullptr;
        double* number = nullptr;
        std::string* text = nullptr;
        std::size_t maxChars = 0;
        std::string shown;  // what a number field displays
    };

    void Show();
    Field* FieldByNumber(int number);
    void Change(Field& field, bool has_value, const std::string& value);
    void EnterNumber(Field& field, const std::string& text);
    void InvalidInput();

    std::string caption_;
    Terminal& term_;
    std::vector<Field> fields_;
};

// The members a plug-in's configuration dialog edits.
struct ConfigMembers {
    std::string logfilename;  // at most 258 characters
    double size_value = 1.0;
    std::int16_t unify = 0;
    std::int16_t swap = 0;
    std::int16_t verbose = 0;
    std::int16_t obj_mode = 0;    // importer: how the file is split
    std::int16_t ld_mode = 0;     // exporters: line delimiter
    std::int16_t iob_format = 0;  // iobwrite: which Imagine versions can read the file
    double smooth_angle = 0.0;    // exporters
};

// Longest log file name the dialog takes.
inline constexpr std::size_t kConfigLogFileNameChars = 258;

// The common part of every importer's form: Verbose, Unify, Size Value,
// Log File Name, Swap Mode.
void AddImportCommonFields(ConfigDialog& dialog, ConfigMembers& members);

// objread's form: the common fields and Specific (Split by).
void AddImportFields(ConfigDialog& dialog, ConfigMembers& members);

// The exporters' form: Common (Verbose, Size Value, Swap Mode, Line
// Delimiter, Log File Name) and Specific (Smooth Angle). There is no Unify
// box: the value is carried through unchanged.
void AddExportFields(ConfigDialog& dialog, ConfigMembers& members);

}  // namespace plugins
