#include "core/emulator_volumes.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

#include "state/counted_text.h"
#include "state/volumes.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxConfigBytes = 1 << 20;
// A configuration directory with more files than this is not one we know.
constexpr std::size_t kMaxConfigFiles = 1000;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The lines of a small text file, CR LF or LF ended, a UTF-8 mark dropped.
std::optional<std::vector<std::string>> ReadConfigLines(const std::string& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > kMaxConfigBytes || ec)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (lines.empty() && line.rfind("\xef\xbb\xbf", 0) == 0) line.erase(0, 3);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string DirectoryOf(const std::string& file) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(file, ec);
    return (ec ? fs::path(file) : absolute).parent_path().string();
}

// `path` with a leading ~ replaced by `home` and, when relative, taken from
// `base`; empty when it names no existing directory.
std::optional<std::string> ExistingDirectory(std::string path, const std::string& home,
                                             const std::string& base) {
    if (path == "~" || path.rfind("~/", 0) == 0) path = home + path.substr(1);
    if (path.empty()) return std::nullopt;
    fs::path p(path);
    if (p.is_relative()) p = fs::path(base) / p;
    std::error_code ec;
    if (!fs::is_directory(p, ec)) return std::nullopt;
    std::string text = p.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

void Add(std::vector<DetectedVolume>& out, std::string_view name, const std::string& directory,
         const std::string& source) {
    const std::optional<std::string> normal = NormalizeVolumeName(name);
    if (!normal) return;
    out.push_back({*normal, directory, source});
}

// Splits a command line of DOSBox's autoexec into words; double quotes
// group blanks into a word and are dropped.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

bool IsInteger(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "DEVICE:VOLUME:DIRECTORY,PRIORITY[,...]" of a UAE directory drive. The
// directory may hold ':' (a Windows path), so only the first two end names.
void AddUaeDrive(std::vector<DetectedVolume>& out, std::string_view drive, bool withDevice,
                 const std::string& home, const std::string& base, const std::string& source) {
    std::string_view device;
    if (withDevice) {
        const std::size_t colon = drive.find(':');
        if (colon == std::string_view::npos) return;
        device = drive.substr(0, colon);
        drive.remove_prefix(colon + 1);
    }
    const std::size_t colon = drive.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view volume = drive.substr(0, colon);
    std::string_view directory = drive.substr(colon + 1);
    // The boot priority (and what newer versions add after it) follows the
    // last ',' that starts a number.
    for (std::size_t comma = directory.rfind(','); comma != std::string_view::npos;
         comma = comma == 0 ? std::string_view::npos : directory.rfind(',', comma - 1)) {
        const std::string_view after = directory.substr(comma + 1);
        if (IsInteger(after.substr(0, after.find(',')))) {
            directory = directory.substr(0, comma);
            break;
        }
    }
    const auto local = ExistingDirectory(std::string(directory), home, base);
    if (!local) return;
    if (!device.empty()) Add(out, device, *local, source);
    if (!volume.empty()) Add(out, volume, *local, source);
}

// One "key=value" of a UAE configuration; false when the key is none of the
// drive keys.
bool ReadUaeKey(std::vector<DetectedVolume>& out, const std::string& key, std::string_view value,
                const std::string& home, const std::string& base, const std::string& source) {
    const std::size_t comma = value.find(',');
    if (key == "filesystem2") {
        if (comma != std::string_view::npos)
            AddUaeDrive(out, value.substr(comma + 1), true, home, base, source);
        return true;
    }
    if (key == "filesystem") {
        if (comma != std::string_view::npos)
            AddUaeDrive(out, value.substr(comma + 1), false, home, base, source);
        return true;
    }
    if (key.rfind("uaehf", 0) == 0 && IsInteger(std::string_view(key).substr(5))) {
        // uaehfN=dir,ACCESS,DRIVE; hard disk images are "hdf,..." and others.
        if (Lower(value.substr(0, comma)) != "dir" || comma == std::string_view::npos) return true;
        const std::string_view rest = value.substr(comma + 1);
        const std::size_t access = rest.find(',');
        if (access != std::string_view::npos)
            AddUaeDrive(out, rest.substr(access + 1), true, home, base, source);
        return true;
    }
    return false;
}

// Key and value of a "key = value" line; empty for comments and other lines.
std::optional<std::pair<std::string, std::string_view>> KeyValue(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';' || line.front() == '[')
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::make_pair(Lower(Trim(line.substr(0, eq))), Trim(line.substr(eq + 1)));
}

// The files of `directory` whose names end in `extension`, in name order.
std::vector<std::string> ConfigFiles(const std::string& directory, std::string_view extension) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > extension.size() &&
            Lower(name.substr(name.size() - extension.size())) == extension)
            files.push_back(it->path().string());
        if (files.size() > kMaxConfigFiles) return {};
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Each name and directory once, in the order first found.
std::vector<DetectedVolume> Unique(std::vector<DetectedVolume> all) {
    std::vector<DetectedVolume> unique;
    std::set<std::pair<std::string, std::string>> seen;
    for (DetectedVolume& v : all) {
        std::error_code ec;
        const fs::path real = fs::canonical(v.Directory, ec);
        if (seen.emplace(UpperCase(v.Name), ec ? v.Directory : real.string()).second)
            unique.push_back(std::move(v));
    }
    return unique;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::vector<DetectedVolume> VolumesOfWinePrefix(const std::string& prefix) {
    std::vector<DetectedVolume> out;
    const fs::path devices = fs::path(prefix) / "dosdevices";
    std::vector<std::pair<std::string, std::string>> drives;
    std::error_code ec;
    for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // "c:" is a drive; "d::" the raw device under it, "com1" a port.
        if (name.size() != 2 || name[1] != ':' ||
            !std::isalpha(static_cast<unsigned char>(name[0])))
            continue;
        std::error_code kindError;
        if (!fs::is_directory(it->path(), kindError)) continue;
        std::error_code linkError;
        const fs::path target = fs::canonical(it->path(), linkError);
        if (linkError) continue;
        drives.emplace_back(UpperCase(name), target.string());
        if (drives.size() > 26) break;
    }
    std::sort(drives.begin(), drives.end());
    const std::string source = "Wine " + prefix;
    for (const auto& [name, directory] : drives) Add(out, name, directory, source);
    return out;
}

