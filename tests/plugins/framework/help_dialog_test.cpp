#include "framework/help_dialog.h"

#include <gtest/gtest.h>

#include "support/scripted_terminal.h"

namespace plugins {

using pluginsupport::ScriptedTerminal;

TEST(HelpDialogTest, PrintsCaptionAndTextAndWaitsOnlyForAPerson) {
    const PluginStrings strings{"Imports WaveFront files.\nSecond line.", "WAV", "Import"};
    {
        ScriptedTerminal person("\nmore\n", true);
        EXPECT_EQ(HelpDialog(strings).DoModal(), kIdOk);
        EXPECT_EQ(person.Out(), "WAV Help\n\nImports WaveFront files.\nSecond line.\n[OK] ");
        EXPECT_EQ(person.Unread(), "more\n");
    }
    ScriptedTerminal script("more\n", false);
    EXPECT_EQ(HelpDialog(strings).DoModal(), kIdOk);
    EXPECT_EQ(script.Out(), "WAV Help\n\nImports WaveFront files.\nSecond line.\n");
    EXPECT_EQ(script.Unread(), "more\n");
}

TEST(HelpDialogTest, CaptionsJoinShortNameAndWord) {
    const PluginStrings strings{"help", "OGL", "Export"};
    EXPECT_EQ(DialogCaption(strings, PluginStringId::Configuration), "OGL Configuration");
    EXPECT_EQ(DialogCaption(strings, PluginStringId::Action), "OGL Export");
    EXPECT_STREQ(LoadPluginString(strings, PluginStringId::Progress), "Progress");
    EXPECT_STREQ(LoadPluginString(strings, PluginStringId::Import), "Import");
    EXPECT_EQ(LoadPluginString(strings, PluginStringId{6}), nullptr);
}

}  // namespace plugins
