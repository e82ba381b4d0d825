#include "core/emulator_volumes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "iff_builder.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;

// A home directory with the configurations of four emulators, written the
// way each one writes them.
class EmulatorVolumesTest : public ::testing::Test {
  protected:
    std::string Path(const std::string& relative) const {
        return (temp.path() / relative).string();
    }
    std::string Dir(const std::string& relative) const {
        fs::create_directories(Path(relative));
        return Path(relative);
    }
    std::string Write(const std::string& relative, const std::string& text) const {
        fs::create_directories(fs::path(Path(relative)).parent_path());
        std::ofstream(Path(relative), std::ios::binary) << text;
        return Path(relative);
    }

    // "NAME=DIRECTORY" per volume, directories below the temporary directory.
    std::vector<std::string> Mappings(const std::vector<DetectedVolume>& volumes) const {
        std::vector<std::string> out;
        const std::string prefix = temp.path().string() + "/";
        for (const DetectedVolume& v : volumes) {
            std::string dir = v.Directory;
            if (dir.rfind(prefix, 0) == 0) dir.erase(0, prefix.size());
            out.push_back(v.Name + "=" + dir);
        }
        return out;
    }

    testing::TempDir temp;
};

using Strings = std::vector<std::string>;

TEST_F(EmulatorVolumesTest, WineDrivesAreTheLinksInDosdevices) {
    Dir("wine/drive_c");
    Dir("data/games");
    Dir("wine/dosdevices");
    fs::create_directory_symlink("../drive_c", Path("wine/dosdevices/c:"));
    fs::create_directory_symlink(Path("data/games"), Path("wine/dosdevices/g:"));
    fs::create_symlink("/dev/null", Path("wine/dosdevices/d::"));  // the raw device of D:
    fs::create_symlink("/dev/null", Path("wine/dosdevices/com1"));
    fs::create_directory_symlink(Path("nowhere"), Path("wine/dosdevices/e:"));

    const std::vector<DetectedVolume> found = VolumesOfWinePrefix(Path("wine"));
    EXPECT_EQ(Mappings(found), (Strings{"C:=wine/drive_c", "G:=data/games"}));
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found[0].Source, "Wine " + Path("wine"));
    EXPECT_TRUE(VolumesOfWinePrefix(Path("no-prefix")).empty());
}

TEST_F(EmulatorVolumesTest, DosboxMountsComeFromTheAutoexecSection) {
    Dir("home/dos/c");
    Dir("home/My Games");
    Dir("home/.dosbox/cd");
    const std::string conf = Write("home/.dosbox/dosbox-0.74.conf",
                                   "[sdl]\r\n"
                                   "fullscreen=false\r\n"
                                   "# mount z /nowhere in a comment of another section\r\n"
                                   "mount x /home\r\n"
                                   "[autoexec]\r\n"
                                   "# Lines in this section will be run at startup.\r\n"
                                   "mount c ~/dos/c\r\n"
                                   "@MOUNT D: \"~/My Games\" -label GAMES\r\n"
                                   "mount e cd -t cdrom\r\n"
                                   "mount c ~/dos/save -t overlay\r\n"
                                   "mount -u e\r\n"
                                   "imgmount f ~/disk.img\r\n"
                                   "mount g ~/missing\r\n"
                                   "c:\r\n");
    EXPECT_EQ(Mappings(VolumesOfDosboxConfig(conf, Path("home"))),
              (Strings{"C:=home/dos/c", "D:=home/My Games", "E:=home/.dosbox/cd"}));
}

