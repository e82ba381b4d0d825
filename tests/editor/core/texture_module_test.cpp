#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>

#include "core/texture_module.h"

namespace tessvane {
namespace {

TEST(InquireTextureDescription, CallsTheExportAndKeepsEighteenCharacters) {
    EXPECT_EQ(InquireTextureDescription(TEXTURE_MODULE_NORMAL), "Polished Marble Te");

    // The module stays loaded while we hold it, so its record of the call
    // arguments can be read back.
    void* handle = ::dlopen(TEXTURE_MODULE_NORMAL, RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    auto* args = static_cast<std::int32_t*>(::dlsym(handle, "test_texture_last_args"));
    ASSERT_NE(args, nullptr);
    args[0] = args[1] = 0;
    EXPECT_EQ(InquireTextureDescription(TEXTURE_MODULE_NORMAL), "Polished Marble Te");
    EXPECT_EQ(args[0], 112);
    EXPECT_EQ(args[1], 1);
    ::dlclose(handle);
}

TEST(InquireTextureDescription, GivesTheEmptyTextWhenAnythingIsMissing) {
    for (const char* module :
         {TEXTURE_MODULE_NULL, TEXTURE_MODULE_NOEXPORT, "/nonexistent/wood.itx",
          "C:\\IMAGINE\\TEXTURES\\wood.itx", "", __FILE__}) {
        EXPECT_EQ(InquireTextureDescription(module), "") << module;
    }
}

}  // namespace
}  // namespace tessvane
