// Which files the paths of the held object file name are found here, which
// are missing, and giving a record the new place of a file that moved.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/core_context.h"
#include "core/file_search.h"
#include "core/volume_map.h"

namespace tessvane {

// The path a record names now, in the object file's form: its NewDirectory,
// a separator unless the directory ends in one (':', '/', '\'), then its new
// file name (the whole stored name while the name is unchanged). The
// separator is the one the directory uses already, else that of the
// Computer setting ('\' for PC, '/' for Amiga).
std::string RecordPath(const Settings& settings, const PathRecord& record);

enum class LinkStatus {
    Found,        // the file is here: `resolved.local`
    Missing,      // its volume is mapped, but the file is not where the path says
    NotMappable,  // its volume is not mapped, or it is relative and there is no
                  // Imagine Directory to resolve it
};

struct RecordLink {
    std::size_t record = 0;  // record number (1-based, file order)
    std::string path;        // RecordPath of the record
    ResolvedPath resolved;
    LinkStatus status = LinkStatus::NotMappable;
    // For a file that is not Found, when an index was given: the files that
    // may be it, best first (see FindCandidates).
    std::vector<Candidate> candidates;
};

// Every record of `file` in file order, resolved through the map of
// `settings`; with `index`, the ones not found (missing or not mappable:
// their file may still lie under a searched tree) get their candidates.
std::vector<RecordLink> CheckRecordLinks(const Settings& settings, const ObjectFile& file,
                                         const FileIndex* index);

enum class RelinkStatus {
    Relinked,     // the record now names the file
    NotMapped,    // the file lies on no mapped volume: nothing changed
    Unencodable,  // a name holds a character the set cannot hold: nothing changed
    TooLong,      // the new directory would not fit in 255 characters: nothing changed
    NoRecord,     // no record of that number
};

struct RelinkOutcome {
    RelinkStatus status = RelinkStatus::NoRecord;
    std::string message;  // why nothing changed, in UTF-8; empty when relinked
};

// Gives record `recordNumber` the place of the local file `localFile`: the
// directory in the object file's form through the map (ObjectFormOfLocalPath)
// becomes NewDirectory, and when the file's name differs from the record's
// only in letter case, that name (in the character set) becomes NewFileName. Each change is logged
// like any other: "Path" (and "File Name") "Changed To".
RelinkOutcome RelinkRecord(CoreContext& context, std::size_t recordNumber,
                           const std::string& localFile);

}  // namespace tessvane
