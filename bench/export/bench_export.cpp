// Converts generated OBJ files to OBJ with objwrite and to C with glwrite
// through meshconv convert, and in the same run, taking turns, with Assimp
// (import, smooth normals at 70 degrees, its OBJ exporter). Each conversion
// runs in a process of its own. Prints the medians of the whole conversions
// and of their export parts (meshconv: convert less import of the same file;
// Assimp: timed inside its process around smoothing and export), output
// sizes, time per output byte and the ratios the converters are held to, on
// the realistic file and on the grid (see bench_objread).
//
//   bench_export [--triangles N] [--runs R] [--case realistic|grid|all]
//   bench_export --assimp FILE OUT   (one Assimp run; used internally)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "child_run.h"
#include "obj_generator.h"
#include "realistic_obj.h"

#ifdef HAVE_ASSIMP
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using objbench::Median;
using objbench::RunChild;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// One Assimp run: prints "times <import s> <smooth+export s>".
int AssimpInProcess(const std::string& file, const std::string& out) {
#ifdef HAVE_ASSIMP
    const auto start = Clock::now();
    Assimp::Importer importer;
    importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, 70.0f);
    // The file's own normals go, so that the normals are computed as
    // objwrite computes them. Assimp smooths before it merges vertices; the
    // merge is the counterpart of the tables objwrite builds, so both count
    // as export work.
    const aiScene* scene = importer.ReadFile(file, aiProcess_Triangulate | aiProcess_DropNormals);
    if (scene == nullptr) {
        std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
        return 1;
    }
    const double import_seconds = SecondsSince(start);
    const auto export_start = Clock::now();
    scene =
        importer.ApplyPostProcessing(aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices);
    if (scene == nullptr) {
        std::fprintf(stderr, "assimp: %s\n", importer.GetErrorString());
        return 1;
    }
    Assimp::Exporter exporter;
    if (exporter.Export(scene, "obj", out) != AI_SUCCESS) {
        std::fprintf(stderr, "assimp export: %s\n", exporter.GetErrorString());
        return 1;
    }
    std::printf("times %.6f %.6f\n", import_seconds, SecondsSince(export_start));
    return 0;
#else
    (void)file;
    (void)out;
    return 2;
#endif
}

struct Result {
    explicit Result(std::string n) : name(std::move(n)) {}

    std::string name;
    bool ok = true;
    std::vector<double> totals;  // wall time of each whole process
    std::vector<double> exports;
    long peak_kib = 0;
    std::uintmax_t bytes = 0;

    double Total() const { return Median(totals); }
    double Export() const { return Median(exports); }
};

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

void Print(const Result& r, const Result& assimp) {
    if (!r.ok) {
        std::printf("%-30s failed\n", r.name.c_str());
        return;
    }
    const double ns_per_byte = r.bytes > 0 ? r.Export() * 1e9 / static_cast<double>(r.bytes) : 0.0;
    char total_ratio[32] = "-";
    char export_ratio[32] = "-";
    if (assimp.ok && &r != &assimp && assimp.Total() > 0.0 && r.Export() > 0.0) {
        std::snprintf(total_ratio, sizeof total_ratio, "%.2fx", r.Total() / assimp.Total());
        std::snprintf(export_ratio, sizeof export_ratio, "%.2fx", assimp.Export() / r.Export());
    }
    std::printf("%-30s %8.3f %9.3f %10.1f %9.1f %8.2f %13s %15s\n", r.name.c_str(), r.Total(),
                r.Export(), static_cast<double>(r.bytes) / 1e6, r.peak_kib / 1024.0, ns_per_byte,
                total_ratio, export_ratio);
}

