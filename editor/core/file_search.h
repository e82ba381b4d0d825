// Looking for files that moved: an index of every file name under some
// directory trees, read once per command, and the candidates it holds for a
// path of an object file that is not where the file says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "state/settings.h"

namespace tessvane {

class FileIndex {
  public:
    // Reads every file under `roots` once. A root inside another root, or
    // given twice, is read once; the root "/" is left out (a PC emulator's
    // drive for the whole machine would make every search read everything).
    // Links to files count as files; links to directories below a root are
    // not followed, so a tree that links to itself is read once. Directories
    // that cannot be read are left out.
    static FileIndex Build(const std::vector<std::string>& roots);

    // The roots read, after the rules above.
    const std::vector<std::string>& Roots() const { return roots_; }
    std::size_t FileCount() const { return files_.size(); }

    // Local paths of the files whose name is `name` ignoring letter case
    // (see local_names.h), in byte order.
    std::vector<std::string> Named(std::string_view name) const;

  private:
    struct File {
        std::uint32_t directory;
        std::string name;
    };
    std::vector<std::string> roots_;
    std::vector<std::string> directories_;
    std::vector<File> files_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byName_;
};

// Where a search looks: the directories of the mapped volumes, then `extra`
// (directories given by the user), as FileIndex::Build takes them.
std::vector<std::string> SearchRoots(const Settings& settings,
                                     const std::vector<std::string>& extra);

struct Candidate {
    std::string local;              // the file found
    std::size_t sharedDirectories;  // trailing directory names it shares with the path
};

// The files of `index` that may be the one `objectPath` (a path of an object
// file, in its character set) names: those with its file name, ignoring
// letter case. Ranked by how many directory names they share with the path,
// counted from the file backwards (DH0:Art/Wood/oak.iff shares 2 with
// .../Old/Art/Wood/oak.iff and 0 with .../Wood/Art/oak.iff), most first;
// then by local path.
std::vector<Candidate> FindCandidates(const FileIndex& index, const Settings& settings,
                                      std::string_view objectPath);

}  // namespace tessvane
