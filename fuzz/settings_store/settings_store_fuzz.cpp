// The plug-ins' settings store: any bytes as the text file of a key. Every
// value the plug-ins read is read as text, integer and number; then each value
// found is written back and one new value is added, and after every write the
// value written reads back exactly while every other value stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/settings_store.h"
#include "support/scratch.h"

using namespace plugins;
using fuzzsupport::Require;

namespace {

constexpr const char* kSubkey = "fuzz";
constexpr const char* kNames[] = {"verbose_mode", "swap_mode",   "unify_mode", "ld_mode",
                                  "size_value",   "logfilename", "obj_mode",   "path",
                                  "file_name",    "smooth_angle"};
// Holds every byte the file format escapes.
const std::string kAddedName = std::string("new%=#name\r\n\x7f", 13);
const std::string kAddedValue = std::string("%41=#\r\n\x01 value", 14);

// The names of the file's value lines that need no unescaping, a few at most.
std::vector<std::string> NamesInFile(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < size && names.size() < 8) {
        std::size_t end = start;
        while (end < size && data[end] != '\n') ++end;
        const std::string line(reinterpret_cast<const char*>(data + start), end - start);
        const std::size_t eq = line.find('=');
        if (!line.empty() && line[0] != '#' && eq != std::string::npos && eq > 0) {
            const std::string name = line.substr(0, eq);
            if (name.find_first_of(std::string("%\r\0", 3)) == std::string::npos)
                names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

std::map<std::string, std::optional<std::string>> ReadAll(const RegistryKey& key,
                                                          const std::vector<std::string>& names) {
    std::map<std::string, std::optional<std::string>> values;
    for (const std::string& name : names) values[name] = key.ReadValueText(name.c_str());
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::UseScratchAsHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string keyPath = SettingsKeyPath(kSubkey, kCommonSettings);
    const auto dir = fuzzsupport::ScratchDirectory() / "Orrin Software" / kSubkey;
    std::filesystem::create_directories(dir);
    fuzzsupport::WriteFile(dir / kCommonSettings, data, size);

    for (const char* name : kNames) {
        std::string text;
        int number = 0;
        double real = 0;
        ReadSettingText(kSubkey, kCommonSettings, name, "default", text, 259);
        ReadSettingInt(kSubkey, kCommonSettings, name, 7, number);
        ReadSettingDouble(kSubkey, kCommonSettings, name, 1.5, real);
    }

    std::vector<std::string> names(std::begin(kNames), std::end(kNames));
    for (std::string& name : NamesInFile(data, size)) names.push_back(std::move(name));
    names.push_back(kAddedName);

    RegistryKey key(kSettingsKeyClass);
    Require(key.OpenOrCreate(keyPath.c_str()) == 1, "the key opens");
    auto values = ReadAll(key, names);
    auto rewrite = [&](const std::string& name, const std::string& value) {
        Require(key.WriteValueText(name.c_str(), value.c_str()) == 1, "the value is written");
        values[name] = value.size() <= RegistryKey::kMaxValueText
                           ? std::optional<std::string>(value)
                           : std::nullopt;
        const auto now = ReadAll(key, names);
        Require(now == values, "the value written reads back and no other value changes");
    };
    for (const std::string& name : names) {
        const auto& value = values[name];
        // A C text ends at its first zero byte; such a value cannot be given back whole.
        if (value && value->find('\0') == std::string::npos && name != kAddedName)
            rewrite(name, *value);
    }
    rewrite(kAddedName, kAddedValue);
    return 0;
}
