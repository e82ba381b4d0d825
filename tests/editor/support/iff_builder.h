// Builds Imagine object and project files in code, byte by byte, so a test
// shows exactly the layout it exercises.
//
//   Bytes file = IffBuilder("TDDD")
//                    .Begin("OBJ ")
//                    .Begin("DESC")
//                    .Chunk("NAME", chunks::Name("CUBE"))
//                    .Chunk("TXT1", chunks::Txt1("C:\\TEX\\wood.iff"))
//                    .End()
//                    .Chunk("TOBJ", {})
//                    .End()
//                    .Build();
//
// Chunk() writes the real size and the pad byte of an odd size. Begin()/End()
// write a container whose size covers what lies between them, as IFF does;
// ChunkRaw() and FormSize() let a test declare sizes that do not match.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessvane::testing {

using Bytes = std::vector<std::uint8_t>;

class IffBuilder {
  public:
    explicit IffBuilder(std::string_view formType = "TDDD");

    // A chunk with its real size; an odd size gets one zero pad byte.
    IffBuilder& Chunk(std::string_view id, const Bytes& data);
    // A chunk header declaring `declaredSize`, followed by `data` exactly as
    // given (no pad byte added).
    IffBuilder& ChunkRaw(std::string_view id, std::uint32_t declaredSize, const Bytes& data);
    // Opens a container chunk ("OBJ ", "DESC", "SOBJ"); End() closes the most
    // recent one and patches its size to the bytes written since.
    IffBuilder& Begin(std::string_view id);
    IffBuilder& End();
    // Bytes appended as they are.
    IffBuilder& Raw(const Bytes& bytes);
    // Declares this FORM size instead of the real one.
    IffBuilder& FormSize(std::uint32_t size);

    // The file: "FORM", size, form type, chunks. Open containers are closed.
    Bytes Build() const;

  private:
    std::string formType_;
    Bytes body_;
    std::vector<std::size_t> open_;
    bool formSizeSet_ = false;
    std::uint32_t formSize_ = 0;
};

// Big-endian numbers and texts as they appear in chunk data.
void PutU16(Bytes& out, std::uint16_t value);
void PutU32(Bytes& out, std::uint32_t value);
void PutText(Bytes& out, std::string_view text);
// `text` then zero bytes up to `width` bytes (cut when longer).
void PutField(Bytes& out, std::string_view text, std::size_t width);
// One length byte then the characters.
void PutCountedPath(Bytes& out, std::string_view path);
std::uint32_t GetU32(const Bytes& in, std::size_t offset);

// Chunk data for the path chunk kinds, laid out at the offsets Imagine uses.
// Bytes before the path that the editor does not read are filled with
// `filler` so a test can see they survive a rewrite.
namespace chunks {
Bytes Name(std::string_view name);  // NAME: 18-byte name field
Bytes Txt1(std::string_view path, std::uint8_t filler = 0x11);
Bytes Txt2(std::string_view subGroup, std::string_view path, std::uint8_t filler = 0x12);
Bytes Txt3(std::string_view subGroup, std::string_view path, std::uint8_t filler = 0x13);
Bytes Txt4(std::string_view subGroup, std::string_view description, std::string_view path,
           std::uint8_t filler = 0x14);
Bytes Brs1(std::string_view path, std::uint8_t filler = 0x21);
Bytes Brs2(std::string_view path, std::uint8_t filler = 0x22);
Bytes Brs3(std::string_view subGroup, std::string_view path, std::uint8_t filler = 0x23);
Bytes Brs4(std::string_view subGroup, std::string_view path, std::uint8_t filler = 0x24);
Bytes Brs5(std::string_view subGroup, std::string_view description, std::string_view path,
           std::uint8_t filler = 0x25);
Bytes Ptfn(std::string_view path);
Bytes Fil3(std::string_view name, std::string_view path, std::uint8_t filler = 0x33);
// FGR2/FGR3 (16-bit count) and FGR4 (32-bit count); `count` entries of filler
// between the group name and the flags word.
Bytes Fgr2(std::uint16_t count, std::string_view group, std::uint16_t flags, std::string_view path);
Bytes Fgr3(std::uint16_t count, std::string_view group, std::uint16_t flags, std::string_view path);
Bytes Fgr4(std::uint32_t count, std::string_view group, std::uint16_t flags, std::string_view path);
// SPFX/S2FX/S3FX/S4FX: 6 header bytes, the counted path padded to even, then `after`.
Bytes Effect(std::string_view path, const Bytes& after);
}  // namespace chunks

// `data` with one zero byte appended when its size is odd: a path chunk as the
// editor writes it (the pad byte counted in the size).
Bytes Even(Bytes data);

// Whole-file helpers for fixtures.
void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadFileBytes(const std::filesystem::path& path);

// A fresh directory under the system's temporary directory, removed with its
// contents on destruction. Tests use one each, so they can run in parallel.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // path() / name, as text.
    std::string File(std::string_view name) const;
    // path() with a trailing '/', as the editor keeps directories.
    std::string Dir() const;

  private:
    std::filesystem::path path_;
};

}  // namespace tessvane::testing
