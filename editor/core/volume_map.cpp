#include "core/volume_map.h"

#include <algorithm>
#include <cassert>
#include <filesystem>
#include <system_error>

#include "core/local_names.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool HasKind(const fs::path& path, EntryKind kind) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) return false;
    switch (kind) {
        case EntryKind::Any:
            return fs::exists(status);
        case EntryKind::File:
            return fs::is_regular_file(status);
        case EntryKind::Directory:
            return fs::is_directory(status);
    }
    return false;
}

// The entry of `directory` that stands for the object file's name `raw`
// (`decoded` is it in UTF-8), or empty. Exact spellings are tried before the
// directory is read; among several names that differ only in letter case
// the first in byte order is taken, so the answer never depends on the
// order the directory lists them in.
std::optional<std::string> FindEntry(const fs::path& directory, const std::string& decoded,
                                     std::string_view raw, EntryKind kind) {
    if (HasKind(directory / decoded, kind)) return decoded;
    const std::string rawName(raw);
    if (rawName != decoded && HasKind(directory / rawName, kind)) return rawName;

    const std::string wanted = FoldLocalName(decoded);
    std::optional<std::string> best;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (FoldLocalName(name) != wanted && !EqualUpper(name, raw)) continue;
        if (best && name >= *best) continue;
        if (HasKind(it->path(), kind)) best = std::move(name);
    }
    return best;
}

// "." and ".." taken out: ".." drops the name before it, and at the start
// stays at the start, as DOS does at the root of a drive.
std::vector<std::string> WithoutDots(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& name : names) {
        if (name == ".") continue;
        if (name == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(name);
    }
    return out;
}

// Follows `names` from the local directory `start`, case-blind.
ResolvedPath Walk(const std::string& start, const std::vector<std::string>& names, EntryKind kind,
                  CharacterSet set) {
    ResolvedPath out;
    fs::path here(start);
    const std::vector<std::string> steps = WithoutDots(names);
    if (!HasKind(here, steps.empty() ? kind : EntryKind::Directory)) {
        out.status = ResolveStatus::Missing;
        for (const std::string& name : steps) here /= DecodeToUtf8(name, set);
        out.local = here.string();
        return out;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string decoded = DecodeToUtf8(steps[i], set);
        const EntryKind wanted = i + 1 == steps.size() ? kind : EntryKind::Directory;
        const std::optional<std::string> entry = FindEntry(here, decoded, steps[i], wanted);
        if (!entry) {
            out.status = ResolveStatus::Missing;
            for (std::size_t k = i; k < steps.size(); ++k) here /= DecodeToUtf8(steps[k], set);
            out.local = here.string();
            return out;
        }
        here /= *entry;
    }
    out.status = ResolveStatus::Found;
    out.local = here.string();
    return out;
}

const VolumeMapping* FindMapping(const VolumeList& volumes, std::string_view name) {
    const std::optional<std::size_t> at = FindVolume(volumes, name);
    return at ? &volumes[*at] : nullptr;
}

