#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "iff_builder.h"
#include "state/counted_text.h"
#include "state/editor_state.h"
#include "state/exchange_sort.h"
#include "state/program_directory.h"

namespace tessvane {
namespace {

TEST(CountedText, CutsAtItsMaximumInsteadOfRefusing) {
    ShellState shell;
    shell.CurrentFilePath = std::string(300, 'p');
    EXPECT_EQ(shell.CurrentFilePath.size(), 255u);

    TextureDefault entry;
    entry.Description = "abcdefghijklmnopqrstuvwxy";  // 25 characters
    EXPECT_EQ(entry.Description, "abcdefghijklmnopqr");

    NameText name = PathText(std::string(40, 'n'));  // between sizes, too
    EXPECT_EQ(name.size(), 32u);
}

TEST(UpperCase, MapsOnlyAsciiLowercaseLetters) {
    EXPECT_EQ(UpperCase("c:\\tex/wood.iff"), "C:\\TEX/WOOD.IFF");
    // Latin-1 e-acute and u-umlaut, and characters around 'a'..'z', stay.
    EXPECT_EQ(UpperCase("\xe9\xfc`{@["), "\xe9\xfc`{@[");
    EXPECT_TRUE(EqualUpper("Wood.IFF", "wOOD.iff"));
    EXPECT_FALSE(EqualUpper("\xe9", "\xc9"));
    EXPECT_FALSE(EqualUpper("C:\\TEX", "C:\\TEX\\"));
    EXPECT_LT(CompareUpper("b", "\xe9"), 0);  // by unsigned character code
}

TEST(DefaultLists, FindFirstTakesTheFirstWholeMatchInUpperCase) {
    DirectoryDefaultList list;
    ASSERT_TRUE(list.Append({"c:\\tex", "D:\\ONE"}));
    ASSERT_TRUE(list.Append({"C:\\TEX", "D:\\TWO"}));
    EXPECT_EQ(list.FindFirst("C:\\TEX"), 1u);
    EXPECT_EQ(list.FindFirst("C:\\TEX\\"), 0u);
    EXPECT_EQ(list.FindFirst("C:\\TE"), 0u);

    TextureDefaultList textures;
    ASSERT_TRUE(textures.Append({"wood.iff", "oak.iff", "Oak"}));
    EXPECT_EQ(textures.FindFirst("WOOD.IFF"), 1u);
}

TEST(DefaultLists, ReplaceRemoveAndClearKeepNumberingFromOne) {
    DirectoryDefaultList list;
    list.Append({"A", "1"});
    list.Append({"B", "2"});
    list.Append({"C", "3"});

    EXPECT_TRUE(list.Replace(2, {"b2", "22"}));
    EXPECT_EQ(list.At(2).OldDirectory, "b2");
    EXPECT_TRUE(list.Remove(1));
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(1).OldDirectory, "b2");  // later entries move up
    EXPECT_EQ(list.At(2).OldDirectory, "C");