std::vector<DetectedVolume> VolumesOfDosboxConfig(const std::string& file,
                                                  const std::string& home) {
    std::vector<DetectedVolume> out;
    const auto lines = ReadConfigLines(file);
    if (!lines) return out;
    const std::string base = DirectoryOf(file);
    bool autoexec = false;
    for (const std::string& raw : *lines) {
        std::string_view line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            autoexec = Lower(line.substr(0, line.find(']') + 1)) == "[autoexec]";
            continue;
        }
        if (!autoexec) continue;
        if (!line.empty() && line.front() == '@') line.remove_prefix(1);
        const std::vector<std::string> words = Words(line);
        if (words.size() < 3 || Lower(words[0]) != "mount") continue;
        std::string drive = words[1];
        if (drive.size() == 2 && drive[1] == ':') drive.pop_back();
        if (drive.size() != 1 || !std::isalpha(static_cast<unsigned char>(drive[0]))) continue;
        // An overlay lies on top of a drive mounted before it.
        bool overlay = false;
        for (std::size_t i = 3; i + 1 < words.size(); ++i) {
            if (Lower(words[i]) == "-t" && Lower(words[i + 1]) == "overlay") overlay = true;
        }
        if (overlay) continue;
        if (const auto local = ExistingDirectory(words[2], home, base))
            Add(out, UpperCase(drive), *local, file);
    }
    return Unique(std::move(out));
}

