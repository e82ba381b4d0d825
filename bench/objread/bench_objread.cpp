// Imports generated OBJ files through meshconv (which loads objread with
// dlopen), Assimp and tinyobjloader side by side: each load in a process of
// its own, so that wall time and peak memory are the whole cost of a load,
// the loaders taking turns run after run. Prints the medians, peak memory
// and counts of each and meshconv's ratios to both peers, on two files:
//   realistic  n-gons, concave polygons, many groups, 8 objects with 2
//              materials each, 6-decimal coordinates (realistic_obj.h)
//   grid       quads and triangles of planar grids, short numbers
//              (obj_generator.h)
// and checks the realistic file against the goals of the import, among them
// the memory of the mesh tables per triangle they hold, which the reader's
// own parse reports (--tables, in a process of its own). Two extreme files
// follow, for time and peak memory where input is unusual:
//   face       one face line of 100,000 corners (a circle in a tilted plane)
//   groups     100,000 groups of one triangle each, split by object
//
//   bench_objread [--triangles N] [--runs R] [--case realistic|grid|face|groups|all]
//   bench_objread --load assimp|tinyobjloader FILE   (one load; used internally)
//   bench_objread --tables FILE   (the mesh tables of an import by object;
//                                  used internally)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "child_run.h"
#include "framework/mesh.h"
#include "obj_generator.h"
#include "objread/obj_reader.h"
#include "realistic_obj.h"

#ifdef HAVE_ASSIMP
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>
#endif
#ifdef HAVE_TINYOBJLOADER
#include <tiny_obj_loader.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Counts {
    unsigned long long meshes = 0;
    unsigned long long vertices = 0;
    unsigned long long triangles = 0;
};

void PrintTotal(const Counts& c) {
    std::printf("total\t%llu\t%llu\t%llu\n", c.meshes, c.vertices, c.triangles);
}

int LoadInProcess(const std::string& loader, const std::string& file) {
    Counts c;
#ifdef HAVE_ASSIMP
    if (loader == "assimp") {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFile(file, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                                        aiProcess_FixInfacingNormals);
        if (scene == nullptr) {
            std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
            return 1;
        }
        for (unsigned i = 0; i < scene->mNumMeshes; ++i) {
            ++c.meshes;
            c.vertices += scene->mMeshes[i]->mNumVertices;
            c.triangles += scene->mMeshes[i]->mNumFaces;
        }
        PrintTotal(c);
        return 0;
    }
#endif
#ifdef HAVE_TINYOBJLOADER
    if (loader == "tinyobjloader") {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
        // Triangulating, as objread does; the file's material library is
        // not there, which tinyobjloader only warns about.
        if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, file.c_str(), nullptr,
                              true)) {
            std::fprintf(stderr, "tinyobjloader: %s\n", err.c_str());
            return 1;
        }
        c.meshes = shapes.size();
        c.vertices = attrib.vertices.size() / 3;
        for (const auto& shape : shapes) {
            c.triangles += shape.mesh.num_face_vertices.size();
        }
        PrintTotal(c);
        return 0;
    }
#endif
    std::fprintf(stderr, "bench_objread: loader %s is not built in\n", loader.c_str());
    return 2;
}

// Parses file as an import split by object does and prints the bytes that
// the mesh tables of all groups hold at the end of the parse (the most they
// hold at once: they only grow while the file is read) and the triangles
// they hold: "tables<TAB>bytes<TAB>triangles".
int MeasureTables(const std::string& file) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        std::perror(file.c_str());
        return 1;
    }
    std::fseek(in, 0, SEEK_END);
    const long size = std::ftell(in);
    std::fseek(in, 0, SEEK_SET);
    plugins::objread::ObjGroupList groups;
    plugins::objread::ObjParseContext context;
    context.splitMode = plugins::objread::SplitMode::Object;
    context.fileSize = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    const plugins::objread::ObjParseResult parsed =
        plugins::objread::ParseObjLines(in, groups, context);
    std::fclose(in);
    unsigned long long bytes = 0;
    unsigned long long triangles = 0;
    for (std::size_t i = 0; i < groups.Count(); ++i) {
        plugins::Mesh3d* mesh = groups.Get(i).mesh;
        if (mesh != nullptr) {
            bytes +=
                mesh->vertices->HeldBytes() + mesh->faces->HeldBytes() + mesh->edges->HeldBytes();
            triangles += static_cast<unsigned long long>(mesh->faces->Count());
        }
        delete mesh;
    }
    if (parsed.status != plugins::objread::ObjParseResult::Status::Read) {
        std::fprintf(stderr, "bench_objread: %s could not be read to its end\n", file.c_str());
        return 1;
    }
    std::printf("tables\t%llu\t%llu\n", bytes, triangles);
    return 0;
}

