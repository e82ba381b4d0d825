// Exports the generated OBJ file of about a million triangles with objwrite
// and with glwrite through meshconv convert, and, in the same run, with
// Assimp (smooth normals at 70 degrees, then its OBJ exporter). Each load
// runs in a process of its own; meshconv's export time is its convert time
// less its import time of the same file, Assimp's is timed inside its
// process around GenSmoothNormals and the export. Prints medians, output
// sizes, time per output byte and the ratios the exporters are held to.
//
//   bench_export [--triangles N] [--runs R]
//   bench_export --assimp FILE OUT   (one Assimp run; used internally)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "obj_generator.h"

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

struct Run {
    bool ok = false;
    double seconds = 0.0;
    long peak_kib = 0;
    std::string output;
};

// Runs argv in a child, standard input and error from and to /dev/null,
// standard output captured.
Run RunChild(const std::vector<std::string>& argv, const std::string& config_home) {
    Run run;
    int fds[2];
    if (pipe(fds) != 0) {
        return run;
    }
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 2);
        close(fds[0]);
        setenv("XDG_CONFIG_HOME", config_home.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
        run.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = SecondsSince(start);
    run.peak_kib = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double Median(std::vector<double> v) {
    if (v.empty()) {
        return 0.0;
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Result {
    std::string name;
    bool ok = false;
    double total = 0.0;  // median wall time of the whole process
    double export_seconds = 0.0;
    long peak_kib = 0;
    std::uintmax_t bytes = 0;
};

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

void Print(const Result& r, const Result* assimp) {
    if (!r.ok) {
        std::printf("%-26s failed\n", r.name.c_str());
        return;
    }
    const double ns_per_byte =
        r.bytes > 0 ? r.export_seconds * 1e9 / static_cast<double>(r.bytes) : 0.0;
    char ratio[32] = "-";
    if (assimp != nullptr && assimp->ok && r.export_seconds > 0.0 && &r != assimp) {
        std::snprintf(ratio, sizeof ratio, "%.2fx", assimp->export_seconds / r.export_seconds);
    }
    std::printf("%-26s %9.3f %10.3f %12.1f %10.1f %9.2f %14s\n", r.name.c_str(), r.total,
                r.export_seconds, static_cast<double>(r.bytes) / 1e6, r.peak_kib / 1024.0,
                ns_per_byte, ratio);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--assimp") == 0) {
        return AssimpInProcess(argv[2], argv[3]);
    }
    unsigned long long triangles = 1000000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--triangles") == 0) {
            triangles = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        }
    }

    char dir_template[] = "/tmp/bench_export-XXXXXX";
    if (mkdtemp(dir_template) == nullptr) {
        std::perror("bench_export");
        return 1;
    }
    const fs::path dir = dir_template;
    const std::string file = (dir / "model.obj").string();
    const objbench::GeneratedObj made = objbench::GenerateObj(file, triangles);
    std::printf("input: %llu bytes, %llu triangles expected\n",
                static_cast<unsigned long long>(made.bytes),
                static_cast<unsigned long long>(made.triangles));
    const std::string config_home = (dir / "config").string();
    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    self[len > 0 ? len : 0] = '\0';

    const std::string meshconv = MESHCONV_PROGRAM;
    const std::string out_obj = (dir / "out.obj").string();
    const std::string out_c = (dir / "out.c").string();
    const std::string out_assimp = (dir / "assimp.obj").string();
    // The same settings for every run: one mesh per object, no orientation
    // repair, LF line ends, the default 70 degrees.
    const std::vector<std::string> import_args = {meshconv,  "import", file,
                                                  "--split", "object", "--no-unify"};
    const std::vector<std::string> obj_args = {meshconv,  "convert",     file,         out_obj,
                                               "--split", "object",      "--no-unify", "--smooth",
                                               "70",      "--line-ends", "unix",       "--quiet"};
    std::vector<std::string> c_args = obj_args;
    c_args[3] = out_c;

    std::vector<double> import_times;
    std::vector<double> obj_times;
    std::vector<double> c_times;
    std::vector<double> assimp_times;
    std::vector<double> assimp_export_times;
    Result obj{"meshconv convert objwrite"};
    Result gl{"meshconv convert glwrite"};
    Result assimp{"assimp smooth + obj export"};
    long import_peak = 0;
    bool import_ok = true;
    obj.ok = gl.ok = true;
    assimp.ok = true;
    for (int i = 0; i < runs; ++i) {
        const Run imp = RunChild(import_args, config_home);
        const Run o = RunChild(obj_args, config_home);
        const Run c = RunChild(c_args, config_home);
        import_ok = import_ok && imp.ok;
        obj.ok = obj.ok && o.ok;
        gl.ok = gl.ok && c.ok;
        import_times.push_back(imp.seconds);
        obj_times.push_back(o.seconds);
        c_times.push_back(c.seconds);
        import_peak = std::max(import_peak, imp.peak_kib);
        obj.peak_kib = std::max(obj.peak_kib, o.peak_kib);
        gl.peak_kib = std::max(gl.peak_kib, c.peak_kib);
#ifdef HAVE_ASSIMP
        const Run a = RunChild({self, "--assimp", file, out_assimp}, config_home);
        double a_import = 0.0;
        double a_export = 0.0;
        const bool parsed =
            std::sscanf(a.output.c_str(), "times %lf %lf", &a_import, &a_export) == 2;
        assimp.ok = assimp.ok && a.ok && parsed;
        assimp_times.push_back(a.seconds);
        assimp_export_times.push_back(a_export);
        assimp.peak_kib = std::max(assimp.peak_kib, a.peak_kib);
#else
        assimp.ok = false;
#endif
    }
    const double import_median = Median(import_times);
    obj.total = Median(obj_times);
    gl.total = Median(c_times);
    obj.export_seconds = std::max(0.0, obj.total - import_median);
    gl.export_seconds = std::max(0.0, gl.total - import_median);
    obj.bytes = SizeOf(out_obj);
    gl.bytes = SizeOf(out_c);
    assimp.total = Median(assimp_times);
    assimp.export_seconds = Median(assimp_export_times);
    assimp.bytes = SizeOf(out_assimp);
    obj.ok = obj.ok && import_ok;
    gl.ok = gl.ok && import_ok;

    std::printf("meshconv import alone: %.3f s median, peak %.1f MiB\n", import_median,
                import_peak / 1024.0);
    std::printf("%-26s %9s %10s %12s %10s %9s %14s\n", "exporter", "total s", "export s",
                "output MB", "peak MiB", "ns/byte", "vs assimp");
    Print(obj, &assimp);
    Print(gl, &assimp);
    Print(assimp, nullptr);
    if (obj.ok && assimp.ok && obj.export_seconds > 0.0) {
        std::printf(
            "objwrite export is %.2fx as fast as Assimp's smoothing and export (goal: at least "
            "2x)\n",
            assimp.export_seconds / obj.export_seconds);
    }
    if (obj.ok && gl.ok && obj.bytes > 0 && gl.bytes > 0 && obj.export_seconds > 0.0) {
        const double per_byte_ratio = (gl.export_seconds / static_cast<double>(gl.bytes)) /
                                      (obj.export_seconds / static_cast<double>(obj.bytes));
        std::printf("glwrite takes %.2fx objwrite's time per output byte (goal: at most 1.5x)\n",
                    per_byte_ratio);
    }
    std::printf(
        "(median of %d runs each, one process per run; export s = convert less import for "
        "meshconv)\n",
        runs);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
