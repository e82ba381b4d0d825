#include "framework/config_dialog.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace plugins {

namespace {

std::string Trim(const std::string& s) {
    const std::size_t begin = s.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return {};
    }
    const std::size_t end = s.find_last_not_of(" \t");
    return s.substr(begin, end - begin + 1);
}

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return s;
}

std::string ThreeDecimals(double value) {
    char small[64];
    const int n = std::snprintf(small, sizeof small, "%.3f", value);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof small) {
        return small;
    }
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    std::snprintf(text.data(), text.size() + 1, "%.3f", value);
    return text;
}

// Reads a whole decimal number the way "%lf" does; false when the text does
// not start with one.
bool ScanNumber(const std::string& text, double& value) {
    return std::sscanf(text.c_str(), "%lf", &value) == 1;
}

}  // namespace

ConfigDialog::ConfigDialog(std::string caption, Terminal& term)
    : caption_(std::move(caption)), term_(term) {}

void ConfigDialog::AddGroup(std::string title) {
    Field f;
    f.kind = Kind::Group;
    f.label = std::move(title);
    fields_.push_back(std::move(f));
}

void ConfigDialog::AddCheck(std::string label, std::int16_t* value) {
    Field f;
    f.kind = Kind::Check;
    f.label = std::move(label);
    f.flag = value;
    fields_.push_back(std::move(f));
}

void ConfigDialog::AddChoice(std::string label, std::vector<std::string> options,
                             std::int16_t* value) {
    Field f;
    f.kind = Kind::Choice;
    f.label = std::move(label);
    f.options = std::move(options);
    f.flag = value;
    fields_.push_back(std::move(f));
}

void ConfigDialog::AddNumber(std::string label, double* value) {
    Field f;
    f.kind = Kind::Number;
    f.label = std::move(label);
    f.number = value;
    fields_.push_back(std::move(f));
}

void ConfigDialog::AddText(std::string label, std::string* value, std::size_t maxChars) {
    Field f;
    f.kind = Kind::Text;
    f.label = std::move(label);
    f.text = value;
    f.maxChars = maxChars;
    if (value->size() > maxChars) {
        value->resize(maxChars);
    }
    fields_.push_back(std::move(f));
}

ConfigDialog::Field* ConfigDialog::FieldByNumber(int number) {
    int n = 0;
    for (Field& f : fields_) {
        if (f.kind != Kind::Group && ++n == number) {
            return &f;
        }
    }
    return nullptr;
}

void ConfigDialog::Show() {
    std::ostream& out = *term_.out;
    out << caption_ << '\n';
    int n = 0;
    for (const Field& f : fields_) {
        if (f.kind == Kind::Group) {
            out << f.label << '\n';
            continue;
        }
        out << "  " << ++n << "  ";
        switch (f.kind) {
            case Kind::Check:
                out << (*f.flag != 0 ? "[x] " : "[ ] ") << f.label;
                break;
            case Kind::Choice:
                out << f.label << ':';
                for (std::size_t i = 0; i < f.options.size(); ++i) {
                    out << (i == 0 ? " " : "  ")
                        << (static_cast<int>(i) == *f.flag ? "(*) " : "( ) ") << f.options[i];
                }
                break;
            case Kind::Number:
                out << f.label << ": " << f.shown;
                break;
            case Kind::Text:
                out << f.label << ": " << TerminalSafe(*f.text);
                break;
            case Kind::Group:
                break;
        }
        out << '\n';
    }
}

void ConfigDialog::InvalidInput() {
    Beep(term_);
    ShowMessageBox(term_, "Invalid Input Format!", "Error");
}

void ConfigDialog::EnterNumber(Field& field, const std::string& typed) {
    const std::string text = typed.substr(0, 254);
    double value = 0;
    if (ScanNumber(text, value)) {
        *field.number = value;
    } else if (!Trim(text).empty()) {
        InvalidInput();
    }
    // The field shows the value with three decimals, and that is the value
    // the member keeps.
    field.shown = ThreeDecimals(*field.number);
    *field.number = std::strtod(field.shown.c_str(), nullptr);
}

