#include "framework/settings_store.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace fs = std::filesystem;
using pluginsupport::ConfigHomeTest;
using pluginsupport::ReadFileBytes;
using pluginsupport::ScopedEnv;
using pluginsupport::WriteFileBytes;

namespace {

class SettingsStoreTest : public ConfigHomeTest {
  protected:
    fs::path SectionFile(const char* section = kCommonSettings) const {
        return ConfigHome() / "Orrin Software" / "objread" / section;
    }
    // Stores the file of objread's common section as a person would write it.
    void StoreByHand(const std::string& bytes) const {
        fs::create_directories(SectionFile().parent_path());
        WriteFileBytes(SectionFile(), bytes);
    }
};

}  // namespace

TEST_F(SettingsStoreTest, ValuesRoundTripThroughTheSectionFile) {
    EXPECT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 1);
    EXPECT_EQ(WriteSettingDouble("objread", kCommonSettings, "size_value", 1.23456789), 1);
    // Line ends, '%' and '=' inside a text survive the file's line format.
    const std::string odd = "C:\\logs\\a=b 100%\nsecond line\r";
    EXPECT_EQ(WriteSettingText("objread", kCommonSettings, "logfilename", odd.c_str()), 1);
    EXPECT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", -7), 1);

    int swap = 0;
    double size = 0;
    std::string text;
    ReadSettingInt("objread", kCommonSettings, "swap_mode", 0, swap);
    ReadSettingDouble("objread", kCommonSettings, "size_value", 0, size);
    ReadSettingText("objread", kCommonSettings, "logfilename", nullptr, text, 259);
    EXPECT_EQ(swap, -7);
    EXPECT_DOUBLE_EQ(size, 1.234568);
    EXPECT_EQ(text, odd);

    // One line per value, rewritten in place.
    EXPECT_EQ(ReadFileBytes(SectionFile()),
              "# class: Converter\n"
              "swap_mode=-7\n"
              "size_value=1.234568\n"
              "logfilename=C:\\logs\\a=b 100%25%0Asecond line%0D\n");
}

TEST_F(SettingsStoreTest, StoredTextsConvertLikeTheCLibrary) {
    StoreByHand(
        "# written by hand\r\n"
        "swap_mode=2xyz\r\n"
        "unify_mode=abc\r\n"
        "ld_mode=99999999999\r\n"
        "size_value=0,5\r\n"
        "verbose_mode= 1\r\n"
        "not a value line\r\n"
        "path=100%sure\r\n");
    struct IntCase {
        const char* name;
        int expected;
    };
    for (const IntCase& c : std::vector<IntCase>{{"swap_mode", 2},
                                                 {"unify_mode", 0},
                                                 {"ld_mode", 2147483647},
                                                 {"verbose_mode", 1},
                                                 {"missing_mode", 42}}) {
        int value = -1;
        EXPECT_EQ(ReadSettingInt("objread", kCommonSettings, c.name, 42, value), 1);
        EXPECT_EQ(value, c.expected) << c.name;
    }
    double size = -1;
    ReadSettingDouble("objread", kCommonSettings, "size_value", 3.0, size);
    EXPECT_EQ(size, 0.0);

    std::string text;
    ReadSettingText("objread", kCommonSettings, "path", nullptr, text, 259);
    EXPECT_EQ(text, "100%sure");
}

namespace {

// A locale whose decimal point is a comma, made for the test: the machine
// need not have one installed. Empty when localedef is missing.
std::string MakeCommaLocale(const fs::path& dir) {
    const fs::path source = dir / "comma.src";
    WriteFileBytes(source,
                   "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\n"
                   "END LC_NUMERIC\n");
    const std::string command = "localedef -c -i '" + source.string() + "' -f ANSI_X3.4-1968 '" +
                                (dir / "xx_XX").string() + "' >/dev/null 2>&1";
    std::system(command.c_str());  // warns about the categories left out
    return fs::exists(dir / "xx_XX" / "LC_NUMERIC") ? "xx_XX" : "";
}

}  // namespace

// A host may set a locale with a decimal comma; the store's numbers stay
// those of the C library's "C" locale, both ways.
TEST_F(SettingsStoreTest, NumbersIgnoreTheProcessLocale) {
    const std::string name = MakeCommaLocale(temp_.path());
    ASSERT_FALSE(name.empty()) << "localedef could not make a test locale";
    ScopedEnv locpath("LOCPATH", temp_.path().string());
    const std::string saved = setlocale(LC_NUMERIC, nullptr);
    ASSERT_NE(setlocale(LC_NUMERIC, name.c_str()), nullptr);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5");  // the locale is in force

    WriteSettingDouble("objread", kCommonSettings, "size_value", 0.5);
    double size = 0;
    ReadSettingDouble("objread", kCommonSettings, "size_value", 0, size);
    double missing = 0;
    ReadSettingDouble("objread", kCommonSettings, "missing_value", 2.25, missing);
    setlocale(LC_NUMERIC, saved.c_str());

    EXPECT_NE(ReadFileBytes(SectionFile()).find("size_value=0.500000\n"), std::string::npos)
        << ReadFileBytes(SectionFile());
    EXPECT_EQ(size, 0.5);
    EXPECT_EQ(missing, 2.25);
}

