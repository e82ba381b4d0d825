// The editor's one way to write a whole file: object files and the settings
// file. A crash, a kill or a full disk never leaves a half-written file where
// a good one was.
//
// The rule, for a target path on this host:
//  - The bytes go to a temporary file beside the target (".NAME.XXXXXX"),
//    which is flushed to the disk and renamed over the target.
//  - A target that is a symbolic link is followed: the file it names is
//    replaced (or made, when the link dangles) and the link stays.
//  - A replaced file keeps its mode, and its owner and group where the process
//    may set them; where not even the group can be kept, the new file has our
//    group and no group permissions. A new file gets 0666 less the umask, or the mode, owner and
//    group of `attributesFrom` when the caller names one (the old file, moved
//    aside as a backup just before).
//  - A target without any write permission bit, or one this process may not
//    write, is refused with EACCES and left as it is.
//  - A device, pipe or socket is written to directly, never replaced.
//  - A file with other names (hard links) is replaced like any other: this
//    name gets the new file, the other names keep the old one. Writing in
//    place instead would leave a half-written file behind a crash; callers
//    tell the user (see HasOtherNames in core/file_system.h).
//  - On failure the old file is as it was, no temporary file is left behind,
//    and `error` holds the system error number.
#pragma once

#include <string>
#include <string_view>

namespace tessvane {

// Writes `contents` to the file at `path` by the rule above. `path` is a path
// of this host. Returns false with `error` set on failure.
bool ReplaceFile(std::string_view path, std::string_view contents, int& error,
                 std::string_view attributesFrom = {});

// The file a path names once every symbolic link along the chain at its end
// is followed; `path` itself when it is not a link. A relative link is read
// from the link's own directory. A chain of more than 40 links gives nothing
// and ELOOP in `error`.
bool FollowLinks(std::string_view path, std::string& target, int& error);

}  // namespace tessvane
