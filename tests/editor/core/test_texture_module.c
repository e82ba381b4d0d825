/* A stand-in for an Imagine texture module. It remembers the arguments of its
 * last call so the test can check them. Built three ways:
 *   default                 returns a structure whose text lies 16 bytes in
 *   TEXTURE_RETURNS_NULL    returns no structure
 *   TEXTURE_NO_EXPORT       has no "InquireTexture" at all */
#include <stddef.h>
#include <stdint.h>

struct TextureInfo {
    char header[16];
    const char* description;
};

int32_t test_texture_last_args[2] = {0, 0};

#ifndef TEXTURE_NO_EXPORT
#ifndef TEXTURE_RETURNS_NULL
static struct TextureInfo info = {"0123456789abcde", "Polished Marble Texture, veined"};
#endif

struct TextureInfo* InquireTexture(int32_t a, int32_t b) {
    test_texture_last_args[0] = a;
    test_texture_last_args[1] = b;
#ifdef TEXTURE_RETURNS_NULL
    return NULL;
#else
    return &info;
#endif
}
#endif