// The tables' bytes per triangle held, from a run of --tables; false when
// the run failed.
bool TableBytesPerTriangle(const std::string& file, const std::string& configHome,
                           double& perTriangle) {
    const objbench::ChildRun run =
        objbench::RunChild({objbench::SelfPath(), "--tables", file}, configHome, 0);
    unsigned long long bytes = 0;
    unsigned long long triangles = 0;
    const std::size_t at = run.output.rfind("tables\t");
    if (!run.ok || at == std::string::npos ||
        std::sscanf(run.output.c_str() + at, "tables\t%llu\t%llu", &bytes, &triangles) != 2 ||
        triangles == 0) {
        return false;
    }
    perTriangle = static_cast<double>(bytes) / static_cast<double>(triangles);
    return true;
}

struct Loader {
    Loader(std::string n, std::vector<std::string> a) : name(std::move(n)), argv(std::move(a)) {}

    std::string name;
    std::vector<std::string> argv;
    bool ok = true;
    unsigned limitSeconds = 0;  // 0: no limit
    bool timedOut = false;
    std::vector<double> wall;
    std::vector<double> cpu;
    long peakKiB = 0;
    Counts counts;

    double Wall() const { return objbench::Median(wall); }
    double Cpu() const { return objbench::Median(cpu); }
};

void RunOnce(Loader& loader, const std::string& configHome) {
    if (!loader.ok) {
        return;
    }
    const objbench::ChildRun run = objbench::RunChild(loader.argv, configHome, loader.limitSeconds);
    loader.timedOut = run.timedOut;
    const std::size_t at = run.output.rfind("total\t");
    Counts c;
    loader.ok = run.ok && at != std::string::npos &&
                std::sscanf(run.output.c_str() + at, "total\t%llu\t%llu\t%llu", &c.meshes,
                            &c.vertices, &c.triangles) == 3;
    loader.counts = c;
    loader.wall.push_back(run.seconds);
    loader.cpu.push_back(run.cpuSeconds);
    loader.peakKiB = std::max(loader.peakKiB, run.peakKiB);
}

const Loader* Find(const std::vector<Loader>& loaders, const char* name) {
    for (const Loader& l : loaders) {
        if (l.name == name && l.ok) {
            return &l;
        }
    }
    return nullptr;
}

void Ratio(char* text, std::size_t size, double ours, const Loader* peer, double value) {
    if (peer == nullptr || value <= 0.0) {
        std::snprintf(text, size, "-");
    } else {
        std::snprintf(text, size, "%.2fx", ours / value);
    }
}

// The most bytes the mesh tables may hold per triangle.
constexpr double kTableBytesGoal = 150.0;

