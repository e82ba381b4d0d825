#include "volumes.h"

#include "counted_text.h"

namespace tessvane {

std::optional<std::string> NormalizeVolumeName(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (!name.empty() && name.back() == ':') name.remove_suffix(1);
    if (name.empty()) return std::nullopt;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ':' || c == '/' || c == '\\' || c == ',' || byte < 0x20 || byte == 0x7f)
            return std::nullopt;
    }
    return std::string(name) + ':';
}

std::optional<std::size_t> FindVolume(const VolumeList& volumes, std::string_view name) {
    const std::optional<std::string> wanted = NormalizeVolumeName(name);
    if (!wanted) return std::nullopt;
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        if (EqualUpper(volumes[i].Name, *wanted)) return i;
    }
    return std::nullopt;
}

bool SetVolume(VolumeList& volumes, std::string_view name, std::string_view directory) {
    const std::optional<std::string> normal = NormalizeVolumeName(name);
    if (!normal || directory.empty()) return false;
    if (const auto at = FindVolume(volumes, *normal)) {
        volumes[*at].Directory = directory;
    } else {
        volumes.push_back({*normal, std::string(directory)});
    }
    return true;
}

}  // namespace tessvane
