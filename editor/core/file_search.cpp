#include "core/file_search.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/local_names.h"
#include "core/volume_map.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool Inside(const std::string& path, const std::string& root) {
    return path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
           path[root.size()] == '/';
}

// The directory names of a local path, without its last name.
std::vector<std::string_view> DirectoryNames(std::string_view path) {
    std::vector<std::string_view> names;
    const std::size_t last = path.rfind('/');
    if (last == std::string_view::npos) return names;
    path = path.substr(0, last);
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t end = std::min(path.find('/', begin), path.size());
        if (end > begin) names.push_back(path.substr(begin, end - begin));
        begin = end + 1;
    }
    return names;
}

// The type of an entry whose directory gave type DT_LNK or DT_UNKNOWN (a
// file system that does not say): DT_REG for a file or a link to one,
// DT_DIR for a directory that is no link, 0 for anything else and for an
// entry that is gone or cannot be examined.
unsigned char ResolvedType(const std::string& full, unsigned char type) {
    struct stat info {};
    if (type == DT_UNKNOWN) {
        if (::lstat(full.c_str(), &info) != 0) return 0;
        if (S_ISDIR(info.st_mode)) return DT_DIR;
        if (S_ISREG(info.st_mode)) return DT_REG;
        if (!S_ISLNK(info.st_mode)) return 0;
    }
    if (::stat(full.c_str(), &info) != 0) return 0;
    return S_ISREG(info.st_mode) ? DT_REG : 0;
}

}  // namespace

FileIndex FileIndex::Build(const std::vector<std::string>& roots) {
    FileIndex index;
    std::vector<std::string> real;
    for (const std::string& root : roots) {
        std::error_code ec;
        const fs::path path = fs::canonical(root, ec);
        if (ec || !fs::is_directory(path, ec) || path == "/") continue;
        real.push_back(path.string());
    }
    std::sort(real.begin(), real.end());
    for (const std::string& root : real) {
        if (!index.roots_.empty() &&
            (root == index.roots_.back() || Inside(root, index.roots_.back())))
            continue;
        index.roots_.push_back(root);
    }

    std::vector<std::uint32_t> pending;
    for (const std::string& root : index.roots_) {
        pending.push_back(static_cast<std::uint32_t>(index.directories_.size()));
        index.directories_.push_back(root);
    }
    while (!pending.empty()) {
        const std::uint32_t at = pending.back();
        pending.pop_back();
        // Copied: adding subdirectories below may move the vector's texts.
        const std::string directory = index.directories_[at];
        const DirHandle dir(::opendir(directory.c_str()));
        if (!dir) continue;
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            unsigned char type = entry->d_type;
            if (type == DT_LNK || type == DT_UNKNOWN) {
                type = ResolvedType(directory + "/" + std::string(name), type);
            }
            if (type == DT_DIR) {
                pending.push_back(static_cast<std::uint32_t>(index.directories_.size()));
                index.directories_.push_back(directory + "/" + std::string(name));
            } else if (type == DT_REG) {
                const auto number = static_cast<std::uint32_t>(index.files_.size());
                index.files_.push_back({at, std::string(name)});
                index.byName_[FoldLocalName(name)].push_back(number);
            }
        }
    }
    return index;
}

std::vector<std::string> FileIndex::Named(std::string_view name) const {
    std::vector<std::string> paths;
    const auto found = byName_.find(FoldLocalName(name));
    if (found == byName_.end()) return paths;
    for (const std::uint32_t number : found->second) {
        const File& file = files_[number];
        paths.push_back(directories_[file.directory] + "/" + file.name);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> SearchRoots(const Settings& settings,
                                     const std::vector<std::string>& extra) {
    std::vector<std::string> roots;
    for (const VolumeMapping& volume : settings.Volumes) roots.push_back(volume.Directory);
    roots.insert(roots.end(), extra.begin(), extra.end());
    return roots;
}

std::vector<Candidate> FindCandidates(const FileIndex& index, const Settings& settings,
                                      std::string_view objectPath) {
    std::vector<Candidate> candidates;
    const ObjectPathParts parts = SplitObjectPath(objectPath);
    if (parts.names.empty() || objectPath.find('\0') != std::string_view::npos) return candidates;

    // Each name of the path in both forms a local name may have: decoded
    // with the character set, or its bytes as they are.
    const auto forms = [&](const std::string& raw) {
        return std::pair(FoldLocalName(DecodeToUtf8(raw, settings.CharacterSet)),
                         FoldLocalName(raw));
    };
    const std::string& fileName = parts.names.back();
    std::vector<std::string> found = index.Named(DecodeToUtf8(fileName, settings.CharacterSet));
    for (std::string& raw : index.Named(fileName)) found.push_back(std::move(raw));
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    std::vector<std::pair<std::string, std::string>> oldDirectories;
    for (std::size_t i = 0; i + 1 < parts.names.size(); ++i)
        oldDirectories.push_back(forms(parts.names[i]));

    for (std::string& local : found) {
        const std::vector<std::string_view> names = DirectoryNames(local);
        std::size_t shared = 0;
        while (shared < names.size() && shared < oldDirectories.size()) {
            const std::string name = FoldLocalName(names[names.size() - 1 - shared]);
            const auto& [decoded, raw] = oldDirectories[oldDirectories.size() - 1 - shared];
            if (name != decoded && name != raw) break;
            ++shared;
        }
        candidates.push_back({std::move(local), shared});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) {
                         return a.sharedDirectories > b.sharedDirectories;
                     });
    return candidates;
}

}  // namespace tessvane
