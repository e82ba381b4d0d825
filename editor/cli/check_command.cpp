#include "check_command.h"

#include <algorithm>
#include <array>

#include "cli_context.h"
#include "core/batch_log.h"
#include "core/batch_status.h"
#include "core/scanner.h"
#include "text_output.h"

namespace tessvane::cli {
namespace {

// One path of one file, its texts already in UTF-8.
struct Row {
    std::size_t fileIndex;
    std::string file;
    std::string part;
    std::string path;  // as the object file holds it, decoded
    std::string rawPath;
    RecordLink link;
    std::string reason;  // why a path was not found, for text and JSON
};

std::size_t Width(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xc0u) != 0x80u;
    return n;
}

std::string Joined(const std::vector<Candidate>& candidates, std::string_view separator) {
    std::string out;
    for (const Candidate& c : candidates) {
        if (!out.empty()) out += separator;
        out += c.local;
    }
    return out;
}

// What the text format says after the status.
std::string Detail(const Row& row) {
    const RecordLink& link = row.link;
    if (link.status == LinkStatus::Found) return link.resolved.local;
    std::string detail;
    if (link.candidates.size() == 1) {
        detail = "candidate: " + link.candidates[0].local;
    } else if (!link.candidates.empty()) {
        detail = std::to_string(link.candidates.size()) +
                 " candidates: " + Joined(link.candidates, ", ");
    } else if (link.status == LinkStatus::Missing) {
        detail = "looked for " + link.resolved.local;
    }
    if (link.status == LinkStatus::NotMappable) {
        detail = row.reason + (detail.empty() ? "" : "; " + detail);
    }
    return detail;
}

void PrintText(const std::vector<Row>& rows, std::ostream& out) {
    std::size_t begin = 0;
    while (begin < rows.size()) {
        std::size_t end = begin;
        while (end < rows.size() && rows[end].fileIndex == rows[begin].fileIndex) ++end;
        std::vector<std::array<std::string, 4>> lines;
        std::array<std::size_t, 4> widths{};
        for (std::size_t i = begin; i < end; ++i) {
            const std::array<std::string, 4> fields = {
                TerminalText(rows[i].part), TerminalText(rows[i].path),
                std::string(LinkStatusWord(rows[i].link.status)), TerminalText(Detail(rows[i]))};
            for (std::size_t c = 0; c < 4; ++c) widths[c] = std::max(widths[c], Width(fields[c]));
            lines.push_back(fields);
        }
        out << TerminalText(rows[begin].file) << '\n';
        for (const auto& fields : lines) {
            std::string line = " ";
            for (std::size_t c = 0; c < 4; ++c) {
                line += ' ';
                line += fields[c];
                if (c + 1 < 4) line.append(widths[c] - Width(fields[c]) + 1, ' ');
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out << line << '\n';
        }
        begin = end;
    }
}

void PrintTsv(const std::vector<Row>& rows, std::ostream& out) {
    out << "file\tpart\tpath\tstatus\tlocal\tcandidates\n";
    for (const Row& row : rows) {
        const bool found = row.link.status == LinkStatus::Found;
        out << TsvField(row.file) << '\t' << TsvField(row.part) << '\t' << TsvField(row.path)
            << '\t' << LinkStatusWord(row.link.status) << '\t'
            << TsvField(found ? row.link.resolved.local : "") << '\t'
            << TsvField(Joined(row.link.candidates, "\n")) << '\n';
    }
}

void PrintJson(const std::vector<Row>& rows, std::ostream& out) {
    out << '[';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const bool found = row.link.status == LinkStatus::Found;
        out << (i ? ",\n " : "\n ") << "{\"file\": " << JsonString(row.file)
            << ", \"part\": " << JsonString(row.part) << ", \"path\": " << JsonString(row.path)
            << ", \"status\": " << JsonString(LinkStatusWord(row.link.status))
            << ", \"local\": " << JsonString(found ? row.link.resolved.local : "")
            << ", \"candidates\": [";
        for (std::size_t c = 0; c < row.link.candidates.size(); ++c) {
            out << (c ? ", " : "") << JsonString(row.link.candidates[c].local);
        }
        out << "], \"reason\": " << JsonString(row.reason) << '}';
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

std::string UnmappableReason(const ResolvedPath& resolved) {
    switch (resolved.status) {
        case ResolveStatus::UnmappedVolume:
            return "volume not mapped: " + resolved.volume;
        case ResolveStatus::NoImagineDirectory:
            return "relative, and no Imagine Directory";
        case ResolveStatus::Invalid:
            return "holds a zero byte";
        default:
            return "";
    }
}

std::string_view LinkStatusWord(LinkStatus status) {
    switch (status) {
        case LinkStatus::Found:
            return "found";
        case LinkStatus::Missing:
            return "missing";
        case LinkStatus::NotMappable:
            return "not mappable";
    }
    return "";
}

FileIndex BuildSearchIndex(const Settings& settings, const std::vector<std::string>& searchDirs,
                           std::ostream& err, bool progress) {
    const std::vector<std::string> roots = SearchRoots(settings, searchDirs);
    if (progress) {
        for (const std::string& root : roots) err << "tessvane-cli: searching " << root << '\n';
    }
    return FileIndex::Build(roots);
}

int RunCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err,
                    bool progress) {
    CoreContext context;
    // Without a settings file there is no Imagine Directory: a relative path
    // is not mappable rather than looked for beside the program.
    context.editor = MakeEditorContext("");
    std::string error;
    const ContextOptions prepare{&options.settingsFile, &options.charset, &options.volumes,
                                 &options.imagineDir, &options.searchDirs};
    if (!PrepareEditor(context.editor, prepare, error)) {
        err << "tessvane-cli: " << error << '\n';
        return 2;
    }
    Settings& settings = context.editor.settings;
    if (options.computer) settings.Computer = *options.computer;
    // The files are checked as they are: no list is applied on load.
    settings.UseDefaultDirectories = false;
    settings.UseDefaultTextures = false;
    const CharacterSet set = settings.CharacterSet;

    std::vector<Row> rows;
    bool failed = false;
    for (std::size_t index = 0; index < options.files.size(); ++index) {
        const std::string& file = options.files[index];
        const ReadStatus read = ReadObjectFile(context, file, false);
        if (read != ReadStatus::Ok) {
            err << file << BatchStatusSuffix(BatchStatusFromRead(read)) << '\n';
            failed = true;
            continue;
        }
        for (RecordLink& link : CheckRecordLinks(settings, context.file, nullptr)) {
            const PathRecord& record = context.file.Paths.Record(link.record);
            Row row{index,
                    file,
                    DecodeToUtf8(record.PartName, set),
                    DecodeToUtf8(link.path, set),
                    link.path,
                    std::move(link),
                    ""};
            row.reason = UnmappableReason(row.link.resolved);
            rows.push_back(std::move(row));
        }
        FreeObjectFile(context.file);
    }

    const bool allFound = std::all_of(rows.begin(), rows.end(), [](const Row& row) {
        return row.link.status == LinkStatus::Found;
    });
    if (!allFound) {
        const FileIndex index = BuildSearchIndex(settings, options.searchDirs, err, progress);
        for (Row& row : rows) {
            if (row.link.status != LinkStatus::Found)
                row.link.candidates = FindCandidates(index, settings, row.rawPath);
        }
    }

    switch (options.format) {
        case ListFormat::Text:
            PrintText(rows, out);
            break;
        case ListFormat::Tsv:
            PrintTsv(rows, out);
            break;
        case ListFormat::Json:
            PrintJson(rows, out);
            break;
    }
    out.flush();
    return failed || !allFound ? 1 : 0;
}

}  // namespace tessvane::cli
