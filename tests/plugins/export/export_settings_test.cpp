#include "export/export_settings.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace {

class ExportSettingsTest : public pluginsupport::ConfigHomeTest {};

TEST_F(ExportSettingsTest, DefaultsPerPlugin) {
    const struct {
        const ExporterIdentity& identity;
        const char* log;
        const char* filter;
        const char* extension;
    } cases[] = {
        {kObjWriteIdentity, "objwrite.log",
         "WaveFront File     (*.obj)|*.obj|All Files (*.*)|*.*||", "obj"},
        {kGlWriteIdentity, "glwrite.log", "OpenGL Source File     (*.c)|*.c|All Files (*.*)|*.*||",
         "c"},
    };
    for (const auto& c : cases) {
        ExportSettings settings(c.identity);
        EXPECT_EQ(settings.logfilename, c.log);
        EXPECT_STREQ(settings.filter, c.filter);
        EXPECT_EQ(settings.defaultExtension, c.extension);
        EXPECT_EQ(settings.smooth_angle, 70.0);
        EXPECT_EQ(settings.path, "");
        EXPECT_EQ(settings.file_name, "");
        EXPECT_EQ(settings.size_value, 1.0);
        EXPECT_EQ(settings.ld_mode, 0);
    }
}

TEST_F(ExportSettingsTest, SpecificSettingsSurviveTheNextOperationPerPlugin) {
    {
        ExportSettings settings(kObjWriteIdentity);
        settings.SetPath("/data/out");
        settings.SetFileName("/data/out/cube.obj");
        settings.SetOptions(1, 2, 1, 1, 2.5, "mine.log", -12.25);
    }
    ExportSettings again(kObjWriteIdentity);
    EXPECT_EQ(again.path, "/data/out");
    EXPECT_EQ(again.file_name, "/data/out/cube.obj");
    std::int16_t verbose = 0, swap = 0, unify = 0, ld = 0;
    double size = 0, smooth = 0;
    std::string log;
    again.GetOptions(verbose, swap, unify, ld, size, log, smooth);
    EXPECT_EQ(verbose, 1);
    EXPECT_EQ(swap, 2);
    EXPECT_EQ(unify, 1);  // kept, though the exporters never apply it
    EXPECT_EQ(ld, 1);
    EXPECT_EQ(size, 2.5);
    EXPECT_EQ(log, "mine.log");
    EXPECT_EQ(smooth, -12.25);

    // The other exporter keeps its own key.
    ExportSettings other(kGlWriteIdentity);
    EXPECT_EQ(other.file_name, "");
    EXPECT_EQ(other.smooth_angle, 70.0);
}

}  // namespace

}  // namespace plugins
