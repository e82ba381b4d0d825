// The volume map: which local directory stands for each drive, device,
// volume or assign of the machine that wrote the object files.
//
// Paths inside Imagine files name another machine's storage: a PC drive
// (C:), an Amiga device or volume (DH0:, Work:) or an assign (Imagine:).
// Each entry of the map says where that storage lies here, for instance
// C: -> /home/ann/.wine/drive_c or DH0: -> /home/ann/Amiga/System. The core
// turns such paths into local ones through this map only (core/volume_map.h).
//
// Names are held with their trailing ':' and compared case-blind, as both
// machines do. Directories are local paths, kept byte for byte (they are never
// decoded with the object files' character set).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessvane {

struct VolumeMapping {
    std::string Name;       // "C:", "DH0:", "Work:", "Imagine:"
    std::string Directory;  // a local directory, absolute
};

// Entries in the order the user gave them; names are unique (case-blind).
using VolumeList = std::vector<VolumeMapping>;

// `name` as the map holds it: blanks around it removed and a ':' added when
// it has none; "dh0" and "DH0:" both give "dh0:" and "DH0:". Empty when the
// result is not a usable name: empty, or holding a second ':', a '/', a '\',
// a ',' (which the settings file could not store) or a control character.
std::optional<std::string> NormalizeVolumeName(std::string_view name);

// Position of the entry named `name` (compared case-blind, with or without its
// ':'), or empty.
std::optional<std::size_t> FindVolume(const VolumeList& volumes, std::string_view name);

// Maps `name` to `directory`: replaces the directory of an entry of that name
// (keeping its place and its spelling) or appends a new entry. Returns false,
// changing nothing, when the name is not usable (NormalizeVolumeName) or the
// directory is empty.
bool SetVolume(VolumeList& volumes, std::string_view name, std::string_view directory);

}  // namespace tessvane
