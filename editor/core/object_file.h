// The one loaded object (FORM TDDD) or project (FORM ISTG) file: an exact copy
// of its chunk sequence, one PathRecord per chunk that names an external file,
// and the distinct directories those paths use.
//
// Numbering follows the design: chunk positions (ChunkOrdinal), record numbers,
// DisplayOrder entries and display positions all count from 1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "state/counted_text.h"

namespace tessvane {

using Bytes = std::vector<std::uint8_t>;

// A four-character chunk id, compared exactly (case and trailing blanks count).
struct ChunkId {
    std::array<char, 4> chars{' ', ' ', ' ', ' '};

    ChunkId() = default;
    // `text` of 4 characters; shorter texts are padded with blanks.
    ChunkId(std::string_view text) {
        for (std::size_t i = 0; i < 4; ++i) chars[i] = i < text.size() ? text[i] : ' ';
    }
    std::string_view View() const { return std::string_view(chars.data(), 4); }
    bool Is(std::string_view text) const { return View() == text; }
    friend bool operator==(const ChunkId&, const ChunkId&) = default;
};

// One chunk as read, in file order.
struct ChunkNode {
    ChunkId Id;
    // Declared size as read (host order); replaced when a path is rewritten.
    std::int32_t Size = 0;
    // Bytes of data held: Size raised to the next even number; 0 for the
    // containers "OBJ ", "SOBJ", "DESC" and for chunks held without data.
    std::int32_t Length = 0;
    // The chunk data including the pad byte of an odd Size; none for containers
    // and for chunks whose data lay beyond the end of the FORM.
    std::optional<Bytes> Data;

    bool HasData() const { return Data.has_value(); }
    bool IsContainer() const { return Id.Is("OBJ ") || Id.Is("SOBJ") || Id.Is("DESC"); }
    // IFF filler chunks (id of four blanks) are read but never written.
    bool IsFiller() const { return Id.Is("    "); }
};

// Chunks in file order. Owns the nodes and their data; std::list keeps the
// design's doubly linked list with first, last and count.
using ChunkList = std::list<ChunkNode>;

enum class PathKind : std::uint16_t {
    Texture = 0,
    Brush = 1,
    Object = 2,
    Effect = 3,
    ParticleObject = 4,
};

// One external path of the file. The "Old" fields never change after the
// record is made; only the "New" fields reach the file.
struct PathRecord {
    std::int32_t ChunkOrdinal = 0;  // 1-based position of the record's chunk in the ChunkList
    PathKind Kind = PathKind::Texture;
    NameText PartName;  // object name, then " (" + sub-group + ")" when there is one
    PathText OldDirectory;
    PathText NewDirectory;
    DescriptionText OldDescription;  // as read, or the kind word ("Object", "Effect", ...)
    NameText OldFileName;
    NameText NewFileName;
    DescriptionText NewDescription;
    // The file name exactly as read, not cut to 32 characters. While
    // NewFileName still equals OldFileName this is what is written, so a long
    // name nobody changed reaches the file whole.
    std::string StoredFileName;
    // A new name longer than 32 characters that a suffix rule made from the
    // whole name. While NewFileName is its first 32 characters this is what is
    // written and logged.
    std::string WholeNewFileName;
};

struct PathList {
    // Records 1..Count() in file order (ascending ChunkOrdinal). There is no
    // fixed limit: a file with more than 400 paths is held like any other.
    std::vector<PathRecord> Records;
    // Record numbers (1-based) in the order the shell lists them.
    std::vector<std::size_t> DisplayOrder;
    // Number of Texture records read; RemovePathRecord leaves it alone.
    int TextureCount = 0;

    std::size_t Count() const { return Records.size(); }
    // Record `number` (1..Count()).
    PathRecord& Record(std::size_t number) { return Records.at(number - 1); }
    const PathRecord& Record(std::size_t number) const { return Records.at(number - 1); }
    // The record shown at display position `position` (1..Count()).
    PathRecord& AtDisplay(std::size_t position) { return Record(DisplayOrder.at(position - 1)); }
    const PathRecord& AtDisplay(std::size_t position) const {
        return Record(DisplayOrder.at(position - 1));
    }
};

// One distinct old directory (compared in upper case) and the new directory
// chosen for it on the Summary page.
struct SummaryEntry {
    PathText OldDirectory;
    PathText NewDirectory;
};

// In order of first appearance; no fixed limit.
using SummaryEntries = std::vector<SummaryEntry>;

struct ObjectFile {
    // "FORM", the size as read, the form type; written back with a new size.
    std::array<std::uint8_t, 12> FormHeader{};
    ChunkList Chunks;
    PathList Paths;
    SummaryEntries Summary;
    bool Loaded = false;                // a file with at least one record is held
    bool IsProject = false;             // form type "ISTG"
    bool DescriptionsEditable = false;  // the last TXT4/BRS5 came after the last FIL3/effect
    // Used only while reading.
    ChunkNameText ObjectName;
    ChunkNameText SubGroupName;
    // Summary's positions by upper-cased OldDirectory, so that each record
    // finds its entry at once. AddPathRecord keeps it and rebuilds it when it
    // no longer matches Summary's length.
    std::unordered_map<std::string, std::size_t> SummaryIndex;
};

// The word shown as OldDescription for kinds that carry no description of their
// own: "Object", "Effect", "Particle Object"; empty for textures and brushes.
std::string_view KindWord(PathKind kind);

}  // namespace tessvane
