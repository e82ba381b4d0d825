#include "framework/settings_store.h"

#include "framework/replacement_file.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

#include <locale.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plugins {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHexDigits = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c, bool in_name) {
    return c < 0x20 || c == 0x7F || c == '%' || (in_name && (c == '=' || c == '#'));
}

std::string Escape(std::string_view text, bool in_name) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (NeedsEscape(c, in_name)) {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0xF];
        } else {
            out += ch;
        }
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A '%' that is not followed by two hex digits stands for itself, so texts
// edited by hand need no escapes.
std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int hi = HexValue(text[i + 1]);
            const int lo = HexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

struct Line {
    std::string raw;                  // the line without its line end
    std::string stored;               // the line as stored, a CR before its LF included
    std::optional<std::string> name;  // decoded name when the line is a value
};

std::optional<std::string> ReadWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string raw = bytes.substr(start, end - start);
        std::string stored = raw;
        if (!raw.empty() && raw.back() == '\r') {
            raw.pop_back();
        }
        Line line{raw, std::move(stored), std::nullopt};
        const std::size_t eq = raw.find('=');
        if (!raw.empty() && raw[0] != '#' && eq != std::string::npos) {
            line.name = Unescape(std::string_view(raw).substr(0, eq));
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// Every file of the store is one user's settings: private when it is made,
// and written by the plug-ins' one atomic writer.
bool WriteStoreFile(const fs::path& file, const std::string& bytes) {
    return ReplaceFileContents(file.string(), bytes, NewFileMode::Private);
}

// Whether the atomic writer would replace file (a plain file, not a link,
// that we may write, in a directory we may write): a write that would give
// the file the bytes it already holds then succeeds without replacing it.
// Each replacement is flushed to the disk, and the plug-ins store every
// setting again at the end of each run, mostly unchanged.
bool WouldReplace(const fs::path& file) {
    struct stat st {};
    if (lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) {
        return false;
    }
    const fs::path dir = file.has_parent_path() ? file.parent_path() : fs::path(".");
    return access(file.c_str(), W_OK) == 0 && access(dir.c_str(), W_OK | X_OK) == 0;
}

std::vector<std::string> SplitKeyPath(const char* path, bool& valid) {
    std::vector<std::string> parts;
    valid = path != nullptr && *path != '\0';
    if (!valid) {
        return parts;
    }
    std::string_view rest(path);
    for (;;) {
        const std::size_t sep = rest.find('\\');
        const std::string_view part = rest.substr(0, sep);
        if (part.empty() || part == "." || part == ".." ||
            part.find('/') != std::string_view::npos) {
            valid = false;
            return parts;
        }
        parts.emplace_back(part);
        if (sep == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(sep + 1);
    }
    return parts;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) {
            return false;
        }
    }
    return true;
}

// Numbers in the store are those of the C library's "C" locale, whatever
// locale the host has set: a decimal comma would read back as an integer.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// "%0.6lf" of value in the "C" locale.
std::string FormatFixed6(double value) {
    const locale_t c = CLocale();
    const locale_t previous =
        c != static_cast<locale_t>(nullptr) ? uselocale(c) : static_cast<locale_t>(nullptr);
    const int n = std::snprintf(nullptr, 0, "%0.6lf", value);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    std::snprintf(text.data(), text.size() + 1, "%0.6lf", value);
    if (previous != static_cast<locale_t>(nullptr)) {
        uselocale(previous);
    }
    return text;
}

// The C library's decimal conversion of text in the "C" locale.
double ParseDecimal(const char* text) {
    const locale_t c = CLocale();
    return c != static_cast<locale_t>(nullptr) ? strtod_l(text, nullptr, c)
                                               : std::strtod(text, nullptr);
}

}  // namespace

std::string SettingsDoubleText(double value) {
    return FormatFixed6(value);
}

fs::path SettingsStoreRoot(RegistryRoot) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return fs::path(config);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* pw = getpwuid(getuid());
        home = pw != nullptr ? pw->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    return fs::path(home) / ".config";
}

std::string SettingsKeyPath(const char* subkey, const char* section) {
    std::string path = "Software\\Orrin Software\\";
    path += subkey != nullptr ? subkey : "";
    path += '\\';
    path += section != nullptr ? section : "";
    return path;
}

RegistryKey::RegistryKey(const char* class_text, RegistryRoot root)
    : classText_(class_text != nullptr ? class_text : ""), root_(root) {}