std::vector<DetectedVolume> VolumesOfFsUaeConfig(const std::string& file, const std::string& home) {
    std::vector<DetectedVolume> out;
    const auto lines = ReadConfigLines(file);
    if (!lines) return out;
    const std::string base = DirectoryOf(file);

    struct Drive {
        std::string path, label, device;
    };
    std::vector<DetectedVolume> uae;                    // after the drives of the format's own keys
    std::vector<std::pair<std::string, Drive>> drives;  // by number, as text
    const auto driveNumbered = [&](const std::string& number) -> Drive& {
        for (auto& [n, d] : drives) {
            if (n == number) return d;
        }
        return drives.emplace_back(number, Drive{}).second;
    };
    for (const std::string& line : *lines) {
        const auto kv = KeyValue(line);
        if (!kv) continue;
        const std::string& key = kv->first;
        std::string value;
        // The format writes one backslash as two.
        for (std::size_t i = 0; i < kv->second.size(); ++i) {
            value += kv->second[i];
            if (kv->second[i] == '\\' && i + 1 < kv->second.size() && kv->second[i + 1] == '\\')
                ++i;
        }
        if (key.rfind("uae_", 0) == 0) {
            ReadUaeKey(uae, key.substr(4), value, home, base, file);
            continue;
        }
        if (key.rfind("hard_drive_", 0) != 0) continue;
        const std::string rest = key.substr(11);
        const std::size_t underscore = rest.find('_');
        const std::string number = rest.substr(0, underscore);
        if (!IsInteger(number) || number.front() == '-' || number.size() > 2) continue;
        const std::string field = underscore == std::string::npos ? "" : rest.substr(underscore);
        if (field.empty())
            driveNumbered(number).path = value;
        else if (field == "_label")
            driveNumbered(number).label = value;
        else if (field == "_device")
            driveNumbered(number).device = value;
    }
    for (auto& [number, drive] : drives) {
        std::string path = drive.path;
        for (const auto& [variable, value] :
             {std::pair<std::string, std::string>{"$HOME", home}, {"$CONFIG", base}}) {
            if (path == variable || path.rfind(variable + "/", 0) == 0)
                path = value + path.substr(variable.size());
        }
        const auto local = ExistingDirectory(path, home, base);
        if (!local) continue;
        Add(out, drive.device.empty() ? "DH" + number : drive.device, *local, file);
        Add(out, drive.label.empty() ? fs::path(*local).filename().string() : drive.label, *local,
            file);
    }
    out.insert(out.end(), uae.begin(), uae.end());
    return Unique(std::move(out));
}

std::vector<DetectedVolume> VolumesOfUaeConfig(const std::string& file, const std::string& home) {
    std::vector<DetectedVolume> out;
    const auto lines = ReadConfigLines(file);
    if (!lines) return out;
    const std::string base = DirectoryOf(file);
    for (const std::string& line : *lines) {
        if (const auto kv = KeyValue(line))
            ReadUaeKey(out, kv->first, kv->second, home, base, file);
    }
    return Unique(std::move(out));
}

EmulatorPlaces EmulatorPlacesOfUser() {
    EmulatorPlaces places;
    places.home = Environment("HOME");
    places.configHome = Environment("XDG_CONFIG_HOME");
    if (places.configHome.empty()) places.configHome = places.home + "/.config";
    places.winePrefix = Environment("WINEPREFIX");
    if (places.winePrefix.empty()) places.winePrefix = places.home + "/.wine";
    places.documentsHome = places.home + "/Documents";
    return places;
}

std::vector<DetectedVolume> DetectEmulatorVolumes(const EmulatorPlaces& places) {
    std::vector<DetectedVolume> all = VolumesOfWinePrefix(places.winePrefix);
    const auto append = [&](std::vector<DetectedVolume> found) {
        all.insert(all.end(), found.begin(), found.end());
    };
    const std::string& home = places.home;
    const std::string& config = places.configHome;
    for (const std::string& dir : {home + "/.dosbox", config + "/dosbox", config + "/dosbox-x"}) {
        for (const std::string& file : ConfigFiles(dir, ".conf"))
            append(VolumesOfDosboxConfig(file, home));
    }
    for (const std::string& dir :
         {places.documentsHome + "/FS-UAE/Configurations", home + "/FS-UAE/Configurations",
          config + "/fs-uae/Configurations"}) {
        for (const std::string& file : ConfigFiles(dir, ".fs-uae"))
            append(VolumesOfFsUaeConfig(file, home));
    }
    append(VolumesOfUaeConfig(home + "/.uaerc", home));
    for (const std::string& dir :
         {home + "/Amiberry/conf", home + "/Amiberry/Configurations", config + "/amiberry/conf",
          config + "/amiberry/Configurations"}) {
        for (const std::string& file : ConfigFiles(dir, ".uae"))
            append(VolumesOfUaeConfig(file, home));
    }

    return Unique(std::move(all));
}

}  // namespace tessvane
