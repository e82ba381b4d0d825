// The per-user settings store of the plug-ins.
//
// Settings are kept the way the plug-ins have always kept them in the user's
// registry: under the key Software\Orrin Software\<plug-in>\<section>, one
// text value per setting. On this platform the key path maps onto the
// per-user configuration directory, $XDG_CONFIG_HOME (or ~/.config when that
// is unset, empty or relative), with "Software" standing for that directory:
//
//   $XDG_CONFIG_HOME/Orrin Software/objread/Common Settings
//
// The last component of a key path is a text file holding the key's values,
// the components before it are directories. The file reads
//
//   # class: Converter
//   swap_mode=0
//   logfilename=objread.log
//
// one value per line as name=value, up to the first '='. Lines starting with
// '#', empty lines and lines without '=' are ignored. In names and values the
// bytes below 0x20, 0x7F and '%' (in names also '=' and '#') are written as
// %XX with two hex digits, so any text survives the trip; nothing else is
// escaped, and texts written by hand need no escapes at all. Every write
// replaces the file atomically (framework/replacement_file.h), so the file is
// always either the old or the new one; a new file is private to the user
// (0600), a read-only one is refused. A write that leaves the file's bytes
// as they are (the value is stored already) succeeds without replacing it,
// unless the file would be refused.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace plugins {

// The root under which keys live. Only the current user's store exists here.
enum class RegistryRoot { CurrentUser };

// Class text given to every key the settings store creates.
inline constexpr const char* kSettingsKeyClass = "Converter";

// The two sections every plug-in uses.
inline constexpr const char* kCommonSettings = "Common Settings";
inline constexpr const char* kSpecificSettings = "Specific Settings";

// The directory that holds the current user's store: $XDG_CONFIG_HOME when
// set to an absolute path, else ~/.config. Empty when no home is known.
std::filesystem::path SettingsStoreRoot(RegistryRoot root = RegistryRoot::CurrentUser);

// "Software\Orrin Software\<subkey>\<section>".
std::string SettingsKeyPath(const char* subkey, const char* section);

// The longest text a value can hold: a longer one reads back as missing.
// Everything that is to come back from the store must fit.
inline constexpr std::size_t kMaxSettingText = 255;

// The text WriteSettingDouble stores for value: "%0.6lf" in the C locale.
std::string SettingsDoubleText(double value);

// One open key of the store. A value read longer than kMaxValueText
// characters counts as missing, as the registry reads of the plug-ins always
// did; values of any length are written whole.
class RegistryKey {
  public:
    static constexpr std::size_t kMaxValueText = kMaxSettingText;

    RegistryKey(const char* class_text, RegistryRoot root = RegistryRoot::CurrentUser);
    ~RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the key path ("Software\Orrin Software\objread\Common Settings",
    // components separated by '\'), creating it when missing. Returns 1 on
    // success; 0, with the key closed, when the store's directory is unknown,
    // a component is empty, ".", ".." or holds a '/', or the key cannot be
    // created.
    int OpenOrCreate(const char* path);

    // Closes the key; reads and writes fail until the next open.
    void Close();
    bool IsOpen() const { return !file_.empty(); }

    // The value's text, or nothing when the key is closed, the value is
    // missing or its text is longer than kMaxValueText characters.
    std::optional<std::string> ReadValueText(const char* name) const;

    // Stores the text under name, replacing an earlier value. Returns 1 on
    // success, 0 when the key is closed or the store cannot be written (the
    // stored values are then unchanged). When the file holds exactly the
    // bytes the write would give it, it is left alone and the write counts
    // as done, provided the file could have been replaced.
    int WriteValueText(const char* name, const char* text);

    // The file holding the key's values (empty while closed).
    const std::filesystem::path& File() const { return file_; }

  private:
    std::string classText_;
    RegistryRoot root_;
    std::filesystem::path file_;
};

// Section functions. Each opens (or creates) the key of the plug-in's
// section, does its work and closes the key again, so nothing is cached.
// The write functions return 1 on success and 0 on failure.

int WriteSettingText(const char* subkey, const char* section, const char* name, const char* text);
// Stores "%ld" of value.
int WriteSettingInt(const char* subkey, const char* section, const char* name, int value);
// Stores "%0.6lf" of value, so a value passes through six decimals. Numbers
// are written and read in the C locale, whatever locale the process has.
int WriteSettingDouble(const char* subkey, const char* section, const char* name, double value);

// Reads a text value into out. When it is missing (or too long, or the key
// cannot be opened) out becomes the default cut to limit characters, or the
// empty text when default_text is null. Always returns 1: the callers take
// the result in every case.
int ReadSettingText(const char* subkey, const char* section, const char* name,
                    const char* default_text, std::string& out, std::size_t limit);

// Reads a value as a base-10 integer ("2abc" reads as 2, "abc" as 0); a
// missing value reads as current. Values beyond the range of int are clamped
// to it. Always returns 1.
int ReadSettingInt(const char* subkey, const char* section, const char* name, int current,
                   int& out);

// Reads a value as a decimal number with the C library's conversion in the
// C locale ("0,5" reads as 0: a comma is no decimal point); a missing value
// reads as current. Always returns 1.
int ReadSettingDouble(const char* subkey, const char* section, const char* name, double current,
                      double& out);

}  // namespace plugins
