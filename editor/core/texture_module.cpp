#include "core/texture_module.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstring>

#include "core/file_system.h"
#include "state/counted_text.h"

namespace tessvane {
namespace {

// The module's export takes two 32-bit integers and returns a pointer to its
// description structure.
using InquireTextureFn = void* (*)(std::int32_t, std::int32_t);

// Offset of the description text pointer inside that structure.
constexpr std::size_t kDescriptionPointerOffset = 16;

class LoadedModule {
  public:
    explicit LoadedModule(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedModule() {
        if (handle_ != nullptr) ::dlclose(handle_);
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* Symbol(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

  private:
    void* handle_;
};

}  // namespace

std::string InquireTextureDescription(std::string_view modulePath) {
    const auto host = HostPath(modulePath);
    if (!host || host->empty()) return {};
    // dlopen searches the library path for a bare name; a texture is named by
    // its file, so keep the name relative to the current directory.
    const std::string path = host->find('/') == std::string::npos ? "./" + *host : *host;
    LoadedModule module(path.c_str());
    void* symbol = module.Symbol("InquireTexture");
    if (symbol == nullptr) return {};
    InquireTextureFn inquire;
    static_assert(sizeof(inquire) == sizeof(symbol));
    std::memcpy(&inquire, &symbol, sizeof(inquire));
    const void* info = inquire(112, 1);
    if (info == nullptr) return {};
    const char* text = nullptr;
    std::memcpy(&text, static_cast<const unsigned char*>(info) + kDescriptionPointerOffset,
                sizeof(text));
    if (text == nullptr) return {};
    // The text is read up to the 18 characters kept; never past its terminator.
    const std::size_t length = ::strnlen(text, kMaxDescriptionText);
    return std::string(text, length);
}

}  // namespace tessvane
