#include "framework/config_dialog.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scripted_terminal.h"

namespace plugins {

using pluginsupport::ScriptedTerminal;

namespace {

ConfigMembers StoredMembers() {
    ConfigMembers m;
    m.logfilename = "objread.log";
    m.size_value = 1.23456;
    m.obj_mode = 1;
    return m;
}

}  // namespace

TEST(ConfigDialogTest, ImporterFormEditsEveryMember) {
    ScriptedTerminal term("3 2.5\n1\n2\n5 3\n6 6\n4 /tmp/logs/import.log\nok\n");
    ConfigMembers m = StoredMembers();
    ConfigDialog dialog("WAV Configuration");
    AddImportFields(dialog, m);

    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(m.size_value, 2.5);
    EXPECT_EQ(m.verbose, 1);
    EXPECT_EQ(m.unify, 1);
    EXPECT_EQ(m.swap, 2);
    EXPECT_EQ(m.obj_mode, 5);
    EXPECT_EQ(m.logfilename, "/tmp/logs/import.log");
    EXPECT_EQ(term.Err(), "");

    const std::string out = term.Out();
    // The form as first shown, values with three decimals.
    EXPECT_NE(out.find("WAV Configuration\nCommon\n"
                       "  1  [ ] Verbose\n"
                       "  2  [ ] Unify\n"
                       "  3  Size Value: 1.235\n"
                       "  4  Log File Name: objread.log\n"
                       "  5  Swap Mode: (*) No Swap  ( ) X <-> Y  ( ) X <-> Z  ( ) Y <-> Z\n"
                       "Specific\n"
                       "  6  Split by: ( ) nothing  (*) object  ( ) group  ( ) smoothing group"
                       "  ( ) usemap  ( ) usemtl\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  3  Size Value: 2.500\n"), std::string::npos);
}

// A stored log file name longer than the form holds comes in cut, as the
// form's fixed buffer takes it, and goes back cut after OK.
TEST(ConfigDialogTest, ALongerTextIsCutWhenItsFieldIsAdded) {
    ScriptedTerminal term("ok\n");
    ConfigMembers m = StoredMembers();
    m.logfilename = std::string(kConfigLogFileNameChars, 'L') + "XY";
    ConfigDialog dialog("WAV Configuration");
    AddImportFields(dialog, m);
    EXPECT_EQ(m.logfilename, std::string(kConfigLogFileNameChars, 'L'));
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(m.logfilename, std::string(kConfigLogFileNameChars, 'L'));
    EXPECT_EQ(term.Out().find("XY"), std::string::npos);
}

TEST(ConfigDialogTest, NumberFieldsTakeWhatScanfReads) {
    struct Case {
        const char* typed;
        double expected;
        bool invalid;
    };
    const std::vector<Case> cases = {
        {"2.5", 2.5, false},    {"2.5cm", 2.5, false},  {"  -7", -7.0, false},
        {"1e-3", 0.001, false}, {"0.0004", 0.0, false},  // the field keeps three decimals
        {"", 1.235, false},                              // empty keeps the old value
        {"abc", 1.235, true},                            // not a number: bell, message, old value
        {",5", 1.235, true},
    };
    for (const Case& c : cases) {
        // Field 3 asked for its value on a line of its own.
        ScriptedTerminal term(std::string("3\n") + c.typed + "\nok\n");
        ConfigMembers m = StoredMembers();
        ConfigDialog dialog("WAV Configuration");
        AddImportFields(dialog, m);
        EXPECT_EQ(dialog.DoModal(), kIdOk) << c.typed;
        EXPECT_DOUBLE_EQ(m.size_value, c.expected) << c.typed;
        EXPECT_EQ(term.Err(), c.invalid ? "\aError: Invalid Input Format!\n" : "") << c.typed;
    }
}

TEST(ConfigDialogTest, ExporterFormAndCancel) {
    ScriptedTerminal term("4 2\n6 45\n5 " + std::string(300, 'L') + "\n3 9\ncancel\nok\n");
    ConfigMembers m = StoredMembers();
    m.unify = 1;
    ConfigDialog dialog("WAV Configuration");
    AddExportFields(dialog, m);

    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_EQ(m.ld_mode, 1);
    EXPECT_EQ(m.smooth_angle, 45.0);
    EXPECT_EQ(m.logfilename, std::string(258, 'L'));
    EXPECT_EQ(m.swap, 0);  // there is no ninth swap mode
    EXPECT_EQ(m.unify, 1);
    EXPECT_EQ(term.Err(), "\aError: Invalid Input Format!\n");
    EXPECT_EQ(term.Out().find("Unify"), std::string::npos);
    EXPECT_EQ(term.Unread(), "ok\n");

    // The end of the input is a Cancel too.
    ScriptedTerminal eof("1\n");
    ConfigDialog again("WAV Configuration");
    AddExportFields(again, m);
    EXPECT_EQ(again.DoModal(), kIdCancel);
    EXPECT_EQ(m.verbose, 1);
}

TEST(ConfigDialogTest, NumbersThatNameNoFieldChangeNothing) {
    // 4294967297 and 4294967298 are 1 and 2 once cut to 32 bits.
    ScriptedTerminal term("4294967297\n4294967298 1\n0\n-1\n7 1\n3x\nok\n");
    ConfigMembers m = StoredMembers();
    ConfigDialog dialog("WAV Configuration");
    AddImportFields(dialog, m);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(m.verbose, 0);
    EXPECT_EQ(m.unify, 0);
    for (const char* typed : {"4294967297", "4294967298 1", "0", "-1", "7 1", "3x"}) {
        EXPECT_NE(term.Out().find(std::string("No such field: ") + typed + "\n"), std::string::npos)
            << typed;
    }
}

TEST(ConfigDialogTest, StoredTextsShowWithoutTheirControlCharacters) {
    ScriptedTerminal term("4\n\nok\n");
    ConfigMembers m = StoredMembers();
    m.logfilename = "log\x1b[2J\x07.txt";
    ConfigDialog dialog("WAV Configuration");
    AddImportFields(dialog, m);
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(m.logfilename, "log\x1b[2J\x07.txt");  // the value itself is kept
    EXPECT_NE(term.Out().find("  4  Log File Name: log?[2J?.txt\n"), std::string::npos);
    EXPECT_NE(term.Out().find("Log File Name [log?[2J?.txt]: "), std::string::npos);
    EXPECT_EQ(term.Out().find('\x1b'), std::string::npos);
}

}  // namespace plugins