int RegistryKey::OpenOrCreate(const char* path) {
    Close();

    bool valid = false;
    std::vector<std::string> parts = SplitKeyPath(path, valid);
    const fs::path root = SettingsStoreRoot(root_);
    if (!valid || root.empty()) {
        return 0;
    }
    // "Software" of the registry is the configuration directory itself.
    if (EqualsIgnoringCase(parts.front(), "Software")) {
        parts.erase(parts.begin());
    }
    if (parts.empty()) {
        return 0;
    }

    fs::path dir = root;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        dir /= parts[i];
    }
    const fs::path file = dir / parts.back();

    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir, ec)) {
        return 0;
    }
    const fs::file_status st = fs::status(file, ec);
    if (fs::exists(st)) {
        if (!fs::is_regular_file(st)) {
            return 0;
        }
    } else if (!WriteStoreFile(file, "# class: " + Escape(classText_, false) + "\n")) {
        return 0;
    }
    file_ = file;
    return 1;
}

void RegistryKey::Close() {
    file_.clear();
}

std::optional<std::string> RegistryKey::ReadValueText(const char* name) const {
    if (!IsOpen() || name == nullptr) {
        return std::nullopt;
    }
    const std::optional<std::string> bytes = ReadWholeFile(file_);
    if (!bytes) {
        return std::nullopt;
    }
    for (const Line& line : SplitLines(*bytes)) {
        if (line.name && *line.name == name) {
            std::string value = Unescape(std::string_view(line.raw).substr(line.raw.find('=') + 1));
            if (value.size() > kMaxValueText) {
                return std::nullopt;
            }
            return value;
        }
    }
    return std::nullopt;
}

int RegistryKey::WriteValueText(const char* name, const char* text) {
    if (!IsOpen() || name == nullptr || name[0] == '\0') {
        return 0;
    }
    const std::optional<std::string> bytes = ReadWholeFile(file_);
    if (!bytes) {
        return 0;
    }
    const std::string entry = Escape(name, true) + "=" + Escape(text != nullptr ? text : "", false);

    std::string out;
    bool replaced = false;
    for (const Line& line : SplitLines(*bytes)) {
        if (line.name && *line.name == name) {
            // The first entry takes the new value; later duplicates go.
            if (replaced) {
                continue;
            }
            out += entry;
            replaced = true;
        } else {
            // Other lines go back byte for byte: a value that ends in a CR of
            // its own ("1\r" before a CR LF) must not lose it.
            out += line.stored;
        }
        out += '\n';
    }
    if (!replaced) {
        out += entry;
        out += '\n';
    }
    if (out == *bytes && WouldReplace(file_)) {
        return 1;
    }
    return WriteStoreFile(file_, out) ? 1 : 0;
}

int WriteSettingText(const char* subkey, const char* section, const char* name, const char* text) {
    RegistryKey key(kSettingsKeyClass);
    if (key.OpenOrCreate(SettingsKeyPath(subkey, section).c_str()) == 0) {
        return 0;
    }
    return key.WriteValueText(name, text);
}

int WriteSettingInt(const char* subkey, const char* section, const char* name, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return WriteSettingText(subkey, section, name, text);
}

int WriteSettingDouble(const char* subkey, const char* section, const char* name, double value) {
    return WriteSettingText(subkey, section, name, FormatFixed6(value).c_str());
}

int ReadSettingText(const char* subkey, const char* section, const char* name,
                    const char* default_text, std::string& out, std::size_t limit) {
    RegistryKey key(kSettingsKeyClass);
    if (key.OpenOrCreate(SettingsKeyPath(subkey, section).c_str()) != 0) {
        if (std::optional<std::string> value = key.ReadValueText(name)) {
            out = std::move(*value);
            return 1;
        }
    }
    out.assign(default_text != nullptr ? default_text : "");
    if (out.size() > limit) {
        out.resize(limit);
    }
    return 1;
}

int ReadSettingInt(const char* subkey, const char* section, const char* name, int current,
                   int& out) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "%ld", static_cast<long>(current));
    std::string text;
    ReadSettingText(subkey, section, name, fallback, text, 2048);
    const long value = std::strtol(text.c_str(), nullptr, 10);
    out = value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
    return 1;
}

int ReadSettingDouble(const char* subkey, const char* section, const char* name, double current,
                      double& out) {
    std::string text;
    ReadSettingText(subkey, section, name, FormatFixed6(current).c_str(), text, 2048);
    out = ParseDecimal(text.c_str());
    return 1;
}

}  // namespace plugins