// Prints the table of one file and, for the realistic one, the goals
// (tableBytes: the tables' bytes per triangle, below 0 when unmeasured).
// Returns false when a goal was missed or could not be measured.
bool Report(const std::vector<Loader>& loaders, int runs, bool goals, double tableBytes) {
    const Loader* tiny = Find(loaders, "tinyobjloader");
    const Loader* assimp = Find(loaders, "assimp");
    std::printf("%-28s %8s %8s %9s %6s %9s %10s %11s %11s %11s\n", "loader", "wall s", "cpu s",
                "peak MiB", "meshes", "vertices", "triangles", "wall/tiny", "wall/assimp",
                "mem/assimp");
    for (const Loader& l : loaders) {
        if (l.timedOut) {
            std::printf("%-28s gave up after %u s\n", l.name.c_str(), l.limitSeconds);
            continue;
        }
        if (!l.ok) {
            std::printf("%-28s failed\n", l.name.c_str());
            continue;
        }
        char vsTiny[32], vsAssimp[32], memAssimp[32];
        Ratio(vsTiny, sizeof vsTiny, l.Wall(), tiny, tiny != nullptr ? tiny->Wall() : 0.0);
        Ratio(vsAssimp, sizeof vsAssimp, l.Wall(), assimp,
              assimp != nullptr ? assimp->Wall() : 0.0);
        Ratio(memAssimp, sizeof memAssimp, static_cast<double>(l.peakKiB), assimp,
              assimp != nullptr ? static_cast<double>(assimp->peakKiB) : 0.0);
        std::printf("%-28s %8.3f %8.3f %9.1f %6llu %9llu %10llu %11s %11s %11s\n", l.name.c_str(),
                    l.Wall(), l.Cpu(), l.peakKiB / 1024.0, l.counts.meshes, l.counts.vertices,
                    l.counts.triangles, vsTiny, vsAssimp, memAssimp);
    }
    std::printf("(median of %d runs each, the loaders taking turns; cpu = user + system)\n", runs);
    const Loader& ours = loaders.front();
    if (!goals) {
        return true;
    }
    if (!ours.ok) {
        std::printf("goal: the import failed, every goal MISSED\n");
        return false;
    }
    bool allMet = true;
    auto verdict = [&allMet](bool met) {
        allMet = allMet && met;
        return met ? "met" : "MISSED";
    };
    if (tiny != nullptr && tiny->Cpu() > 0.0) {
        // Not a goal of its own: the wall times of a loaded machine say
        // little, the processor time says what each load costs.
        std::printf("cpu: import %.3f s, tinyobjloader %.3f s: %.2fx\n", ours.Cpu(), tiny->Cpu(),
                    ours.Cpu() / tiny->Cpu());
    }
    if (tiny != nullptr) {
        const double r = ours.Wall() / tiny->Wall();
        std::printf("goal: import wall <= 1.0x tinyobjloader's: %.2fx, %s\n", r, verdict(r <= 1.0));
    }
    if (assimp != nullptr) {
        const double r = ours.Wall() / assimp->Wall();
        std::printf("goal: import wall <= 0.4x Assimp's:        %.2fx, %s\n", r, verdict(r <= 0.4));
        const double m = static_cast<double>(ours.peakKiB) / static_cast<double>(assimp->peakKiB);
        std::printf("goal: peak memory <= Assimp's:             %.2fx, %s\n", m, verdict(m <= 1.0));
    }
    if (tableBytes < 0.0) {
        std::printf("goal: mesh tables < %.0f bytes per triangle: not measured, %s\n",
                    kTableBytesGoal, verdict(false));
    } else {
        std::printf("goal: mesh tables < %.0f bytes per triangle: %.1f (%.2fx), %s\n",
                    kTableBytesGoal, tableBytes, tableBytes / kTableBytesGoal,
                    verdict(tableBytes < kTableBytesGoal));
    }
    return allMet;
}

// How long a load of an extreme file may take before it is given up.
constexpr unsigned kExtremeLimitSeconds = 120;

// One face line of `corners` corners around a circle of radius 1000 in a
// plane tilted against all three axes, written with six decimals: a convex
// polygon, cut into a fan of corners - 2 triangles.
void WriteBigFace(const std::string& file, int corners) {
    // Two unit axes of the plane, square to each other.
    const double across[3] = {0.6, 0.8, 0.0};
    const double up[3] = {-0.48, 0.36, 0.8};
    std::FILE* out = std::fopen(file.c_str(), "w");
    std::fprintf(out, "o disc\n");
    for (int i = 0; i < corners; ++i) {
        const double a = 6.283185307179586 * i / corners;
        const double p = 1000 * std::cos(a);
        const double q = 1000 * std::sin(a);
        std::fprintf(out, "v %.6f %.6f %.6f\n", 10 + p * across[0] + q * up[0],
                     20 + p * across[1] + q * up[1], 30 + p * across[2] + q * up[2]);
    }
    std::fprintf(out, "f");
    for (int i = 1; i <= corners; ++i) {
        std::fprintf(out, " %d", i);
    }
    std::fprintf(out, "\n");
    std::fclose(out);
}

// `groups` object groups of one triangle each.
void WriteManyGroups(const std::string& file, int groups) {
    std::FILE* out = std::fopen(file.c_str(), "w");
    for (int i = 0; i < groups; ++i) {
        std::fprintf(out, "o g%d\nv %d 0 0\nv %d 1 0\nv %d 0 1\nf -3 -2 -1\n", i, i, i, i);
    }
    std::fclose(out);
}

