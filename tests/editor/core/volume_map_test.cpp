#include "core/volume_map.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "iff_builder.h"
#include "state/settings.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;

// A PC drive and an Amiga hard drive as an emulator keeps them on Linux:
//   dos/c/textures/wood.iff, dos/c/Drapé/jaune.iff (é in UTF-8)
//   amiga/dh0/Textures/Wood.iff, amiga/dh0/Imagine/Textures/
class VolumeMapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Touch("dos/c/textures/wood.iff");
        Touch("dos/c/Drap\xc3\xa9/jaune.iff");
        Touch("amiga/dh0/Textures/Wood.iff");
        fs::create_directories(Local("amiga/dh0/Imagine/Textures"));
        settings.Volumes = {{"C:", Local("dos/c")},
                            {"DH0:", Local("amiga/dh0")},
                            {"Imagine:", Local("amiga/dh0/Imagine")}};
        settings.ImagineDirectory = "DH0:Imagine";
    }

    std::string Local(const std::string& relative) const {
        return (temp.path() / relative).string();
    }
    void Touch(const std::string& relative) const {
        fs::create_directories(fs::path(Local(relative)).parent_path());
        std::ofstream(Local(relative)) << "x";
    }

    testing::TempDir temp;
    Settings settings;
};

TEST_F(VolumeMapTest, PathsOfTheOtherMachineAreFoundCaseBlindThroughTheMap) {
    struct Case {
        const char* path;
        EntryKind kind;
        ResolveStatus status;
        const char* local;  // below the temporary directory; for UnmappedVolume the volume
    };
    const Case cases[] = {
        {"C:\\TEXTURES\\Wood.IFF", EntryKind::File, ResolveStatus::Found,
         "dos/c/textures/wood.iff"},
        {"c:\\textures", EntryKind::Directory, ResolveStatus::Found, "dos/c/textures"},
        {"C:", EntryKind::Directory, ResolveStatus::Found, "dos/c"},
        {"C:\\", EntryKind::Any, ResolveStatus::Found, "dos/c"},
        // The ISO-8859-1 byte E9 is the local name's é.
        {"C:\\DRAP\xc9\\Jaune.iff", EntryKind::File, ResolveStatus::Found,
         "dos/c/Drap\xc3\xa9/jaune.iff"},
        {"dh0:textures\\WOOD.IFF", EntryKind::File, ResolveStatus::Found,
         "amiga/dh0/Textures/Wood.iff"},
        {"DH0:Textures/", EntryKind::Directory, ResolveStatus::Found, "amiga/dh0/Textures"},
        {"Imagine:Textures", EntryKind::Directory, ResolveStatus::Found,
         "amiga/dh0/Imagine/Textures"},
        // Relative to the Imagine Directory, itself on a mapped volume.
        {"textures", EntryKind::Directory, ResolveStatus::Found, "amiga/dh0/Imagine/Textures"},
        // ".." never leaves the volume.
        {"C:\\TEXTURES\\..\\..\\..\\textures\\.\\wood.iff", EntryKind::File, ResolveStatus::Found,
         "dos/c/textures/wood.iff"},
        // The kind counts: a directory is no file, and the path says where it was looked for.
        {"C:\\TEXTURES", EntryKind::File, ResolveStatus::Missing, "dos/c/TEXTURES"},
        {"C:\\NOWHERE\\Wood.iff", EntryKind::Any, ResolveStatus::Missing, "dos/c/NOWHERE/Wood.iff"},
        {"Textures\\Gone\\x.iff", EntryKind::Any, ResolveStatus::Missing,
         "amiga/dh0/Imagine/Textures/Gone/x.iff"},
        {"DH1:Textures", EntryKind::Directory, ResolveStatus::UnmappedVolume, "DH1:"},
        {"D:\\TEX", EntryKind::Any, ResolveStatus::UnmappedVolume, "D:"},
    };
    for (const Case& c : cases) {
        const ResolvedPath r = ResolveObjectPath(settings, c.path, c.kind);
        EXPECT_EQ(r.status, c.status) << c.path;
        if (c.status == ResolveStatus::UnmappedVolume) {
            EXPECT_EQ(r.volume, c.local) << c.path;
        } else {
            EXPECT_EQ(r.local, Local(c.local)) << c.path;
        }
        EXPECT_EQ(ObjectPathExists(settings, c.path, c.kind), c.status == ResolveStatus::Found)
            << c.path;
    }
}

