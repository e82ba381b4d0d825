// Writing one value of a key file leaves every other line as it was, byte for
// byte (an input found by fuzzing the store).
#include "framework/settings_store.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace fs = std::filesystem;

namespace {

class SettingsStoreRewriteTest : public pluginsupport::ConfigHomeTest {};

TEST_F(SettingsStoreRewriteTest, OtherLinesKeepTheirOwnCarriageReturns) {
    const fs::path file = ConfigHome() / "Orrin Software" / "objread" / kCommonSettings;
    fs::create_directories(file.parent_path());
    // ld_mode's value is "1\r": a CR of its own before the line's CR LF.
    pluginsupport::WriteFileBytes(file,
                                  "# class: Converter\r\nld_mode=1\r\r\nswap_mode=1\r\nlast=x\r");
    std::string before;
    ReadSettingText("objread", kCommonSettings, "ld_mode", nullptr, before, 259);
    ASSERT_EQ(before, "1\r");

    ASSERT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 1);
    std::string after;
    ReadSettingText("objread", kCommonSettings, "ld_mode", nullptr, after, 259);
    EXPECT_EQ(after, "1\r");
    EXPECT_EQ(pluginsupport::ReadFileBytes(file),
              "# class: Converter\r\nld_mode=1\r\r\nswap_mode=3\nlast=x\r\n");
}

}  // namespace

}  // namespace plugins
