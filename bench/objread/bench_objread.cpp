// Imports one generated OBJ file of about a million triangles through
// meshconv (which loads objread with dlopen), Assimp and tinyobjloader, each
// in a process of its own so that wall time and peak memory are the whole
// cost of a load, and prints the median time, peak memory and counts of each
// with the ratio to Assimp.
//
//   bench_objread [--triangles N] [--runs R]
//   bench_objread --load assimp|tinyobjloader FILE   (one load; used internally)
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
        std::printf("total\t%llu\t%llu\t%llu\n", c.meshes, c.vertices, c.triangles);
        return 0;
    }
#endif
#ifdef HAVE_TINYOBJLOADER
    if (loader == "tinyobjloader") {
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warn, err;
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
        std::printf("total\t%llu\t%llu\t%llu\n", c.meshes, c.vertices, c.triangles);
        return 0;
    }
#endif
    std::fprintf(stderr, "bench_objread: loader %s is not built in\n", loader.c_str());
    return 2;
}

struct Run {
    bool ok = false;
    double seconds = 0.0;
    double cpuSeconds = 0.0;  // user + system time of the child
    long peakKiB = 0;
    Counts counts;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

// Runs argv in a child with stdout captured (stderr dropped) and reads the
// closing "total" line.
Run RunChild(const std::vector<std::string>& argv, const std::string& configHome) {
    Run run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 2);
        dup2(devnull, 0);
        close(pipeFds[0]);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKiB = usage.ru_maxrss;
    run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    const std::size_t at = output.rfind("total\t");
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && at != std::string::npos &&
             std::sscanf(output.c_str() + at, "total\t%llu\t%llu\t%llu", &run.counts.meshes,
                         &run.counts.vertices, &run.counts.triangles) == 3;
    return run;
}

struct Summary {
    std::string name;
    bool ok = false;
    double medianSeconds = 0.0;
    double medianCpuSeconds = 0.0;
    long peakKiB = 0;
    Counts counts;
};

Summary Measure(const std::string& name, const std::vector<std::string>& argv, int runs,
                const std::string& configHome) {
    Summary s;
    s.name = name;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int i = 0; i < runs; ++i) {
        const Run r = RunChild(argv, configHome);
        if (!r.ok) {
            return s;
        }
        times.push_back(r.seconds);
        cpuTimes.push_back(r.cpuSeconds);
        s.peakKiB = std::max(s.peakKiB, r.peakKiB);
        s.counts = r.counts;
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    s.medianSeconds = times[times.size() / 2];
    s.medianCpuSeconds = cpuTimes[cpuTimes.size() / 2];
    s.ok = true;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--load") == 0) {
        return LoadInProcess(argv[2], argv[3]);
    }
    unsigned long long triangles = 1000000;
    int runs = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--triangles") == 0) {
            triangles = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        }
    }

    char dirTemplate[] = "/tmp/bench_objread-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_objread");
        return 1;
    }
    const fs::path dir = dirTemplate;
    const std::string file = (dir / "model.obj").string();
    const objbench::GeneratedObj made = objbench::GenerateObj(file, triangles);
    std::printf("file: %llu bytes, %llu v lines, %llu f lines, %llu triangles expected\n",
                static_cast<unsigned long long>(made.bytes),
                static_cast<unsigned long long>(made.vertices),
                static_cast<unsigned long long>(made.faces),
                static_cast<unsigned long long>(made.triangles));

    char self[4096];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    self[len > 0 ? len : 0] = '\0';
    const std::string configHome = (dir / "config").string();

    std::vector<Summary> results;
    results.push_back(Measure("meshconv import (objread)",
                              {MESHCONV_PROGRAM, "import", file, "--split", "object"}, runs,
                              configHome));
#ifdef HAVE_ASSIMP
    results.push_back(Measure("assimp", {self, "--load", "assimp", file}, runs, configHome));
#endif
#ifdef HAVE_TINYOBJLOADER
    results.push_back(
        Measure("tinyobjloader", {self, "--load", "tinyobjloader", file}, runs, configHome));
#endif
    double assimpSeconds = 0.0;
    double assimpCpu = 0.0;
    long assimpPeak = 0;
    for (const Summary& s : results) {
        if (s.name == "assimp" && s.ok) {
            assimpSeconds = s.medianSeconds;
            assimpCpu = s.medianCpuSeconds;
            assimpPeak = s.peakKiB;
        }
    }
    std::printf("%-26s %9s %9s %9s %7s %9s %10s %15s %14s %13s\n", "loader", "wall s", "cpu s",
                "peak MiB", "meshes", "vertices", "triangles", "wall vs assimp", "cpu vs assimp",
                "mem vs assimp");
    for (const Summary& s : results) {
        if (!s.ok) {
            std::printf("%-28s failed\n", s.name.c_str());
            continue;
        }
        char timeRatio[32] = "-";
        char cpuRatio[32] = "-";
        char memRatio[32] = "-";
        if (assimpSeconds > 0.0) {
            std::snprintf(timeRatio, sizeof timeRatio, "%.2fx faster",
                          assimpSeconds / s.medianSeconds);
            std::snprintf(cpuRatio, sizeof cpuRatio, "%.2fx faster",
                          assimpCpu / s.medianCpuSeconds);
            std::snprintf(memRatio, sizeof memRatio, "%.2fx",
                          static_cast<double>(s.peakKiB) / assimpPeak);
        }
        std::printf("%-26s %9.3f %9.3f %9.1f %7llu %9llu %10llu %15s %14s %13s\n", s.name.c_str(),
                    s.medianSeconds, s.medianCpuSeconds, s.peakKiB / 1024.0, s.counts.meshes,
                    s.counts.vertices, s.counts.triangles, timeRatio, cpuRatio, memRatio);
    }
    std::printf(
        "(median of %d runs each, one process per load; cpu = user + system time, which a busy\n"
        " machine disturbs less than wall time)\n",
        runs);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
