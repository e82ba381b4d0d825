// Paths of the other machine, found on this one through the volume map.
//
// A path inside an Imagine file belongs to the machine that wrote it: a PC
// (C:\TEXTURES\Wood.IFF), an Amiga (DH0:Textures/Wood.iff, Work:Maps,
// Imagine:Textures) or either one relative to Imagine's own directory
// (Textures\wood.iff). Its names are bytes in that machine's character set
// and its file systems ignore letter case. Resolving such a path here:
//
//   1. The volume: the longest name of the map (Settings::Volumes) that the
//      path starts with, compared case-blind; its directory is the start. A
//      relative path starts at the Imagine Directory, itself resolved the same
//      way (it may be C:\IMAGINE or /home/ann/Imagine). A path that starts
//      with '/' or '\' is a path of this machine and is taken as it stands,
//      with '\' read as '/'.
//   2. Each further name, split at '/' and '\', is decoded from the character
//      set to UTF-8 (the local file names' encoding) and looked up in the
//      directory reached so far: the exact name first, else the one name that
//      equals it ignoring letter case. A local name whose raw bytes equal the
//      path's bytes ignoring letter case is found too (files copied from the
//      other machine without converting their names). "." is skipped and ".."
//      goes up, never above the volume's directory.
//
// The reverse turns a local directory or file into the object file's form
// through the same map, so what a user picks here can be written into the
// file: /home/ann/dos/c/textures/Wood -> C:\TEXTURES\Wood (PC) or
// /home/ann/amiga/dh0/Textures/Wood -> DH0:Textures/Wood (Amiga).
//
// Nothing here changes a file; every function only reads directories.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/settings.h"

namespace tessvane {

// A path of an object file taken apart, without looking at any file system.
struct ObjectPathParts {
    enum class Root {
        Volume,    // "C:\TEX", "DH0:Textures", "Work:"
        Local,     // "/home/ann/tex" or "\home\ann\tex": a path of this machine
        Relative,  // "Textures\wood.iff": relative to the Imagine Directory
    };
    Root root = Root::Relative;
    std::string volume;              // Volume: the name with its ':' as written ("dh0:")
    std::vector<std::string> names;  // the names after the volume or root, empty ones left out
};

// Splits `path`: a ':' before the first '/' or '\' ends a volume name; the
// rest is split at every '/' and '\'.
ObjectPathParts SplitObjectPath(std::string_view path);

// What is looked for at the end of the path.
enum class EntryKind { Any, File, Directory };

enum class ResolveStatus {
    Found,               // `local` exists and is of the kind asked for
    Missing,             // the start was found, but not everything after it: `local`
                         // is where the path was looked for
    UnmappedVolume,      // the path (or the Imagine Directory it is relative to) is
                         // on volume `volume`, which the map does not hold
    NoImagineDirectory,  // a relative path, and the Imagine Directory is empty or
                         // itself relative
    Invalid,             // a path holding a zero byte
};

struct ResolvedPath {
    ResolveStatus status = ResolveStatus::Invalid;
    // Found: the local path with the names as they are on this machine.
    // Missing: the part that was found, then the rest as decoded from the path.
    std::string local;
    // UnmappedVolume: the volume as written in the path ("DH1:").
    std::string volume;

    bool found() const { return status == ResolveStatus::Found; }
};

// Finds `path` (a path from an object file, or typed in its form) on this
// machine with the map, character set and Imagine Directory of `settings`.
// The empty path, like any relative one, is the Imagine Directory.
ResolvedPath ResolveObjectPath(const Settings& settings, std::string_view path,
                               EntryKind kind = EntryKind::Any);

// True when `path` resolves to an existing entry of `kind`.
bool ObjectPathExists(const Settings& settings, std::string_view path, EntryKind kind);

// Why `path` was not found, for a message; `path` is shown as given, in
// UTF-8 (decoded with `set`):
//   "DH1:Textures is on a volume that is not mapped: DH1:"
//   "Textures is relative and there is no Imagine Directory to resolve it against"
//   "C:\TEX\wood.iff was not found: looked for /home/ann/dos/c/tex/wood.iff"
//   "C:\TEX\wood.iff was found: /home/ann/dos/c/TEX/Wood.iff"
std::string DescribeResolvedPath(std::string_view path, const ResolvedPath& resolved,
                                 CharacterSet set);

enum class ObjectFormStatus {
    Mapped,       // `path` is in the object file's form
    NotMapped,    // no mapped volume holds the local path; `path` is it unchanged
    Unencodable,  // a name holds a character the set cannot hold: `refused`
};

struct ObjectForm {
    ObjectFormStatus status = ObjectFormStatus::NotMapped;
    std::string path;
    char32_t refused = 0;
};

// The object file's form of the local directory or file `localPath`: the
// mapped volume whose directory holds it (the deepest one when several do:
// an assign inside a drive wins), then its names encoded with the
// character set, joined with '\' (PC: C:\TEXTURES\Wood) or '/' (Amiga:
// DH0:Textures/Wood). The volume's own directory gives "C:\" or "DH0:".
// In PC mode a name with no capital letter is written in capitals, as DOS
// shows the short names that reach this machine in small letters; any
// other name keeps its letter case. A relative `localPath` is taken from the
// working directory; links are compared as they are, then resolved.
ObjectForm ObjectFormOfLocalPath(const Settings& settings, std::string_view localPath);

}  // namespace tessvane
