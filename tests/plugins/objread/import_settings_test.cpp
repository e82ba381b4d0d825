// The importer's settings in the store: defaults, what a settings object
// writes when it ends, and what a confirmed form changes.
#include <string>

#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "objread/import_settings.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

class ImportSettingsTest : public pluginsupport::ConfigHomeTest {
  protected:
    std::string Stored(const char* section, const char* name) {
        RegistryKey key(kSettingsKeyClass);
        key.OpenOrCreate(SettingsKeyPath("objread", section).c_str());
        return key.ReadValueText(name).value_or("<missing>");
    }
};

TEST_F(ImportSettingsTest, DefaultsAreWrittenWhenTheObjectEnds) {
    {
        objread::ImportSettings settings;
        EXPECT_EQ(settings.obj_mode, 1);
        EXPECT_EQ(settings.path, "");
        EXPECT_EQ(settings.file_name, "");
        EXPECT_EQ(settings.logfilename, "objread.log");
        EXPECT_STREQ(settings.filter,
                     "WaveFront File            (*.obj)|*.obj|All Files (*.*)|*.*||");
    }
    EXPECT_EQ(Stored(kSpecificSettings, "obj_mode"), "1");
    EXPECT_EQ(Stored(kSpecificSettings, "path"), "");
    EXPECT_EQ(Stored(kCommonSettings, "size_value"), "1.000000");
    EXPECT_EQ(Stored(kCommonSettings, "logfilename"), "objread.log");
}

TEST_F(ImportSettingsTest, SetOptionsKeepsLineEndsAtZeroAndRoundTrips) {
    WriteSettingInt("objread", kCommonSettings, "ld_mode", 2);
    {
        objread::ImportSettings settings;
        EXPECT_EQ(settings.ld_mode, 2);
        settings.SetOptions(1, 3, 1, 2.5, "run.log", 5);
        settings.SetFileName("/data/cube.obj");
        settings.SetPath("/data");
        EXPECT_EQ(settings.ld_mode, 0);
    }
    objread::ImportSettings again;
    int verbose = 0, swap = 0, unify = 0, mode = 0;
    double size = 0.0;
    std::string log;
    again.GetOptions(verbose, swap, unify, size, log, mode);
    EXPECT_EQ(verbose, 1);
    EXPECT_EQ(swap, 3);
    EXPECT_EQ(unify, 1);
    EXPECT_EQ(size, 2.5);
    EXPECT_EQ(log, "run.log");
    EXPECT_EQ(mode, 5);
    EXPECT_EQ(again.ld_mode, 0);
    EXPECT_EQ(again.file_name, "/data/cube.obj");
    EXPECT_EQ(again.path, "/data");
}

}  // namespace

}  // namespace plugins
