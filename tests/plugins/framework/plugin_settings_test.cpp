#include "framework/plugin_settings.h"

#include <string>

#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "support/temp_dir.h"

namespace plugins {

namespace fs = std::filesystem;
using pluginsupport::ConfigHomeTest;
using pluginsupport::ReadFileBytes;

namespace {

class PluginSettingsTest : public ConfigHomeTest {
  protected:
    std::string Stored(const char* name) {
        RegistryKey key(kSettingsKeyClass);
        EXPECT_EQ(key.OpenOrCreate(SettingsKeyPath("objread", kCommonSettings).c_str()), 1);
        return key.ReadValueText(name).value_or("<missing>");
    }
};

}  // namespace

TEST_F(PluginSettingsTest, AFreshObjectHasTheDefaultsAndStoresThemWhenDestroyed) {
    {
        PluginSettings settings("objread", "objread.log");
        EXPECT_EQ(settings.verbose_mode, 0);
        EXPECT_EQ(settings.swap_mode, 0);
        EXPECT_EQ(settings.unify_mode, 0);
        EXPECT_EQ(settings.ld_mode, 0);
        EXPECT_EQ(settings.size_value, 1.0);
        EXPECT_EQ(settings.logfilename, "objread.log");
    }
    EXPECT_EQ(ReadFileBytes(ConfigHome() / "Orrin Software" / "objread" / "Common Settings"),
              "# class: Converter\n"
              "verbose_mode=0\n"
              "swap_mode=0\n"
              "unify_mode=0\n"
              "ld_mode=0\n"
              "size_value=1.000000\n"
              "logfilename=objread.log\n");
}

TEST_F(PluginSettingsTest, ValuesSetInOneOperationAreLoadedByTheNext) {
    {
        PluginSettings settings("objread", "objread.log");
        settings.SetCommon(1, 2, 1, 1, 1.23456789, "/var/log/import.log");
    }
    PluginSettings settings("objread", "objread.log");
    int verbose = 0, swap = 0, unify = 0, ld = 0;
    double size = 0;
    std::string logfile;
    settings.GetCommon(verbose, swap, unify, ld, size, logfile);
    EXPECT_EQ(verbose, 1);
    EXPECT_EQ(swap, 2);
    EXPECT_EQ(unify, 1);
    EXPECT_EQ(ld, 1);
    EXPECT_DOUBLE_EQ(size, 1.234568);
    EXPECT_EQ(logfile, "/var/log/import.log");

    // Other plug-ins keep their own key.
    PluginSettings other("objwrite", "objwrite.log");
    EXPECT_EQ(other.swap_mode, 0);
    EXPECT_EQ(other.logfilename, "objwrite.log");
}

TEST_F(PluginSettingsTest, AnOverlongStoredLogFileNameCountsAsMissing) {
    const std::string long_name(300, 'x');
    WriteSettingText("objread", kCommonSettings, "logfilename", long_name.c_str());
    WriteSettingDouble("objread", kCommonSettings, "size_value", 0.0000004);
    {
        PluginSettings settings("objread", "objread.log");
        EXPECT_EQ(settings.logfilename, "objread.log");
        EXPECT_EQ(settings.size_value, 0.0);
    }
    EXPECT_EQ(Stored("logfilename"), "objread.log");
}

}  // namespace plugins
