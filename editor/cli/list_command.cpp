#include "list_command.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "cli_context.h"
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
    // Columns are as wide as their widest text in characters, not bytes.
    const auto width = [](const std::string& text) {
        std::size_t n = 0;
        for (const char c : text) n += (static_cast<unsigned char>(c) & 0xc0u) != 0x80u;
        return n;
    };
    // One block per file: its path, then its records in aligned columns.
    std::size_t begin = 0;
    while (begin < rows.size()) {
        std::size_t end = begin;
        while (end < rows.size() && rows[end].fileIndex == rows[begin].fileIndex) ++end;
        std::array<std::size_t, 5> widths{};
        for (std::size_t i = begin; i < end; ++i) {
            for (std::size_t c = 0; c < widths.size(); ++c) {
                widths[c] = std::max(widths[c], width(rows[i].fields[c]));
            }
        }
        out << rows[begin].file << '\n';
        for (std::size_t i = begin; i < end; ++i) {
            std::string line = " ";
            for (std::size_t c = 0; c < widths.size(); ++c) {
                line += ' ';
                line += rows[i].fields[c];
                if (c + 1 < widths.size())
                    line.append(widths[c] - width(rows[i].fields[c]) + 1, ' ');
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
    context.editor = MakeEditorContext("");
    std::string error;
    ContextOptions prepare;
    prepare.settingsFile = &options.settingsFile;
    prepare.charset = &options.charset;
    if (!PrepareEditor(context.editor, prepare, error)) {
        err << "tessvane-cli: " << error << '\n';
        return 2;
    }
    // Listing shows the files as they are: no list is applied on load.
    context.editor.settings.UseDefaultDirectories = false;
    context.editor.settings.UseDefaultTextures = false;
    const CharacterSet set = context.editor.settings.CharacterSet;
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
        for (const PathRecord& record : context.file.Paths.Records) {
            // The file's texts in UTF-8; the file name is this machine's own.
            rows.push_back(
                {index,
                 file,
                 {std::string(KindName(static_cast<unsigned>(record.Kind))),
                  DecodeToUtf8(record.PartName, set), DecodeToUtf8(record.OldDirectory, set),
                  DecodeToUtf8(record.OldFileName, set),
                  DecodeToUtf8(record.OldDescription, set)}});
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
