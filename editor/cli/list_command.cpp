#include "list_command.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/batch_log.h"
#include "core/batch_status.h"
#include "core/core_context.h"
#include "core/scanner.h"
#include "text_output.h"

namespace tessvane::cli {
namespace {

struct Row {
    std::size_t fileIndex;  // position of the file on the command line
    std::string file;
    std::array<std::string, 5> fields;  // kind, part, directory, name, description
};

constexpr std::array<std::string_view, 6> kHeadings = {"file",      "kind", "part",
                                                       "directory", "name", "description"};

void PrintText(std::vector<Row> rows, std::ostream& out) {
    // Texts from the files are shown the way a terminal can take them.
    for (Row& row : rows) {
        for (std::string& field : row.fields) field = TerminalText(field);
    }
    // One block per file: its path, then its records in aligned columns.
    std::size_t begin = 0;
    while (begin < rows.size()) {
        std::size_t end = begin;
        while (end < rows.size() && rows[end].fileIndex == rows[begin].fileIndex) ++end;
        std::array<std::size_t, 5> width{};
        for (std::size_t i = begin; i < end; ++i) {
            for (std::size_t c = 0; c < width.size(); ++c) {
                width[c] = std::max(width[c], rows[i].fields[c].size());
            }
        }
        out << rows[begin].file << '\n';
        for (std::size_t i = begin; i < end; ++i) {
            std::string line = " ";
            for (std::size_t c = 0; c < width.size(); ++c) {
                line += ' ';
                line += rows[i].fields[c];
                if (c + 1 < width.size()) line.append(width[c] - rows[i].fields[c].size() + 1, ' ');
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out << line << '\n';
        }
        begin = end;
    }
}

void PrintTsv(const std::vector<Row>& rows, std::ostream& out) {
    for (std::size_t c = 0; c < kHeadings.size(); ++c) out << (c ? "\t" : "") << kHeadings[c];
    out << '\n';
    for (const Row& row : rows) {
        out << TsvField(row.file);
        for (const std::string& field : row.fields) out << '\t' << TsvField(field);
        out << '\n';
    }
}

void PrintJson(const std::vector<Row>& rows, std::ostream& out) {
    out << '[';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out << (i ? ",\n " : "\n ") << "{" << JsonString(kHeadings[0]) << ": "
            << JsonString(rows[i].file);
        for (std::size_t c = 0; c < rows[i].fields.size(); ++c) {
            out << ", " << JsonString(kHeadings[c + 1]) << ": " << JsonString(rows[i].fields[c]);
        }
        out << '}';
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

std::string_view KindName(unsigned kind) {
    static constexpr std::array<std::string_view, 5> kNames = {"Texture", "Brush", "Object",
                                                               "Effect", "Particle Object"};
    return kind < kNames.size() ? kNames[kind] : std::string_view("Unknown");
}

int RunListCommand(const ListOptions& options, std::ostream& out, std::ostream& err) {
    CoreContext context;
    // Listing shows the files as they are: no list is applied on load.
    context.editor = MakeEditorContext("");
    std::vector<Row> rows;
    bool failed = false;
    for (std::size_t index = 0; index < options.files.size(); ++index) {
        const std::string& file = options.files[index];
        const ReadStatus read = ReadObjectFile(context, file, false);
        if (read != ReadStatus::Ok) {
            err << file << BatchStatusSuffix(BatchStatusFromRead(static_cast<int>(read))) << '\n';
            failed = true;
            continue;
        }
        for (const PathRecord& record : context.file.Paths.Records) {
            rows.push_back({index,
                            file,
                            {std::string(KindName(static_cast<unsigned>(record.Kind))),
                             record.PartName.str(), record.OldDirectory.str(),
                             record.OldFileName.str(), record.OldDescription.str()}});
        }
        FreeObjectFile(context.file);
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
    return failed ? 1 : 0;
}

}  // namespace tessvane::cli
