// The static class descriptor and the four exported functions of a plug-in
// library. Every plug-in defines one descriptor and expands
// PLUGIN_ENTRY_POINTS once in the source file that holds it.
#pragma once

#include <cstdint>

#include "framework/contract.h"

namespace plugins::entry {

// What a descriptor tells the host about its class.
struct ClassInfo {
    const char* className;  // file type offered to the user, "WaveFront (*.obj)"
    int kind;               // kPluginKindImport or kPluginKindExport
    std::uint32_t classId;
};

// A descriptor whose CreateInstance calls create. One static instance per
// library; the host never deletes it.
class PluginClassDescription final : public ClassDescription {
  public:
    using CreateFunction = PluginObject* (*)();

    constexpr PluginClassDescription(const ClassInfo& info, CreateFunction create)
        : info_(info), create_(create) {}

    int IsEnabled() override { return 1; }
    PluginObject* CreateInstance() override { return create_(); }
    const char* ClassName() override { return info_.className; }
    int PluginKind() override { return info_.kind; }
    std::uint32_t ClassId() override { return info_.classId; }

  private:
    ClassInfo info_;
    CreateFunction create_;
};

// Interface version reported by LibVersion.
inline constexpr int kLibVersion = 3;

}  // namespace plugins::entry

// Defines the library's four exports: LibName returns lib_name,
// LibClassDescription(0) the descriptor (null for any other index),
// LibNumberClasses 1 and LibVersion 3. They are the only symbols a plug-in
// library exports.
#define PLUGIN_ENTRY_POINTS(lib_name, descriptor)                                               \
    PLUGIN_EXPORT const char* LibName() {                                                       \
        return lib_name;                                                                        \
    }                                                                                           \
    PLUGIN_EXPORT int LibNumberClasses() {                                                      \
        return 1;                                                                               \
    }                                                                                           \
    PLUGIN_EXPORT ::plugins::ClassDescription* LibClassDescription(int index) {                 \
        return index == 0 ? static_cast<::plugins::ClassDescription*>(&(descriptor)) : nullptr; \
    }                                                                                           \
    PLUGIN_EXPORT int LibVersion() {                                                            \
        return ::plugins::entry::kLibVersion;                                                   \
    }