    for (std::size_t bad : {std::size_t{0}, std::size_t{3}}) {
        EXPECT_FALSE(list.Replace(bad, {"x", "y"})) << bad;
        EXPECT_FALSE(list.Remove(bad)) << bad;
    }
    EXPECT_EQ(list.Count(), 2u);
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST(DefaultLists, HoldAtMostAThousandEntriesAndRefuseTheNext) {
    TextureDefaultList list;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(list.Append({"T" + std::to_string(i), "N", ""}));
    }
    EXPECT_TRUE(list.Full());
    EXPECT_FALSE(list.Append({"ONE MORE", "N", ""}));
    EXPECT_EQ(list.Count(), 1000u);
    EXPECT_EQ(list.FindFirst("ONE MORE"), 0u);
    // Room again after a removal.
    list.Remove(1000);
    EXPECT_TRUE(list.Append({"ONE MORE", "N", ""}));
}

TEST(DefaultLists, SortIsAscendingByUpperCaseAndNeverSwapsEqualKeys) {
    DirectoryDefaultList list;
    list.Append({"x1", "D:\\a"});
    list.Append({"x2", "c:\\b"});
    list.Append({"x3", "C:\\B"});
    list.SortBy([](const DirectoryDefault& e) { return e.NewDirectory.view(); });
    EXPECT_EQ(list.At(1).OldDirectory, "x2");
    EXPECT_EQ(list.At(2).OldDirectory, "x3");
    EXPECT_EQ(list.At(3).OldDirectory, "x1");
}

// The sort works on ranks of the upper-cased keys; the order it leaves must be
// exactly the one the plain exchanges over the texts give, equal keys included
// (they are not kept in their first order). Random rows drawn from few keys
// differing in case, length and bytes above 127, sorted both ways.
TEST(ExchangeSort, GivesThePermutationOfThePlainExchanges) {
    const std::vector<std::string> keys = {"wood", "WOOD", "Wood.iff",  "wood.IFF",
                                           "a",    "",     "\xe9t\xe9", "\xc9T\xc9",
                                           "z",    "Z",    "{",         "["};
    std::srand(19);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const std::size_t n = static_cast<std::size_t>(std::rand() % 40);
        std::vector<std::pair<std::string, int>> rows;
        for (std::size_t i = 0; i < n; ++i)
            rows.emplace_back(keys[static_cast<std::size_t>(std::rand()) % keys.size()],
                              static_cast<int>(i));
        auto plain = rows;
        for (std::size_t i = 0; i + 1 < plain.size(); ++i) {
            for (std::size_t j = i + 1; j < plain.size(); ++j) {
                if (CompareUpper(plain[i].first, plain[j].first) > 0) std::swap(plain[i], plain[j]);
            }
        }
        ExchangeSortByUpperKey(rows, [](const auto& row) { return std::string_view(row.first); });
        EXPECT_EQ(rows, plain);
    }
}

TEST(EditorContext, StartsWithEveryDefault) {
    const EditorContext ctx = MakeEditorContext("/opt/tessvane/");
    const Settings& s = ctx.settings;
    EXPECT_EQ(s.Computer, ComputerType::PC);
    EXPECT_TRUE(s.ReloadAfterSave);
    EXPECT_TRUE(s.UpdateTextureDescriptions);
    EXPECT_TRUE(s.CreateBackups);
    for (bool flag :
         {s.ValidateDirectory, s.ValidateFiles, s.UseDefaultDirectories, s.UseShortDirectory,
          s.UseDefaultTextures, s.SaveSettings, s.GenerateLog, s.BatchUseDefaultDirectories,
          s.BatchUseDefaultTextures, s.BatchUpdateFileSuffix, s.PromptForNewTexturesDirectory,
          s.PromptIfDirectoryExists}) {
        EXPECT_FALSE(flag);
    }
    EXPECT_EQ(s.TextureSuffixSelection, 0);
    EXPECT_EQ(s.BrushSuffixSelection, 0);
    EXPECT_EQ(s.TextureSuffix, "itx");
    EXPECT_TRUE(s.BrushSuffix.empty());
    EXPECT_EQ(s.ImagineDirectory, "/opt/tessvane/");
    EXPECT_EQ(s.LoadDirectory, "/opt/tessvane/");
    EXPECT_EQ(s.SaveDirectory, "/opt/tessvane/");
    EXPECT_TRUE(ctx.directoryDefaults.Empty());
    EXPECT_TRUE(ctx.textureDefaults.Empty());
    EXPECT_EQ(ctx.shell.SortMode, 0);
    EXPECT_EQ(ctx.shell.SettingsFileName, "Tessvane.ini");
    EXPECT_EQ(ctx.shell.SettingsDirectory, "/opt/tessvane/");
    EXPECT_FALSE(ctx.shell.SaveInOriginalDirectory);
    EXPECT_TRUE(ctx.suffixes.Texture.empty());
}

TEST(EditorContext, KeepsALongProgramDirectoryWhole) {
    // Tessvane.ini and Batch.Log are found through it: a cut would name
    // another directory.
    const std::string dir = "/" + std::string(300, 'p') + "/";
    const EditorContext ctx = MakeEditorContext(dir);
    EXPECT_EQ(ctx.shell.ProgramDirectory.str(), dir);
    EXPECT_EQ(ctx.settings.ImagineDirectory.size(), 255u);  // a setting keeps its maximum
}

