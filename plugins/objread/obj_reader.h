// The WaveFront OBJ reader: vertex positions, polygon faces and the four
// grouping statements (o, g, s, usemap/usemtl) of an OBJ file.
//
// The reader collects every vertex line of the file, cuts every face line
// into triangles by ear clipping and adds the triangles to the mesh of the
// current group. The split mode chooses which statement opens a group
// (SplitMode::Nothing: one group "default"; Unknown: none, so no face is
// read). Normals, texture coordinates, materials and every other statement
// are skipped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/vector3d.h"
#include "objread/obj_line_reader.h"

namespace plugins {
class Mesh3d;
class LogFile;
struct ProgressCallbacks;
}  // namespace plugins

namespace plugins::objread {

// The longest group name kept; longer names are cut to this length.
constexpr std::size_t kMaxGroupName = 255;

// Which statement starts a new mesh. The obj_mode setting holds the number
// of each.
enum class SplitMode : int {
    Nothing = 0,    // none: the whole file is the one group "default"
    Object = 1,     // o
    Group = 2,      // g
    Smoothing = 3,  // s
    Usemap = 4,     // usemap
    Usemtl = 5,     // usemtl
    // A stored number outside 0 to 5: no statement opens a group, so no
    // face is read.
    Unknown = -1,
};

// The split mode a stored obj_mode number names; any number outside 0 to 5
// is Unknown.
constexpr SplitMode SplitModeFromSetting(int obj_mode) {
    return obj_mode >= 0 && obj_mode <= 5 ? static_cast<SplitMode>(obj_mode) : SplitMode::Unknown;
}

// One output group: its name and the mesh that receives its triangles
// (null until the group is first opened by a grouping statement).
struct ObjGroup {
    std::string name;
    Mesh3d* mesh = nullptr;
};

// The groups of one file in order of first appearance. The list owns its
// entries but never the meshes: whoever takes a group's mesh (the import
// run) hands it on or deletes it.
class ObjGroupList {
  public:
    std::size_t Count() const { return groups_.size(); }
    ObjGroup& Get(std::size_t i) { return *groups_[i]; }

    // The first group whose name equals name byte for byte; otherwise a new
    // group with a copy of the name and no mesh, appended at the end.
    ObjGroup& FindOrAdd(std::string_view name);

  private:
    std::vector<std::unique_ptr<ObjGroup>> groups_;
    // Name -> position, so that files with many groups do not pay a linear
    // scan per grouping statement.
    std::unordered_map<std::string, std::size_t> index_;
};

// Looks a group up by name (see ObjGroupList::FindOrAdd).
ObjGroup& FindOrAddGroup(std::string_view name, ObjGroupList& groups);

// Everything a parse needs besides the file: the split mode, the file size
// (for progress and for the meshes' capacity hint), and where status lines
// and the log go.
struct ObjParseContext {
    SplitMode splitMode = SplitMode::Object;
    std::uint64_t fileSize = 0;
    const ProgressCallbacks* callbacks = nullptr;  // may be null
    LogFile* log = nullptr;                        // may be null
    std::size_t maxLine = kMaxObjLine;             // longest line taken
};

// How a parse ended.
struct ObjParseResult {
    enum class Status {
        Read,         // to the end of the file
        ReadError,    // the file could not be read on (error holds errno)
        LineTooLong,  // line is longer than kMaxObjLine
        NotFinite,    // line is a vertex with a coordinate beyond any double, or NaN
    };
    Status status = Status::Read;
    std::uint64_t line = 0;   // the line concerned, counting from 1
    std::uint64_t bytes = 0;  // bytes read
    int error = 0;
};

// Reads the open file (opened in binary mode) to its end and fills groups.
// Lines of up to kMaxObjLine bytes are read whole; CR, LF and CR LF end a
// line; a last line without line end is read too; a UTF-8 byte-order mark
// before the first line is skipped. Unreadable content never stops the
// parse: lines and tokens that match nothing are skipped. What does stop it
// is a failure that would make the meshes wrong or unbounded: a read error,
// an overlong line, a vertex that is not finite. The groups read so far
// stay in groups then; the result says what happened.
ObjParseResult ParseObjLines(std::FILE* file, ObjGroupList& groups, const ObjParseContext& context);

// Vertex line: text is the line after its leading 'v'. Reads up to three
// coordinates as "%lf %lf %lf" and appends exactly one vertex, whatever the
// line holds, so the numbering of later lines stays aligned with the file.
// Components that cannot be read are 0. Returns false when a coordinate
// read is infinite or NaN ("nan", "inf", "1e400"): no mesh or output may
// carry one.
bool ParseVertexLine(const char* text, std::vector<Vector3d>& vertices);

// Face line: text is the line after its leading 'f' (NUL-terminated).
// Everything after the text's first blank is split at blanks; each token
// names a vertex by its leading integer ("1", "1/2", "1/2/3", "1//3").
// Positive numbers count from the file's first vertex, negative ones back
// from the last vertex read so far (-1 is the latest). Corners that name no
// vertex read so far (0, forward references, too far back) are dropped.
// The remaining polygon is ear-clipped and each triangle (a, b, c) is added
// to mesh as (c, b, a).
void ParseFaceLine(const char* text, const std::vector<Vector3d>& vertices, Mesh3d& mesh);

// Capacity hint of every group's mesh: the file size in bytes / 200, a
// face per 200 bytes (at most 2^31 - 1). The hint fixes the tables' bucket counts, which decide
// which nearly equal points merge, so every group of a file gets the same
// one whatever its position; the tables' memory follows what they hold.
std::uint64_t MeshCapacityHint(std::uint64_t fileSize);

// The counter behind the names of groups opened by "s off" (off_0, off_1,
// ...). It is never reset, so successive imports in one process go on
// numbering.
long long OffGroupCounter();

}  // namespace plugins::objread