void ConfigDialog::Change(Field& field, bool has_value, const std::string& value) {
    std::string answer = value;
    if (!has_value && field.kind != Kind::Check) {
        std::ostream& out = *term_.out;
        out << field.label;
        if (field.kind == Kind::Choice) {
            out << " (";
            for (std::size_t i = 0; i < field.options.size(); ++i) {
                out << (i == 0 ? "" : ", ") << i + 1 << ' ' << field.options[i];
            }
            out << ')';
        }
        out << " ["
            << (field.kind == Kind::Number ? field.shown
                : field.kind == Kind::Text ? TerminalSafe(*field.text)
                                           : std::to_string(*field.flag + 1))
            << "]: ";
        if (!ReadAnswer(term_, answer)) {
            return;
        }
        answer = Trim(answer);
    }

    switch (field.kind) {
        case Kind::Check: {
            const std::string v = LowerAscii(answer);
            if (!has_value) {
                *field.flag = *field.flag != 0 ? 0 : 1;
            } else if (v == "1" || v == "on" || v == "x" || v == "yes") {
                *field.flag = 1;
            } else if (v == "0" || v == "off" || v == "no") {
                *field.flag = 0;
            } else {
                InvalidInput();
            }
            break;
        }
        case Kind::Choice: {
            if (answer.empty()) {
                break;
            }
            char* end = nullptr;
            const long k = std::strtol(answer.c_str(), &end, 10);
            if (*end == '\0' && k >= 1 && k <= static_cast<long>(field.options.size())) {
                *field.flag = static_cast<std::int16_t>(k - 1);
            } else {
                InvalidInput();
            }
            break;
        }
        case Kind::Number:
            EnterNumber(field, answer);
            break;
        case Kind::Text:
            if (!answer.empty()) {
                *field.text = answer.substr(0, field.maxChars);
            }
            break;
        case Kind::Group:
            break;
    }
}

int ConfigDialog::DoModal() {
    for (Field& f : fields_) {
        if (f.kind == Kind::Number) {
            f.shown = ThreeDecimals(*f.number);
        }
    }
    Show();
    std::string line;
    for (;;) {
        *term_.out << "Field number to change (\"3 2.5\" sets it), OK or Cancel: ";
        if (!ReadAnswer(term_, line)) {
            *term_.out << '\n';
            return kIdCancel;
        }
        const std::string command = Trim(line);
        const std::string word = LowerAscii(command);
        if (word == "ok" || word == "o") {
            return kIdOk;
        }
        if (word == "cancel" || word == "c") {
            return kIdCancel;
        }
        if (command.empty()) {
            continue;
        }
        char* end = nullptr;
        const long number = std::strtol(command.c_str(), &end, 10);
        // A number beyond the fields must not wrap round onto one of them.
        const bool numbered = end != command.c_str() &&
                              (*end == '\0' || *end == ' ' || *end == '\t') && number >= 1 &&
                              number <= static_cast<long>(fields_.size());
        Field* field = numbered ? FieldByNumber(static_cast<int>(number)) : nullptr;
        if (field == nullptr) {
            *term_.out << "No such field: " << command << '\n';
            continue;
        }
        const std::string value = Trim(std::string(end));
        Change(*field, !value.empty(), value);
        Show();
    }
}

void AddImportCommonFields(ConfigDialog& dialog, ConfigMembers& m) {
    dialog.AddGroup("Common");
    dialog.AddCheck("Verbose", &m.verbose);
    dialog.AddCheck("Unify", &m.unify);
    dialog.AddNumber("Size Value", &m.size_value);
    dialog.AddText("Log File Name", &m.logfilename, kConfigLogFileNameChars);
    dialog.AddChoice("Swap Mode", {"No Swap", "X <-> Y", "X <-> Z", "Y <-> Z"}, &m.swap);
}

void AddImportFields(ConfigDialog& dialog, ConfigMembers& m) {
    AddImportCommonFields(dialog, m);
    dialog.AddGroup("Specific");
    dialog.AddChoice("Split by",
                     {"nothing", "object", "group", "smoothing group", "usemap", "usemtl"},
                     &m.obj_mode);
}

void AddExportFields(ConfigDialog& dialog, ConfigMembers& m) {
    dialog.AddGroup("Common");
    dialog.AddCheck("Verbose", &m.verbose);
    dialog.AddNumber("Size Value", &m.size_value);
    dialog.AddChoice("Swap Mode", {"No Swap", "X <-> Y", "X <-> Z", "Y <-> Z"}, &m.swap);
    dialog.AddChoice("Line Delimiter", {"DOS", "UNIX", "MAC"}, &m.ld_mode);
    dialog.AddText("Log File Name", &m.logfilename, kConfigLogFileNameChars);
    dialog.AddGroup("Specific");
    dialog.AddNumber("Smooth Angle", &m.smooth_angle);
}

}  // namespace plugins