TEST(EffectiveSuffixes, FollowTheSelections) {
    struct Case {
        std::uint16_t texture, brush;
        const char* textureSuffix;
        const char* brushSuffix;
        const char* wantTexture;
        const char* wantBrush;
    };
    const Case cases[] = {
        {0, 0, "itx", "", "", ""},        {1, 1, "tx", "br", "tx", "br"},
        {1, 1, "", "", "", ""},           {2, 2, "itx", "", "dll", "avi"},
        {3, 12, "itx", "", "itx", "wmf"}, {3, 11, "itx", "", "itx", "tif"},
        {4, 13, "itx", "", "", ""},  // out of range: leave extensions alone
    };
    for (const Case& c : cases) {
        Settings s;
        s.TextureSuffixSelection = c.texture;
        s.BrushSuffixSelection = c.brush;
        s.TextureSuffix = c.textureSuffix;
        s.BrushSuffix = c.brushSuffix;
        const EffectiveSuffixes e = ComputeEffectiveSuffixes(s);
        EXPECT_EQ(e.Texture, c.wantTexture) << c.texture;
        EXPECT_EQ(e.Brush, c.wantBrush) << c.brush;
    }
}

class ProgramDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (temp.path() / "config").c_str(), 1);
        setenv("HOME", (temp.path() / "home").c_str(), 1);
    }
    testing::TempDir temp;
};

TEST_F(ProgramDirectoryTest, UsesTheExecutablesDirectoryWhenWritable) {
    EXPECT_EQ(ProgramDirectoryFor(temp.path()), temp.Dir());
    EXPECT_FALSE(std::filesystem::exists(temp.path() / "config"));
}

TEST_F(ProgramDirectoryTest, FallsBackToThePerUserDirectoryAndMakesIt) {
    const std::string want = (temp.path() / "config" / "Tessvane").string() + "/";
    EXPECT_EQ(ProgramDirectoryFor(temp.path() / "missing"), want);
    EXPECT_TRUE(std::filesystem::is_directory(want));

    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigDirectory(),
              (temp.path() / "home" / ".config" / "Tessvane").string() + "/");
}

TEST_F(ProgramDirectoryTest, ReadOnlyExecutableDirectoryIsNotUsed) {
    const auto readOnly = temp.path() / "ro";
    std::filesystem::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    if (::access(readOnly.c_str(), W_OK) == 0) GTEST_SKIP() << "root may write anywhere";
    EXPECT_EQ(ProgramDirectoryFor(readOnly), (temp.path() / "config" / "Tessvane").string() + "/");
}

TEST_F(ProgramDirectoryTest, AnInstalledProgramKeepsItsSettingsPerUserEvenWhereItMayWrite) {
    // <prefix>/bin beside <prefix>/share/tessvane, both writable, as for root
    // or a tree installed under the user's home.
    const auto bin = temp.path() / "prefix" / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(InstalledDataDirectory(bin), std::filesystem::path());
    EXPECT_EQ(ProgramDirectoryFor(bin), bin.string() + "/");

    const auto data = temp.path() / "prefix" / "share" / "tessvane";
    std::filesystem::create_directories(data);
    EXPECT_EQ(InstalledDataDirectory(bin), data);
    EXPECT_EQ(ProgramDirectoryFor(bin), (temp.path() / "config" / "Tessvane").string() + "/");
    EXPECT_EQ(InstalledDataDirectory(std::filesystem::path()), std::filesystem::path());
}

TEST_F(ProgramDirectoryTest, BatchLogGoesBesideTheProgramOnlyWhereItMayBeWritten) {
    const std::string settings = (temp.path() / "config").string() + "/";
    EXPECT_EQ(BatchLogDirectory(temp.Dir(), settings), temp.Dir());
    const std::string missing = (temp.path() / "missing").string() + "/";
    EXPECT_EQ(BatchLogDirectory(missing, settings), settings);
    const auto readOnly = temp.path() / "ro";
    std::filesystem::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    if (::access(readOnly.c_str(), W_OK) != 0) {  // root may write anywhere
        EXPECT_EQ(BatchLogDirectory(readOnly.string() + "/", settings), settings);
    }
}

}  // namespace
}  // namespace tessvane
