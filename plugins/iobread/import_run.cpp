#include "iobread/import_run.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "framework/import_steps.h"
#include "framework/log_file.h"
#include "framework/mesh.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"
#include "iobread/import_settings.h"
#include "iobread/tddd_reader.h"
#include "tddd/tddd_format.h"

namespace plugins::iobread {

namespace {

template <typename... Args>
void Status(const ProgressCallbacks* callbacks, const char* format, Args... args) {
    if (callbacks != nullptr && callbacks->Status != nullptr) {
        callbacks->Status(stderr, format, args...);
    }
}

// The host learns nothing but an empty list; the person must hear why.
void TellUser(const std::string& text) {
    Terminal& term = CurrentTerminal();
    *term.err << TerminalSafe(text) << '\n';
    term.err->flush();
}

// Reads the FORM: its header, then as many bytes as the header claims and
// no more, so that neither a pipe without end nor a file with a lying size
// is read further than an Imagine object can reach. Returns false on a read
// error; a file that ends early is returned as it is, for the reader to
// judge.
bool ReadForm(std::FILE* file, std::vector<std::uint8_t>& bytes,
              const ProgressCallbacks* callbacks) {
    constexpr std::size_t kBlock = 1 << 16;
    std::size_t limit = 12;
    bytes.clear();
    while (bytes.size() < limit) {
        const std::size_t at = bytes.size();
        const std::size_t want = std::min(kBlock, limit - at);
        bytes.resize(at + want);
        const std::size_t got = std::fread(bytes.data() + at, 1, want, file);
        bytes.resize(at + got);
        if (got < want) {
            return std::ferror(file) == 0;
        }
        if (at == 0 && bytes.size() >= 8 && std::equal(bytes.begin(), bytes.begin() + 4, "FORM")) {
            limit = tddd::kChunkHeaderBytes + std::size_t{tddd::GetU32(bytes.data() + 4)};
        }
        if (callbacks != nullptr && callbacks->FileProgress != nullptr) {
            callbacks->FileProgress(static_cast<std::uint32_t>(bytes.size() / kBlock),
                                    static_cast<std::uint32_t>(limit / kBlock + 1));
        }
    }
    return true;
}

// name, or name_2, name_3, ... when an earlier mesh has it already.
std::string UniqueName(const std::string& object_name, std::set<std::string>& used) {
    const std::string base = object_name.empty() ? "unnamed" : object_name;
    std::string name = base;
    for (int n = 2; used.count(name) != 0; ++n) {
        name = base + "_" + std::to_string(n);
    }
    used.insert(name);
    return name;
}

// "2 lamps" or "1 lamp".
void Add(std::string& text, int n, const char* one, const char* many) {
    if (n == 0) {
        return;
    }
    text += (text.empty() ? "" : ", ") + std::to_string(n) + " " + (n == 1 ? one : many);
}

void AddFaces(std::string& text, int unclosed, int missing) {
    Add(text, unclosed, "face whose edges do not close", "faces whose edges do not close");
    Add(text, missing, "face naming a missing edge or point",
        "faces naming missing edges or points");
}

std::string SkippedText(const TdddSkipped& s, int unclosed, int missing) {
    std::string text;
    Add(text, s.lamps, "lamp", "lamps");
    Add(text, s.otherShapes, "sphere, ground or stencil", "spheres, grounds or stencils");
    Add(text, s.withoutShape, "object without a shape", "objects without a shape");
    Add(text, s.withoutFaces, "object without faces", "objects without faces");
    Add(text, s.paths, "path", "paths");
    Add(text, s.forms, "Forms object", "Forms objects");
    Add(text, s.external, "external object", "external objects");
    AddFaces(text, unclosed, missing);
    return text;
}

// The object's faces as triangles of a new mesh; unclosed and missing count
// the faces that gave none.
Mesh3d* BuildMesh(const TdddObject& object, const std::string& name, int& unclosed, int& missing) {
    auto* mesh = new Mesh3d(object.faces.size(), name.c_str());
    std::array<std::uint32_t, 3> k{};
    for (std::size_t f = 0; f < object.faces.size(); ++f) {
        switch (FaceCorners(object, f, k)) {
            case FaceProblem::None:
                mesh->AddTriangle({object.points[k[0]], object.points[k[1]], object.points[k[2]]});
                break;
            case FaceProblem::NotClosed:
                ++unclosed;
                break;
            case FaceProblem::MissingIndex:
                ++missing;
                break;
        }
    }
    return mesh;
}

}  // namespace

bool ReadIobFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log) {
    std::FILE* file = OpenImportFile(settings.file_name, log);
    if (file == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    const bool read = ReadForm(file, bytes, callbacks);
    std::fclose(file);
    TdddContents contents;
    std::string problem = "it could not be read";
    if (!read || !ReadTddd(bytes.data(), bytes.size(), contents, problem)) {
        const std::string text = settings.file_name + ": " + problem + "; nothing was imported";
        log.Printf("%s\n", text.c_str());
        TellUser(text);
        return false;
    }

    std::set<std::string> used;
    int unclosed_total = 0;
    int missing_total = 0;
    const std::size_t count = contents.objects.size();
    for (std::size_t i = 0; i < count; ++i) {
        const TdddObject& object = contents.objects[i];
        const std::string mesh_name = UniqueName(object.name, used);
        Status(callbacks, "Working on: %s\n", mesh_name.c_str());
        log.Printf("Working on: %s\n", mesh_name.c_str());
        int unclosed = 0;
        int missing = 0;
        Mesh3d* mesh = BuildMesh(object, mesh_name, unclosed, missing);
        std::string faces;
        AddFaces(faces, unclosed, missing);
        if (!faces.empty()) {
            log.Printf("Skipped %s\n", faces.c_str());
        }
        if (!object.dropped.empty()) {
            std::string ids;
            for (const auto& [id, n] : object.dropped) {
                ids += (ids.empty() ? "" : ", ") + id + (n > 1 ? " x" + std::to_string(n) : "");
            }
            log.Printf("Not carried over: %s\n", ids.c_str());
        }
        unclosed_total += unclosed;
        missing_total += missing;
        if (!HandOverImportedMesh(result, mesh, settings, callbacks, log, static_cast<unsigned>(i),
                                  static_cast<unsigned>(count))) {
            log.Printf("No triangle left: %s\n", mesh_name.c_str());
        }
    }

    const std::string skipped = SkippedText(contents.skipped, unclosed_total, missing_total);
    if (!skipped.empty()) {
        Status(callbacks, "Skipped: %s\n", skipped.c_str());
        log.Printf("Skipped: %s\n", skipped.c_str());
    }
    // A sound file without a custom object, or whose objects hold no
    // triangle, gives nothing the host can use: that is said, not passed
    // over as an import.
    if (result.Count() == 0) {
        ReportNoMeshes(settings.file_name, log);
        return false;
    }
    return true;
}

bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks) {
    ImportRunFrame frame(settings, settings.file_name, kImportTitle, callbacks);
    return ReadIobFile(result, settings, callbacks, frame.Log());
}

}  // namespace plugins::iobread
