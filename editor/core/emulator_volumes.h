// Finding the drives and volumes that emulators on this machine give to the
// PC or Amiga programs they run, so the volume map can be filled from them.
//
// Each reader returns what one configuration says; nothing is applied: the
// caller offers every mapping found and the user chooses. Only directories
// that exist here are returned (disk images, CD-ROM devices and folders of
// another machine are left out), each once per name and directory.
//
//   Wine      $WINEPREFIX or ~/.wine: every link "x:" in dosdevices/
//             (c: -> ../drive_c gives C:, z: -> / gives Z:).
//   DOSBox    the "mount X DIRECTORY [options]" lines of the [autoexec]
//             section (an '@' before mount, quotes and ~ are understood;
//             "mount -u" and imgmount are not mounts of a directory).
//   FS-UAE    *.fs-uae: hard_drive_N = DIRECTORY gives the device DHN: (or
//             hard_drive_N_device) and the volume hard_drive_N_label, by
//             default the directory's own name; ~, $HOME and $CONFIG
//             start a path, "\\" stands for one backslash. The uae_
//             options of the UAE format below are read too.
//   UAE       *.uae (also Amiberry and WinUAE): filesystem2=ACCESS,DEVICE:
//             VOLUME:DIRECTORY,PRIORITY and uaehfN=dir,ACCESS,DEVICE:VOLUME:
//             DIRECTORY,PRIORITY give both the device and the volume name;
//             the older filesystem=ACCESS,VOLUME:DIRECTORY the volume.
//
// A relative directory in a configuration is taken from the configuration's
// own directory. Configuration files larger than 1 MiB are not read.
#pragma once

#include <string>
#include <vector>

namespace tessvane {

struct DetectedVolume {
    std::string Name;       // with its ':' ("C:", "DH0:", "Work:")
    std::string Directory;  // an existing local directory, absolute
    std::string Source;     // the prefix or configuration file it came from
};

std::vector<DetectedVolume> VolumesOfWinePrefix(const std::string& prefix);
// `home` replaces a leading "~" (and $HOME in FS-UAE files).
std::vector<DetectedVolume> VolumesOfDosboxConfig(const std::string& file, const std::string& home);
std::vector<DetectedVolume> VolumesOfFsUaeConfig(const std::string& file, const std::string& home);
std::vector<DetectedVolume> VolumesOfUaeConfig(const std::string& file, const std::string& home);

// Where the emulators keep their configurations.
struct EmulatorPlaces {
    std::string home;           // $HOME
    std::string configHome;     // $XDG_CONFIG_HOME, else home + "/.config"
    std::string winePrefix;     // $WINEPREFIX, else home + "/.wine"
    std::string documentsHome;  // home + "/Documents" (FS-UAE's default base)
};

// The places of the current user, from the environment.
EmulatorPlaces EmulatorPlacesOfUser();

// Every mapping of every emulator found in `places`, Wine first, then
// DOSBox, FS-UAE and UAE, each configuration directory in name order:
//   Wine     places.winePrefix
//   DOSBox   ~/.dosbox/*.conf, CONFIG/dosbox/*.conf, CONFIG/dosbox-x/*.conf
//   FS-UAE   DOCUMENTS/FS-UAE/Configurations, ~/FS-UAE/Configurations,
//            CONFIG/fs-uae/Configurations: *.fs-uae
//   UAE      ~/.uaerc, ~/Amiberry/conf, ~/Amiberry/Configurations,
//            CONFIG/amiberry/conf, CONFIG/amiberry/Configurations: *.uae
// A mapping found twice (same name, same directory) is listed once.
std::vector<DetectedVolume> DetectEmulatorVolumes(const EmulatorPlaces& places);

}  // namespace tessvane