TEST_F(VolumeMapTest, TheCharacterSetDecodesTheNames) {
    settings.CharacterSet = CharacterSet::Cp850;  // é is byte 82 there
    EXPECT_TRUE(ObjectPathExists(settings, "C:\\Drap\x82\\jaune.iff", EntryKind::File));
    EXPECT_FALSE(ObjectPathExists(settings, "C:\\Drap\xe9\\jaune.iff", EntryKind::File));

    // A name copied from the other machine byte for byte is found by its bytes.
    std::ofstream(Local("dos/c/textures/caf\xe9.iff")) << "x";
    EXPECT_EQ(ResolveObjectPath(settings, "C:\\TEXTURES\\CAF\xe9.IFF", EntryKind::File).local,
              Local("dos/c/textures/caf\xe9.iff"));
}

TEST_F(VolumeMapTest, TheExactSpellingWinsThenTheFirstInByteOrder) {
    Touch("amiga/dh0/Textures/wood.iff");  // beside Wood.iff
    Touch("amiga/dh0/Textures/WOOD.iff");
    const auto local = [&](const char* path) {
        return ResolveObjectPath(settings, path, EntryKind::File).local;
    };
    EXPECT_EQ(local("DH0:Textures/wood.iff"), Local("amiga/dh0/Textures/wood.iff"));
    EXPECT_EQ(local("DH0:Textures/Wood.iff"), Local("amiga/dh0/Textures/Wood.iff"));
    EXPECT_EQ(local("DH0:Textures/wOOD.IFF"), Local("amiga/dh0/Textures/WOOD.iff"));
}

TEST_F(VolumeMapTest, RelativePathsNeedAnImagineDirectoryThatResolves) {
    struct Case {
        std::string imagine;
        ResolveStatus status;
    };
    const Case cases[] = {
        {"", ResolveStatus::NoImagineDirectory},
        {"Imagine", ResolveStatus::NoImagineDirectory},  // itself relative
        {"DH2:Imagine", ResolveStatus::UnmappedVolume},
        {"DH0:Gone", ResolveStatus::Missing},
        {Local("amiga/dh0/Imagine"), ResolveStatus::Found},  // a local directory
        {"IMAGINE:", ResolveStatus::Found},
    };
    for (const Case& c : cases) {
        settings.ImagineDirectory = c.imagine;
        EXPECT_EQ(ResolveObjectPath(settings, "Textures", EntryKind::Directory).status, c.status)
            << c.imagine;
    }
    settings.ImagineDirectory = "DH2:Imagine";
    EXPECT_EQ(ResolveObjectPath(settings, "Textures").volume, "DH2:");
}

TEST_F(VolumeMapTest, LocalPathsAndBrokenPathsAreTakenAsTheyStand) {
    EXPECT_TRUE(ObjectPathExists(settings, Local("dos/c/textures"), EntryKind::Directory));
    std::string backslashed = Local("dos/c/textures/wood.iff");
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_TRUE(ObjectPathExists(settings, backslashed, EntryKind::File));
    // A local path is not looked up case-blind: it is this machine's own.
    EXPECT_FALSE(ObjectPathExists(settings, Local("dos/c/TEXTURES"), EntryKind::Directory));

    EXPECT_EQ(ResolveObjectPath(settings, "", EntryKind::Directory).local,
              Local("amiga/dh0/Imagine"));
    EXPECT_EQ(ResolveObjectPath(settings, std::string("C:\\tex\0tures", 13)).status,
              ResolveStatus::Invalid);
}