// The local absolute form of `path`, "." and ".." taken out, no trailing '/'.
std::string NormalLocal(std::string_view path) {
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(std::string(path)), ec);
    if (ec) p = fs::path(std::string(path));
    std::string text = p.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string Canonical(const std::string& path) {
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(fs::path(path), ec);
    if (ec) return path;
    std::string text = p.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// The names of `path` below `directory`, or empty when `directory` does not
// hold it. "/a/b" holds "/a/b" (no names) and "/a/b/c", not "/a/bc".
std::optional<std::string_view> Below(std::string_view path, std::string_view directory) {
    if (directory == "/") return path.substr(1);
    if (path == directory) return std::string_view();
    if (path.size() > directory.size() && path.substr(0, directory.size()) == directory &&
        path[directory.size()] == '/')
        return path.substr(directory.size() + 1);
    return std::nullopt;
}

struct Holder {
    const VolumeMapping* volume = nullptr;
    std::string rest;
};

// The deepest mapped directory that holds `path`; ties go to the earlier entry.
Holder DeepestHolder(const VolumeList& volumes, const std::string& path, bool canonical) {
    Holder best;
    std::size_t depth = 0;
    for (const VolumeMapping& v : volumes) {
        std::string dir = NormalLocal(v.Directory);
        if (canonical) dir = Canonical(dir);
        const std::optional<std::string_view> rest = Below(path, dir);
        if (rest && (best.volume == nullptr || dir.size() > depth)) {
            best.volume = &v;
            best.rest = std::string(*rest);
            depth = dir.size();
        }
    }
    return best;
}

bool HasNoCapital(std::string_view name) {
    return std::none_of(name.begin(), name.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

ObjectPathParts SplitObjectPath(std::string_view path) {
    ObjectPathParts parts;
    const std::size_t colon = path.find(':');
    const std::size_t separator = path.find_first_of("/\\");
    if (colon != std::string_view::npos &&
        (separator == std::string_view::npos || colon < separator)) {
        parts.root = ObjectPathParts::Root::Volume;
        parts.volume = std::string(path.substr(0, colon + 1));
        path.remove_prefix(colon + 1);
    } else if (!path.empty() && IsSeparator(path.front())) {
        parts.root = ObjectPathParts::Root::Local;
    }
    std::size_t begin = 0;
    while (begin <= path.size()) {
        std::size_t end = begin;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (end > begin) parts.names.emplace_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return parts;
}

ResolvedPath ResolveObjectPath(const Settings& settings, std::string_view path, EntryKind kind) {
    ResolvedPath out;
    if (path.find('\0') != std::string_view::npos) return out;

    const ObjectPathParts parts = SplitObjectPath(path);
    switch (parts.root) {
        case ObjectPathParts::Root::Local: {
            // A path of this machine is taken as it stands, as it always was.
            std::string local(path);
            std::replace(local.begin(), local.end(), '\\', '/');
            out.status = HasKind(local, kind) ? ResolveStatus::Found : ResolveStatus::Missing;
            out.local = std::move(local);
            return out;
        }
        case ObjectPathParts::Root::Volume: {
            const VolumeMapping* volume = FindMapping(settings.Volumes, parts.volume);
            if (volume == nullptr) {
                out.status = ResolveStatus::UnmappedVolume;
                out.volume = parts.volume;
                return out;
            }
            return Walk(volume->Directory, parts.names, kind, settings.CharacterSet);
        }
        case ObjectPathParts::Root::Relative: {
            const std::string_view imagine = settings.ImagineDirectory;
            if (imagine.empty() ||
                SplitObjectPath(imagine).root == ObjectPathParts::Root::Relative) {
                out.status = ResolveStatus::NoImagineDirectory;
                return out;
            }
            ResolvedPath base = ResolveObjectPath(settings, imagine, EntryKind::Directory);
            if (base.status == ResolveStatus::Missing) {
                // Where the Imagine Directory is missing, so is everything in it.
                fs::path local(base.local);
                for (const std::string& name : WithoutDots(parts.names))
                    local /= DecodeToUtf8(name, settings.CharacterSet);
                base.local = local.string();
            }
            if (!base.found()) return base;
            return Walk(base.local, parts.names, kind, settings.CharacterSet);
        }
    }
    return out;
}

bool ObjectPathExists(const Settings& settings, std::string_view path, EntryKind kind) {
    return ResolveObjectPath(settings, path, kind).found();
}

std::string DescribeResolvedPath(std::string_view path, const ResolvedPath& resolved,
                                 CharacterSet set) {
    const std::string shown = DecodeToUtf8(path, set);
    switch (resolved.status) {
        case ResolveStatus::Found:
            return shown + " was found: " + resolved.local;
        case ResolveStatus::Missing:
            return shown + " was not found: looked for " + resolved.local;
        case ResolveStatus::UnmappedVolume:
            return shown +
                   " is on a volume that is not mapped: " + DecodeToUtf8(resolved.volume, set);
        case ResolveStatus::NoImagineDirectory:
            return shown + " is relative and there is no Imagine Directory to resolve it against";
        case ResolveStatus::Invalid:
            return shown + " holds a zero byte and names no file";
    }
    return shown;
}

ObjectForm ObjectFormOfLocalPath(const Settings& settings, std::string_view localPath) {
    ObjectForm out;
    out.path = std::string(localPath);
    if (localPath.empty() || localPath.find('\0') != std::string_view::npos) return out;

    const std::string local = NormalLocal(localPath);
    Holder holder = DeepestHolder(settings.Volumes, local, false);
    if (holder.volume == nullptr) holder = DeepestHolder(settings.Volumes, Canonical(local), true);
    if (holder.volume == nullptr) return out;

    const bool pc = settings.Computer == ComputerType::PC;
    std::string result = holder.volume->Name;
    if (pc) result += '\\';
    std::string_view rest = holder.rest;
    bool first = true;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (name.empty()) continue;
        std::string bytes(name);
        if (IsUtf8Name(name)) {
            EncodeResult encoded = EncodeFromUtf8(name, settings.CharacterSet);
            if (!encoded.ok()) {
                out.status = ObjectFormStatus::Unencodable;
                out.refused = *encoded.refused;
                return out;
            }
            bytes = std::move(encoded.bytes);
        }
        if (pc && HasNoCapital(bytes)) bytes = UpperCase(bytes);
        if (!first) result += pc ? '\\' : '/';
        result += bytes;
        first = false;
    }
    out.status = ObjectFormStatus::Mapped;
    out.path = std::move(result);
    return out;
}

}  // namespace tessvane
