// Lists read from a settings file survive a save and a load unchanged, also
// when their texts look like section lines or hold stray CRs (inputs found by
// fuzzing the reader).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "iff_builder.h"
#include "state/editor_state.h"
#include "state/settings_file.h"

namespace tessvane {
namespace {

using testing::TempDir;

struct ListCase {
    const char* name;
    std::string lists;                     // everything after the "[VANE]" section
    std::vector<std::string> directories;  // old + "|" + new, in list order
    std::vector<std::string> textures;     // old + "|" + new + "|" + description
};

std::vector<std::string> Directories(const EditorContext& e) {
    std::vector<std::string> out;
    for (const auto& d : e.directoryDefaults.Entries())
        out.push_back(d.OldDirectory.str() + "|" + d.NewDirectory.str());
    return out;
}

std::vector<std::string> Textures(const EditorContext& e) {
    std::vector<std::string> out;
    for (const auto& t : e.textureDefaults.Entries()) {
        out.push_back(t.OldTexture.str() + "|" + t.NewTexture.str() + "|" + t.Description.str());
    }
    return out;
}

TEST(SettingsRoundTrip, ListsReadBackAsTheyWereReadAfterASave) {
    const std::vector<ListCase> cases = {
        {"an entry that starts with a bracket keeps the entries after it",
         "[Default Directory List]\r\nC:\\A,D:\\A\r\n[old],new\r\nC:\\B,D:\\B\r\n"
         "[Textures]\r\n[wood.iff],oak.itx,Oak\r\nstone.iff,rock.itx\r\n",
         {"C:\\A|D:\\A", "[old]|new", "C:\\B|D:\\B"},
         {"[wood.iff]|oak.itx|Oak", "stone.iff|rock.itx|"}},
        {"a section line without a comma still ends the list",
         "[Default Directory List]\r\nC:\\A,D:\\A\r\n[Other]\r\nx,y\r\n[Textures]\r\na,b,c\r\n",
         {"C:\\A|D:\\A"},
         {"a|b|c"}},
        {"a CR inside a list line is dropped, as a save drops it",
         "[Default Directory "
         "List]\r\nC:\\A\r\r,D:\\A\rX\r\n[Textures]\r\nwo\rod.iff,oak.itx,O\rak\r\r\n",
         {"C:\\A|D:\\AX"},
         {"wood.iff|oak.itx|Oak"}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string first = dir.File("first.ini");
        std::string text = "[VANE]\r\nSave Settings=yes\r\n" + c.lists;
        testing::WriteFileBytes(first, testing::Bytes(text.begin(), text.end()));

        EditorContext read = MakeEditorContext(dir.Dir());
        ASSERT_EQ(ReadSettings(read, first), SettingsReadStatus::Read);
        EXPECT_EQ(Directories(read), c.directories);
        EXPECT_EQ(Textures(read), c.textures);

        const std::string second = dir.File("second.ini");
        ASSERT_TRUE(WriteSettings(read, second));
        EditorContext again = MakeEditorContext(dir.Dir());
        ASSERT_EQ(ReadSettings(again, second), SettingsReadStatus::Read);
        EXPECT_EQ(Directories(again), c.directories);
        EXPECT_EQ(Textures(again), c.textures);
    }
}

TEST(SettingsRoundTrip, AValueThatHoldsAKeySetsOnlyItsOwnSetting) {
    TempDir dir;
    const std::string path = dir.File("keys.ini");
    const std::string text =
        "[VANE]\r\nTexture Suffix=itx\r\nImagine Directory=C:\\TEXTURE SUFFIX=X\r\n"
        "Load Directory=/srv/SAVE DIRECTORY=/x\r\nSave Directory=/out\r\n";
    testing::WriteFileBytes(path, testing::Bytes(text.begin(), text.end()));
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass == 0 ? "as read" : "after a save");
        EditorContext editor = MakeEditorContext(dir.Dir());
        ASSERT_EQ(ReadSettings(editor, path), SettingsReadStatus::Read);
        EXPECT_EQ(editor.settings.TextureSuffix, "itx");
        EXPECT_EQ(editor.settings.ImagineDirectory, "C:\\TEXTURE SUFFIX=X");
        EXPECT_EQ(editor.settings.LoadDirectory, "/srv/SAVE DIRECTORY=/x");
        EXPECT_EQ(editor.settings.SaveDirectory, "/out");
        ASSERT_TRUE(WriteSettings(editor, path));
    }
}

}  // namespace
}  // namespace tessvane