TEST_F(VolumeMapTest, MessagesSayWhyAPathWasNotFound) {
    const auto describe = [&](const std::string& path) {
        return DescribeResolvedPath(path, ResolveObjectPath(settings, path), settings.CharacterSet);
    };
    EXPECT_EQ(describe("DH1:Textures"), "DH1:Textures is on a volume that is not mapped: DH1:");
    EXPECT_EQ(describe("C:\\Gon\xe9"),
              "C:\\Gon\xc3\xa9 was not found: looked for " + Local("dos/c/Gon\xc3\xa9"));
    EXPECT_EQ(describe("C:\\textures"), "C:\\textures was found: " + Local("dos/c/textures"));
    settings.ImagineDirectory.clear();
    EXPECT_EQ(describe("Textures"),
              "Textures is relative and there is no Imagine Directory to resolve it against");
}

TEST_F(VolumeMapTest, LocalPathsTurnIntoTheObjectFilesForm) {
    fs::create_directories(Local("dos/c/textures/Wood"));
    fs::create_directories(Local("dos/c/Drap\xc3\xa9"));
    fs::create_directories(Local("dos/c/\xe6\x9c\xa8"));  // 木
    fs::create_directory_symlink(Local("dos/c"), Local("drive_c"));
    struct Case {
        ComputerType computer;
        CharacterSet set;
        std::string local;
        ObjectFormStatus status;
        std::string path;
    };
    const ComputerType pc = ComputerType::PC, amiga = ComputerType::Amiga;
    const CharacterSet iso = CharacterSet::Iso8859_1;
    const Case cases[] = {
        {pc, iso, Local("dos/c/textures"), ObjectFormStatus::Mapped, "C:\\TEXTURES"},
        {pc, iso, Local("dos/c/textures/Wood/"), ObjectFormStatus::Mapped, "C:\\TEXTURES\\Wood"},
        {pc, iso, Local("dos/c"), ObjectFormStatus::Mapped, "C:\\"},
        {pc, iso, Local("dos/c/../c/textures"), ObjectFormStatus::Mapped, "C:\\TEXTURES"},
        {pc, iso, Local("drive_c/textures"), ObjectFormStatus::Mapped, "C:\\TEXTURES"},
        {pc, iso, Local("dos/c/Drap\xc3\xa9"), ObjectFormStatus::Mapped, "C:\\Drap\xe9"},
        {pc, CharacterSet::Cp850, Local("dos/c/Drap\xc3\xa9"), ObjectFormStatus::Mapped,
         "C:\\Drap\x82"},
        {amiga, iso, Local("amiga/dh0/Textures/Wood.iff"), ObjectFormStatus::Mapped,
         "DH0:Textures/Wood.iff"},
        {amiga, iso, Local("amiga/dh0"), ObjectFormStatus::Mapped, "DH0:"},
        // The deepest mapped directory wins: an assign inside a drive.
        {amiga, iso, Local("amiga/dh0/Imagine/Textures"), ObjectFormStatus::Mapped,
         "Imagine:Textures"},
        {amiga, iso, Local("amiga/dh0x"), ObjectFormStatus::NotMapped, Local("amiga/dh0x")},
        {amiga, iso, "/usr/share", ObjectFormStatus::NotMapped, "/usr/share"},
        {pc, iso, Local("dos/c/\xe6\x9c\xa8"), ObjectFormStatus::Unencodable,
         Local("dos/c/\xe6\x9c\xa8")},
    };
    for (const Case& c : cases) {
        settings.Computer = c.computer;
        settings.CharacterSet = c.set;
        const ObjectForm form = ObjectFormOfLocalPath(settings, c.local);
        EXPECT_EQ(form.status, c.status) << c.local;
        EXPECT_EQ(form.path, c.path) << c.local;
        if (c.status == ObjectFormStatus::Unencodable) {
            EXPECT_EQ(form.refused, U'\u6728');
        }
        // What is picked here is found again from the form written into the file.
        if (c.status == ObjectFormStatus::Mapped) {
            EXPECT_EQ(fs::canonical(ResolveObjectPath(settings, form.path).local),
                      fs::canonical(c.local))
                << c.local;
        }
    }
}

}  // namespace
}  // namespace tessvane
