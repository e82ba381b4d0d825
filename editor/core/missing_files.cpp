#include "core/missing_files.h"

#include <filesystem>

#include "core/local_names.h"
#include "core/path_rules.h"

namespace tessvane {
namespace {

bool EndsInSeparator(std::string_view text) {
    return !text.empty() && (text.back() == ':' || text.back() == '/' || text.back() == '\\');
}

std::string_view CurrentName(const PathRecord& record) {
    return record.NewFileName == record.OldFileName && !record.StoredFileName.empty()
               ? std::string_view(record.StoredFileName)
               : record.NewFileName.view();
}

LinkStatus StatusOf(const ResolvedPath& resolved) {
    switch (resolved.status) {
        case ResolveStatus::Found:
            return LinkStatus::Found;
        case ResolveStatus::Missing:
            return LinkStatus::Missing;
        default:
            return LinkStatus::NotMappable;
    }
}

}  // namespace

std::string RecordPath(const Settings& settings, const PathRecord& record) {
    std::string path = record.NewDirectory.str();
    if (!path.empty() && !EndsInSeparator(path)) {
        const std::size_t last = path.find_last_of("/\\");
        if (last != std::string::npos)
            path += path[last];
        else
            path += settings.Computer == ComputerType::Amiga ? '/' : '\\';
    }
    path += CurrentName(record);
    return path;
}

std::vector<RecordLink> CheckRecordLinks(const Settings& settings, const ObjectFile& file,
                                         const FileIndex* index) {
    std::vector<RecordLink> links;
    links.reserve(file.Paths.Count());
    for (std::size_t n = 1; n <= file.Paths.Count(); ++n) {
        RecordLink link;
        link.record = n;
        link.path = RecordPath(settings, file.Paths.Record(n));
        link.resolved = ResolveObjectPath(settings, link.path, EntryKind::File);
        link.status = StatusOf(link.resolved);
        if (link.status != LinkStatus::Found && index != nullptr)
            link.candidates = FindCandidates(*index, settings, link.path);
        links.push_back(std::move(link));
    }
    return links;
}

RelinkOutcome RelinkRecord(CoreContext& context, std::size_t recordNumber,
                           const std::string& localFile) {
    RelinkOutcome outcome;
    if (recordNumber < 1 || recordNumber > context.file.Paths.Count()) return outcome;
    const Settings& settings = context.editor.settings;
    PathRecord& record = context.file.Paths.Record(recordNumber);

    const std::filesystem::path local(localFile);
    const ObjectForm directory = ObjectFormOfLocalPath(settings, local.parent_path().string());
    switch (directory.status) {
        case ObjectFormStatus::Mapped:
            break;
        case ObjectFormStatus::NotMapped:
            outcome.status = RelinkStatus::NotMapped;
            outcome.message = localFile + " is on no mapped volume";
            return outcome;
        case ObjectFormStatus::Unencodable:
            outcome.status = RelinkStatus::Unencodable;
            outcome.message = localFile + ": the character set " +
                              std::string(CharacterSetName(settings.CharacterSet)) +
                              " cannot hold " + DescribeCodePoint(directory.refused);
            return outcome;
    }
    if (directory.path.size() > kMaxPathText) {
        outcome.status = RelinkStatus::TooLong;
        outcome.message = localFile + ": its directory is longer than 255 characters as " +
                          DecodeToUtf8(directory.path, settings.CharacterSet);
        return outcome;
    }

    // The name: kept unless the file's differs from it only in letter case,
    // and then only when the set can hold it and it fits.
    std::string name = local.filename().string();
    if (IsUtf8Name(name)) {
        EncodeResult encoded = EncodeFromUtf8(name, settings.CharacterSet);
        name = encoded.ok() ? std::move(encoded.bytes) : std::string();
    }
    const std::string current(CurrentName(record));
    const bool renamed = !name.empty() && name != current && name.size() <= kMaxNameText &&
                         FoldLocalName(DecodeToUtf8(name, settings.CharacterSet)) ==
                             FoldLocalName(DecodeToUtf8(current, settings.CharacterSet));

    const std::string before = record.NewDirectory.str();
    record.NewDirectory = directory.path;
    LogChange(context, record.PartName, "Path", "Changed To", before, record.NewDirectory);
    if (renamed) {
        record.NewFileName = name;
        LogChange(context, record.PartName, "File Name", "Changed To", current, record.NewFileName);
    }
    outcome.status = RelinkStatus::Relinked;
    return outcome;
}

}  // namespace tessvane