TEST_F(EmulatorVolumesTest, FsUaeHardDrivesGiveTheirDeviceAndTheirLabel) {
    Dir("home/Amiga/System");
    Dir("home/Amiga/Work");
    Dir("home/Documents/FS-UAE/Configurations/Shared");
    Dir("home/Amiga/Extra");
    Write("home/Amiga/disk.hdf", "RDSK");
    const std::string conf = Write("home/Documents/FS-UAE/Configurations/A1200.fs-uae",
                                   "# FS-UAE configuration saved by FS-UAE Launcher\n"
                                   "[fs-uae]\n"
                                   "amiga_model = A1200\n"
                                   "hard_drive_0 = ~/Amiga/System\n"
                                   "hard_drive_0_label = Workbench\n"
                                   "hard_drive_1 = $HOME/Amiga/Work\n"
                                   "hard_drive_2 = $CONFIG/Shared\n"
                                   "hard_drive_2_device = HD5\n"
                                   "hard_drive_2_label = Shared\n"
                                   "hard_drive_3 = ~/Amiga/disk.hdf\n"
                                   "hard_drive_3_label = Image\n"
                                   "uae_filesystem2 = rw,DH7:Extra:" +
                                       Path("home/Amiga/Extra") + ",0\n");
    EXPECT_EQ(
        Mappings(VolumesOfFsUaeConfig(conf, Path("home"))),
        (Strings{"DH0:=home/Amiga/System", "Workbench:=home/Amiga/System", "DH1:=home/Amiga/Work",
                 "Work:=home/Amiga/Work", "HD5:=home/Documents/FS-UAE/Configurations/Shared",
                 "Shared:=home/Documents/FS-UAE/Configurations/Shared", "DH7:=home/Amiga/Extra",
                 "Extra:=home/Amiga/Extra"}));
}

TEST_F(EmulatorVolumesTest, UaeDirectoryDrivesGiveDeviceAndVolume) {
    Dir("amiga/wb");
    Dir("amiga/work, old");
    Dir("amiga/boot");
    const std::string conf = Write("home/Amiberry/conf/A500.uae",
                                   "config_description=Amiberry configuration\n"
                                   "filesystem2=rw,DH0:Workbench:" +
                                       Path("amiga/wb") +
                                       ",0\n"
                                       "uaehf0=dir,rw,DH0:Workbench:" +
                                       Path("amiga/wb") +
                                       ",0\n"
                                       "filesystem2=ro,DH1:Work:" +
                                       Path("amiga/work, old") +
                                       ",-128\n"
                                       "filesystem2=rw,:Boot:" +
                                       Path("amiga/boot") +
                                       ",5\n"
                                       "uaehf1=hdf,rw,DH2:" +
                                       Path("amiga/disk.hdf") +
                                       ",32,1,2,512,0,,uae0\n"
                                       "filesystem2=rw,DH3:Win:C:\\Amiga\\Win,0\n"
                                       "filesystem=rw,Old:" +
                                       Path("amiga/boot") + "\n");
    EXPECT_EQ(Mappings(VolumesOfUaeConfig(conf, Path("home"))),
              (Strings{"DH0:=amiga/wb", "Workbench:=amiga/wb", "DH1:=amiga/work, old",
                       "Work:=amiga/work, old", "Boot:=amiga/boot", "Old:=amiga/boot"}));
}

TEST_F(EmulatorVolumesTest, DetectionLooksInEveryEmulatorsUsualPlaces) {
    Dir("home/.wine/drive_c");
    Dir("home/.wine/dosdevices");
    fs::create_directory_symlink("../drive_c", Path("home/.wine/dosdevices/c:"));
    Dir("home/dos");
    Write("home/.config/dosbox/dosbox-staging.conf", "[autoexec]\nmount d ~/dos\n");
    Dir("home/amiga/hd0");
    Write("home/Documents/FS-UAE/Configurations/Default.fs-uae",
          "[fs-uae]\nhard_drive_0 = ~/amiga/hd0\n");
    Write("home/Amiberry/Configurations/a1200.uae",
          "filesystem2=rw,DH0:hd0:" + Path("home/amiga/hd0") + ",0\n");
    Write("home/Amiberry/Configurations/notes.txt", "filesystem2=rw,DH9:X:/,0\n");

    EmulatorPlaces places;
    places.home = Path("home");
    places.configHome = Path("home/.config");
    places.winePrefix = Path("home/.wine");
    places.documentsHome = Path("home/Documents");
    // The FS-UAE drive and the Amiberry drive are the same: listed once.
    EXPECT_EQ(Mappings(DetectEmulatorVolumes(places)),
              (Strings{"C:=home/.wine/drive_c", "D:=home/dos", "DH0:=home/amiga/hd0",
                       "hd0:=home/amiga/hd0"}));

    places.home = Path("empty");
    places.configHome = places.winePrefix = places.documentsHome = Path("empty");
    EXPECT_TRUE(DetectEmulatorVolumes(places).empty());
}

}  // namespace
}  // namespace tessvane
