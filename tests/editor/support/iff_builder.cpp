#include "iff_builder.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessvane::testing {

IffBuilder::IffBuilder(std::string_view formType) : formType_(formType) {}

IffBuilder& IffBuilder::Chunk(std::string_view id, const Bytes& data) {
    ChunkRaw(id, static_cast<std::uint32_t>(data.size()), data);
    if (data.size() % 2 != 0) body_.push_back(0);
    return *this;
}

IffBuilder& IffBuilder::ChunkRaw(std::string_view id, std::uint32_t declaredSize,
                                 const Bytes& data) {
    PutField(body_, id, 4);
    PutU32(body_, declaredSize);
    body_.insert(body_.end(), data.begin(), data.end());
    return *this;
}

IffBuilder& IffBuilder::Begin(std::string_view id) {
    PutField(body_, id, 4);
    open_.push_back(body_.size());
    PutU32(body_, 0);
    return *this;
}

IffBuilder& IffBuilder::End() {
    if (open_.empty()) throw std::logic_error("IffBuilder::End without Begin");
    const std::size_t at = open_.back();
    open_.pop_back();
    const auto size = static_cast<std::uint32_t>(body_.size() - at - 4);
    body_[at] = static_cast<std::uint8_t>(size >> 24);
    body_[at + 1] = static_cast<std::uint8_t>(size >> 16);
    body_[at + 2] = static_cast<std::uint8_t>(size >> 8);
    body_[at + 3] = static_cast<std::uint8_t>(size);
    return *this;
}

IffBuilder& IffBuilder::Raw(const Bytes& bytes) {
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
}

IffBuilder& IffBuilder::FormSize(std::uint32_t size) {
    formSizeSet_ = true;
    formSize_ = size;
    return *this;
}

Bytes IffBuilder::Build() const {
    IffBuilder copy = *this;
    while (!copy.open_.empty()) copy.End();
    Bytes out;
    PutText(out, "FORM");
    PutU32(out, formSizeSet_ ? formSize_ : static_cast<std::uint32_t>(copy.body_.size() + 4));
    PutField(out, formType_, 4);
    out.insert(out.end(), copy.body_.begin(), copy.body_.end());
    return out;
}

void PutU16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutU32(Bytes& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
    PutU16(out, static_cast<std::uint16_t>(value));
}

void PutText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

void PutField(Bytes& out, std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void PutCountedPath(Bytes& out, std::string_view path) {
    out.push_back(static_cast<std::uint8_t>(path.size()));
    PutText(out, path);
}

std::uint32_t GetU32(const Bytes& in, std::size_t offset) {
    return (std::uint32_t{in.at(offset)} << 24) | (std::uint32_t{in.at(offset + 1)} << 16) |
           (std::uint32_t{in.at(offset + 2)} << 8) | std::uint32_t{in.at(offset + 3)};
}

namespace chunks {
namespace {

Bytes Filled(std::size_t n, std::uint8_t filler) {
    return Bytes(n, filler);
}

void FillTo(Bytes& out, std::size_t size, std::uint8_t filler) {
    while (out.size() < size) out.push_back(filler);
}

Bytes PrefixThenPath(std::size_t prefix, std::uint8_t filler, std::string_view path) {
    Bytes out = Filled(prefix, filler);
    PutCountedPath(out, path);
    return out;
}

Bytes NamedPrefixThenPath(std::size_t nameAt, std::string_view name, std::size_t prefix,
                          std::uint8_t filler, std::string_view path) {
    Bytes out = Filled(nameAt, filler);
    PutField(out, name, 18);
    FillTo(out, prefix, filler);
    PutCountedPath(out, path);
    return out;
}

Bytes Fgr(bool wide, std::uint32_t count, std::string_view group, std::uint16_t flags,
          std::size_t afterFlags, std::string_view path) {
    Bytes out;
    if (wide) {
        PutU32(out, count);
    } else {
        PutU16(out, static_cast<std::uint16_t>(count));
    }
    PutField(out, group, 18);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (wide) {
            PutU32(out, i);
        } else {
            PutU16(out, static_cast<std::uint16_t>(i));
        }
    }
    PutU16(out, flags);
    FillTo(out, out.size() + afterFlags, 0x44);
    PutCountedPath(out, path);
    return out;
}

}  // namespace

Bytes Name(std::string_view name) {
    Bytes out;
    PutField(out, name, 18);
    return out;
}

Bytes Txt1(std::string_view path, std::uint8_t filler) {
    return PrefixThenPath(142, filler, path);
}
Bytes Txt2(std::string_view subGroup, std::string_view path, std::uint8_t filler) {
    return NamedPrefixThenPath(142, subGroup, 160, filler, path);
}
Bytes Txt3(std::string_view subGroup, std::string_view path, std::uint8_t filler) {
    return NamedPrefixThenPath(142, subGroup, 178, filler, path);
}
Bytes Txt4(std::string_view subGroup, std::string_view description, std::string_view path,
           std::uint8_t filler) {
    Bytes out = Filled(142, filler);
    PutField(out, subGroup, 18);
    FillTo(out, 178, filler);
    PutField(out, description, 22);
    PutCountedPath(out, path);
    return out;
}
Bytes Brs1(std::string_view path, std::uint8_t filler) {
    return PrefixThenPath(66, filler, path);
}
Bytes Brs2(std::string_view path, std::uint8_t filler) {
    return PrefixThenPath(68, filler, path);
}
Bytes Brs3(std::string_view subGroup, std::string_view path, std::uint8_t filler) {
    return NamedPrefixThenPath(68, subGroup, 86, filler, path);
}
Bytes Brs4(std::string_view subGroup, std::string_view path, std::uint8_t filler) {
    return NamedPrefixThenPath(68, subGroup, 104, filler, path);
}
Bytes Brs5(std::string_view subGroup, std::string_view description, std::string_view path,
           std::uint8_t filler) {
    Bytes out = Filled(68, filler);
    PutField(out, subGroup, 18);
    FillTo(out, 104, filler);
    PutField(out, description, 30);
    PutCountedPath(out, path);
    return out;
}
Bytes Ptfn(std::string_view path) {
    return PrefixThenPath(0, 0, path);
}
Bytes Fil3(std::string_view name, std::string_view path, std::uint8_t filler) {
    return NamedPrefixThenPath(22, name, 40, filler, path);
}
Bytes Fgr2(std::uint16_t count, std::string_view group, std::uint16_t flags,
           std::string_view path) {
    return Fgr(false, count, group, flags, 4, path);
}
Bytes Fgr3(std::uint16_t count, std::string_view group, std::uint16_t flags,
           std::string_view path) {
    return Fgr(false, count, group, flags, 6, path);
}
Bytes Fgr4(std::uint32_t count, std::string_view group, std::uint16_t flags,
           std::string_view path) {
    return Fgr(true, count, group, flags, 6, path);
}
Bytes Effect(std::string_view path, const Bytes& after) {
    Bytes out = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
    PutCountedPath(out, path);
    if (out.size() % 2 != 0) out.push_back(0);
    out.insert(out.end(), after.begin(), after.end());
    return out;
}

}  // namespace chunks

Bytes Even(Bytes data) {
    if (data.size() % 2 != 0) data.push_back(0);
    return data;
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write fixture " + path.string());
}

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessvane-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const {
    return (path_ / name).string();
}

std::string TempDir::Dir() const {
    return path_.string() + "/";
}

}  // namespace tessvane::testing
