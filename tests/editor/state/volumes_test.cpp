#include "state/volumes.h"

#include <gtest/gtest.h>

namespace tessvane {
namespace {

TEST(Volumes, NamesAreHeldWithTheirColonAndRefusedWhenTheFileCouldNotHoldThem) {
    const struct {
        const char* given;
        const char* held;  // null: refused
    } cases[] = {
        {"DH0:", "DH0:"},  {"dh0", "dh0:"},  {" C: ", "C:"},    {"Imagine:", "Imagine:"},
        {"", nullptr},     {":", nullptr},   {"A:B", nullptr},  {"Work/Sub", nullptr},
        {"C:\\", nullptr}, {"a,b", nullptr}, {"a\tb", nullptr}, {"Disk\x7f", nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> held = NormalizeVolumeName(c.given);
        if (c.held == nullptr) {
            EXPECT_FALSE(held) << c.given;
        } else {
            EXPECT_EQ(held.value_or("(refused)"), c.held) << c.given;
        }
    }
}

TEST(Volumes, SettingANameThatIsMappedReplacesItsDirectoryInPlace) {
    VolumeList volumes;
    ASSERT_TRUE(SetVolume(volumes, "DH0", "/a"));
    ASSERT_TRUE(SetVolume(volumes, "C:", "/c"));
    ASSERT_TRUE(SetVolume(volumes, "dh0:", "/b"));
    EXPECT_FALSE(SetVolume(volumes, "D:", ""));
    EXPECT_FALSE(SetVolume(volumes, "Work/x", "/w"));
    ASSERT_EQ(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].Name, "DH0:");
    EXPECT_EQ(volumes[0].Directory, "/b");
    EXPECT_EQ(FindVolume(volumes, "c"), 1u);
    EXPECT_FALSE(FindVolume(volumes, "D:"));
}

}  // namespace
}  // namespace tessvane