void RunCase(const std::string& title, const std::string& file, const fs::path& dir, int runs,
             const std::string& config_home, bool goals) {
    const std::string meshconv = MESHCONV_PROGRAM;
    const std::string out_obj = (dir / "out.obj").string();
    const std::string out_c = (dir / "out.c").string();
    const std::string out_assimp = (dir / "assimp.obj").string();
    // The same settings for every run: one mesh per object, no orientation
    // repair (the stored default), LF line ends, 70 degrees.
    const std::vector<std::string> common = {
        "--split",  "object",      "--no-unify", "--scale",  "1",  "--swap", "none",
        "--no-log", "--line-ends", "unix",       "--smooth", "70", "--quiet"};
    std::vector<std::string> import_args = {meshconv, "import",     file,      "--split",
                                            "object", "--no-unify", "--scale", "1",
                                            "--swap", "none",       "--no-log"};
    std::vector<std::string> obj_args = {meshconv, "convert", file, out_obj};
    obj_args.insert(obj_args.end(), common.begin(), common.end());
    std::vector<std::string> c_args = obj_args;
    c_args[3] = out_c;

    std::vector<double> import_times;
    long import_peak = 0;
    bool import_ok = true;
    Result obj("meshconv convert objwrite");
    Result gl("meshconv convert glwrite");
    Result assimp("assimp import+smooth+export");
    for (int i = 0; i < runs; ++i) {
        const objbench::ChildRun imp = RunChild(import_args, config_home);
        import_ok = import_ok && imp.ok;
        import_times.push_back(imp.seconds);
        import_peak = std::max(import_peak, imp.peakKiB);
        for (auto [result, args] : {std::pair{&obj, &obj_args}, std::pair{&gl, &c_args}}) {
            const objbench::ChildRun run = RunChild(*args, config_home);
            result->ok = result->ok && run.ok;
            result->totals.push_back(run.seconds);
            result->peak_kib = std::max(result->peak_kib, run.peakKiB);
        }
#ifdef HAVE_ASSIMP
        const objbench::ChildRun a =
            RunChild({objbench::SelfPath(), "--assimp", file, out_assimp}, config_home);
        double a_import = 0.0;
        double a_export = 0.0;
        const bool parsed =
            std::sscanf(a.output.c_str(), "times %lf %lf", &a_import, &a_export) == 2;
        assimp.ok = assimp.ok && a.ok && parsed;
        assimp.totals.push_back(a.seconds);
        assimp.exports.push_back(a_export);
        assimp.peak_kib = std::max(assimp.peak_kib, a.peakKiB);
#else
        assimp.ok = false;
#endif
    }
    const double import_median = Median(import_times);
    for (Result* r : {&obj, &gl}) {
        r->ok = r->ok && import_ok;
        r->exports.push_back(std::max(0.0, r->Total() - import_median));
    }
    obj.bytes = SizeOf(out_obj);
    gl.bytes = SizeOf(out_c);
    assimp.bytes = SizeOf(out_assimp);

    std::printf("\n%s\n", title.c_str());
    std::printf("meshconv import alone: %.3f s median, peak %.1f MiB\n", import_median,
                import_peak / 1024.0);
    std::printf("%-30s %8s %9s %10s %9s %8s %13s %15s\n", "converter", "total s", "export s",
                "output MB", "peak MiB", "ns/byte", "total/assimp", "export speed-up");
    Print(obj, assimp);
    Print(gl, assimp);
    Print(assimp, assimp);
    std::printf(
        "(median of %d runs each, taking turns; export s = convert less import for "
        "meshconv)\n",
        runs);
    auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    if (goals && obj.ok && assimp.ok && assimp.Total() > 0.0) {
        const double r = obj.Total() / assimp.Total();
        std::printf(
            "goal: convert to OBJ at --smooth 70 <= 0.2x Assimp's import + smooth + "
            "export: %.2fx, %s\n",
            r, verdict(r <= 0.2));
    }
    if (obj.ok && assimp.ok && obj.Export() > 0.0) {
        const double r = assimp.Export() / obj.Export();
        std::printf(
            "goal: objwrite's export at least 2x as fast as Assimp's smoothing and "
            "export: %.2fx, %s\n",
            r, verdict(r >= 2.0));
    }
    if (obj.ok && gl.ok && obj.bytes > 0 && gl.bytes > 0 && obj.Export() > 0.0) {
        const double r = (gl.Export() / static_cast<double>(gl.bytes)) /
                         (obj.Export() / static_cast<double>(obj.bytes));
        std::printf("goal: glwrite at most 1.5x objwrite's time per output byte: %.2fx, %s\n", r,
                    verdict(r <= 1.5));
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--assimp") == 0) {
        return AssimpInProcess(argv[2], argv[3]);
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

    char dir_template[] = "/tmp/bench_export-XXXXXX";
    if (mkdtemp(dir_template) == nullptr) {
        std::perror("bench_export");
        return 1;
    }
    const fs::path dir = dir_template;
    const std::string config_home = (dir / "config").string();
    if (which == "all" || which == "realistic") {
        const std::string file = (dir / "realistic.obj").string();
        const objbench::RealisticObj made = objbench::GenerateRealisticObj(file, triangles);
        char title[256];
        std::snprintf(title, sizeof title, "realistic file: %.1f MB, %llu triangles",
                      static_cast<double>(made.totals.bytes) / 1e6,
                      static_cast<unsigned long long>(made.totals.triangles));
        RunCase(title, file, dir, runs, config_home, true);
        fs::remove(file);
    }
    if (which == "all" || which == "grid") {
        const std::string file = (dir / "grid.obj").string();
        const objbench::GeneratedObj made = objbench::GenerateObj(file, triangles);
        char title[256];
        std::snprintf(title, sizeof title, "grid file: %.1f MB, %llu triangles",
                      static_cast<double>(made.bytes) / 1e6,
                      static_cast<unsigned long long>(made.triangles));
        RunCase(title, file, dir, runs, config_home, false);
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