TEST_F(SettingsStoreTest, LongTextsAreWrittenWholeButReadOnlyUpTo255) {
    const std::string fits(255, 'a');
    const std::string too_long(300, 'b');
    ASSERT_EQ(WriteSettingText("objread", kCommonSettings, "fits", fits.c_str()), 1);
    ASSERT_EQ(WriteSettingText("objread", kCommonSettings, "too_long", too_long.c_str()), 1);
    EXPECT_NE(ReadFileBytes(SectionFile()).find("too_long=" + too_long + "\n"), std::string::npos);

    std::string text;
    ReadSettingText("objread", kCommonSettings, "fits", "default", text, 259);
    EXPECT_EQ(text, fits);
    ReadSettingText("objread", kCommonSettings, "too_long", "default", text, 259);
    EXPECT_EQ(text, "default");
    ReadSettingText("objread", kCommonSettings, "too_long", "default", text, 3);
    EXPECT_EQ(text, "def");
    ReadSettingText("objread", kCommonSettings, "too_long", nullptr, text, 259);
    EXPECT_EQ(text, "");
}

TEST_F(SettingsStoreTest, HandWrittenLinesSurviveAWrite) {
    StoreByHand("# kept\nswap_mode=1\nswap_mode=2\nother=x\n");
    ASSERT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 1);
    EXPECT_EQ(ReadFileBytes(SectionFile()), "# kept\nswap_mode=3\nother=x\n");
}

namespace {

// The file's inode number: a replaced file gets a new one.
ino_t InodeOf(const fs::path& file) {
    struct stat st {};
    return stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

// Every run stores its settings again, mostly unchanged: a write that gives
// the file the bytes it holds leaves it alone, any other replaces it.
TEST_F(SettingsStoreTest, AWriteThatChangesNoByteLeavesTheFileInPlace) {
    struct Case {
        const char* stored;  // the file before the write of swap_mode=3
        bool replaced;
        const char* after;
    };
    for (const Case& c : std::vector<Case>{
             {"# class: Converter\nswap_mode=3\n", false, "# class: Converter\nswap_mode=3\n"},
             {"# class: Converter\nswap_mode=2\n", true, "# class: Converter\nswap_mode=3\n"},
             // Same value, but the file loses its duplicate or gains its line end.
             {"swap_mode=3\nswap_mode=3\n", true, "swap_mode=3\n"},
             {"swap_mode=3", true, "swap_mode=3\n"},
             {"other=1\n", true, "other=1\nswap_mode=3\n"},
         }) {
        StoreByHand(c.stored);
        const ino_t before = InodeOf(SectionFile());
        EXPECT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 1) << c.stored;
        EXPECT_EQ(InodeOf(SectionFile()) != before, c.replaced) << c.stored;
        EXPECT_EQ(ReadFileBytes(SectionFile()), c.after) << c.stored;
    }

    // A file the writer refuses still reports the write as failed.
    StoreByHand("swap_mode=3\n");
    ASSERT_EQ(chmod(SectionFile().c_str(), 0444), 0);
    EXPECT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 0);
    ASSERT_EQ(chmod(SectionFile().c_str(), 0600), 0);
}

TEST_F(SettingsStoreTest, AnUnusableStoreGivesDefaultsAndReportsFailedWrites) {
    // The configuration home is a plain file: no key can be created below it.
    WriteFileBytes(ConfigHome(), "not a directory");
    EXPECT_EQ(WriteSettingInt("objread", kCommonSettings, "swap_mode", 3), 0);
    int swap = -1;
    EXPECT_EQ(ReadSettingInt("objread", kCommonSettings, "swap_mode", 2, swap), 1);
    EXPECT_EQ(swap, 2);

    RegistryKey key(kSettingsKeyClass);
    EXPECT_EQ(key.OpenOrCreate("Software\\Orrin Software\\objread\\Common Settings"), 0);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.WriteValueText("swap_mode", "1"), 0);
    EXPECT_FALSE(key.ReadValueText("swap_mode").has_value());
}

TEST_F(SettingsStoreTest, KeyPathsStayInsideTheStore) {
    RegistryKey key(kSettingsKeyClass);
    for (const char* bad : {"", "Software\\..\\escape", "Software\\Orrin Software\\..",
                            "Software\\\\x", "Software\\a/b", "Software"}) {
        EXPECT_EQ(key.OpenOrCreate(bad), 0) << bad;
    }
    EXPECT_FALSE(fs::exists(temp_.path() / "escape"));

    ASSERT_EQ(key.OpenOrCreate("Software\\Orrin Software\\objread\\Specific Settings"), 1);
    EXPECT_EQ(key.File(), SectionFile(kSpecificSettings));
    EXPECT_EQ(ReadFileBytes(key.File()), "# class: Converter\n");
}

TEST(SettingsStoreRootTest, FollowsXdgConfigHomeElseHome) {
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        ScopedEnv home("HOME", "/tmp/home");
        EXPECT_EQ(SettingsStoreRoot(), fs::path("/tmp/cfg"));
    }
    for (const char* ignored : {"", "relative/cfg"}) {
        ScopedEnv config("XDG_CONFIG_HOME", ignored);
        ScopedEnv home("HOME", "/tmp/home");
        EXPECT_EQ(SettingsStoreRoot(), fs::path("/tmp/home/.config")) << ignored;
    }
    ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", "/tmp/home");
    EXPECT_EQ(SettingsStoreRoot(), fs::path("/tmp/home/.config"));
}

}  // namespace plugins