// limitSeconds above 0 stops each load after that long (the extreme files
// take some peers hours). Returns false when a goal was missed.
bool RunCase(const std::string& title, const std::string& file, int runs,
             const std::string& configHome, bool goals, unsigned limitSeconds = 0) {
    const std::string self = objbench::SelfPath();
    std::vector<Loader> loaders;
    loaders.emplace_back(
        "meshconv import --unify",
        std::vector<std::string>{MESHCONV_PROGRAM, "import", file, "--split", "object", "--unify",
                                 "--scale", "1", "--swap", "none", "--no-log"});
#ifdef HAVE_ASSIMP
    loaders.emplace_back("assimp", std::vector<std::string>{self, "--load", "assimp", file});
#endif
#ifdef HAVE_TINYOBJLOADER
    loaders.emplace_back("tinyobjloader",
                         std::vector<std::string>{self, "--load", "tinyobjloader", file});
#endif
    for (Loader& l : loaders) {
        l.limitSeconds = limitSeconds;
    }
    double tableBytes = -1.0;
    if (goals && !TableBytesPerTriangle(file, configHome, tableBytes)) {
        tableBytes = -1.0;
    }
    for (int i = 0; i < runs; ++i) {
        for (Loader& l : loaders) {
            RunOnce(l, configHome);
        }
    }
    std::printf("\n%s\n", title.c_str());
    const bool met = Report(loaders, runs, goals, tableBytes);
    std::fflush(stdout);
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--load") == 0) {
        return LoadInProcess(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--tables") == 0) {
        return MeasureTables(argv[2]);
    }
    unsigned long long triangles = 1000000;
    int runs = 5;
    std::string which = "all";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--triangles") == 0) {
            triangles = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--case") == 0) {
            which = argv[i + 1];
        }
    }

    char dirTemplate[] = "/tmp/bench_objread-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_objread");
        return 1;
    }
    const fs::path dir = dirTemplate;
    bool goalsMet = true;
    const std::string configHome = (dir / "config").string();
    std::printf(
        "meshconv import --split object --unify against Assimp 5 (Triangulate,\n"
        "JoinIdenticalVertices, FixInfacingNormals) and tinyobjloader 2 (parse and\n"
        "triangulate, no merging)\n");

    if (which == "all" || which == "realistic") {
        const std::string file = (dir / "realistic.obj").string();
        const objbench::RealisticObj made = objbench::GenerateRealisticObj(file, triangles);
        char title[512];
        std::snprintf(title, sizeof title,
                      "realistic file: %.1f MB, %llu lines, %llu triangles from %llu faces of "
                      "which %llu have 5-12 corners (%llu concave), 8 objects x 2 materials, "
                      "%llu groups",
                      static_cast<double>(made.totals.bytes) / 1e6,
                      static_cast<unsigned long long>(made.lines),
                      static_cast<unsigned long long>(made.totals.triangles),
                      static_cast<unsigned long long>(made.totals.faces),
                      static_cast<unsigned long long>(made.polygons),
                      static_cast<unsigned long long>(made.concave),
                      static_cast<unsigned long long>(made.groups));
        goalsMet = RunCase(title, file, runs, configHome, true);
        fs::remove(file);
    }
    if (which == "all" || which == "grid") {
        const std::string file = (dir / "grid.obj").string();
        const objbench::GeneratedObj made = objbench::GenerateObj(file, triangles);
        char title[256];
        std::snprintf(
            title, sizeof title, "grid file: %.1f MB, %llu v lines, %llu f lines, %llu triangles",
            static_cast<double>(made.bytes) / 1e6, static_cast<unsigned long long>(made.vertices),
            static_cast<unsigned long long>(made.faces),
            static_cast<unsigned long long>(made.triangles));
        RunCase(title, file, runs, configHome, false);
    }
    if (which == "all" || which == "face") {
        const std::string file = (dir / "face.obj").string();
        WriteBigFace(file, 100000);
        RunCase("face file: one face line of 100,000 corners (a convex disc in a tilted plane)",
                file, std::min(runs, 3), configHome, false, kExtremeLimitSeconds);
        fs::remove(file);
    }
    if (which == "all" || which == "groups") {
        const std::string file = (dir / "groups.obj").string();
        WriteManyGroups(file, 100000);
        RunCase("groups file: 100,000 objects of one triangle each", file, std::min(runs, 3),
                configHome, false, kExtremeLimitSeconds);
        fs::remove(file);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    if (!goalsMet) {
        std::printf("\nbench_objread: a goal of the import was MISSED (see above)\n");
        return 1;
    }
    return 0;
}
