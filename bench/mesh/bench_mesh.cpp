// Speed and memory of the mesh tables and of the orientation repair.
//
// First prints the figures the mesh code is held to, each measured once on
// meshes of about a million triangles:
//   - triangles per second for building the tables with AddTriangle,
//   - peak resident memory per triangle of a built mesh, and the bytes its
//     tables hold,
//   - seconds for Compact, Expand, and UnifyOrientation of a randomly wound
//     grid and of a 100,000-face strip, each against the time to build the
//     same mesh's tables (goal: unify costs no more than two builds).
// Times are CPU seconds of the measuring thread. Then runs the same
// operations as Google Benchmark cases.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "framework/mesh.h"

using namespace plugins;

namespace {

// The figures use the thread's CPU time: the machines that run them are
// often shared, and wall time then mostly measures the neighbours.
struct CpuTime {
    double seconds;
};

CpuTime Now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return {static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9};
}

double SecondsSince(CpuTime start) {
    return Now().seconds - start.seconds;
}

// A w x h grid of quads over a gently rolling height field, each triangle
// wound at random, in row order like an exported height map.
std::vector<Triangle3d> Grid(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> bump(0.0, 0.25);
    std::vector<double> z(static_cast<std::size_t>((w + 1) * (h + 1)));
    for (double& v : z) {
        v = bump(rng);
    }
    auto point = [&](int i, int j) {
        return Vector3d{i * 0.01, j * 0.01, z[static_cast<std::size_t>(j * (w + 1) + i)]};
    };
    std::vector<Triangle3d> triangles;
    triangles.reserve(static_cast<std::size_t>(2 * w * h));
    auto add = [&](Vector3d a, Vector3d b, Vector3d c) {
        if (rng() & 1u) {
            triangles.push_back({a, b, c});
        } else {
            triangles.push_back({c, b, a});
        }
    };
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            add(point(i, j), point(i + 1, j), point(i + 1, j + 1));
            add(point(i, j), point(i + 1, j + 1), point(i, j + 1));
        }
    }
    return triangles;
}

// A strip one quad wide; its highest face sits in the middle and the faces
// are numbered from the far end, which is the worst order for a sweep that
// repeats passes over the edges.
std::vector<Triangle3d> Strip(int faces, unsigned seed) {
    std::mt19937 rng(seed);
    const int quads = faces / 2;
    std::vector<Triangle3d> triangles;
    triangles.reserve(static_cast<std::size_t>(faces));
    for (int i = quads - 1; i >= 0; --i) {
        const double z0 = (i == quads / 2) ? 1.0 : 0.0;
        const Vector3d a{double(i), 0, 0}, b{double(i + 1), 0, z0};
        const Vector3d c{double(i + 1), 1, 0}, d{double(i), 1, z0};
        for (const Triangle3d& t : {Triangle3d{a, b, c}, Triangle3d{a, c, d}}) {
            triangles.push_back((rng() & 1u) ? t : Triangle3d{t.P2, t.P1, t.P0});
        }
    }
    return triangles;
}

// Builds the tables as the reader does, in batches of triangles; with a
// batch of 1, one AddTriangle call per triangle.
Mesh3d* Build(const std::vector<Triangle3d>& triangles, std::uint64_t hint,
              std::size_t batch = 1024) {
    auto* mesh = new Mesh3d(hint, "bench");
    if (batch == 1) {
        for (const Triangle3d& t : triangles) {
            mesh->AddTriangle(t);
        }
        return mesh;
    }
    for (std::size_t at = 0; at < triangles.size(); at += batch) {
        AddTriangles(*mesh, triangles.data() + at, std::min(batch, triangles.size() - at));
    }
    return mesh;
}

long StatusKilobytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::strlen(field)));
        }
    }
    return -1;
}

// Starts a new peak of the resident set (Linux 4.0 and later).
bool ResetPeak() {
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    return static_cast<bool>(out.flush());
}

std::size_t HeldBytes(const Mesh3d& mesh) {
    return mesh.vertices->HeldBytes() + mesh.faces->HeldBytes() + mesh.edges->HeldBytes();
}

void PrintFigures() {
    const int side = 708;  // 2 * 708 * 708 = 1,002,528 triangles
    const std::vector<Triangle3d> grid = Grid(side, side, 1);
    const double count = static_cast<double>(grid.size());
    std::printf("mesh figures (%zu triangles, grid %dx%d, random winding)\n", grid.size(), side,
                side);

    // Building, with peak memory taken over the build alone.
    const bool peakKnown = ResetPeak();
    const long before = StatusKilobytes("VmRSS:");
    auto start = Now();
    Mesh3d* mesh = Build(grid, grid.size());
    const double build = SecondsSince(start);
    const long peak = StatusKilobytes("VmHWM:");
    std::printf("  build (hint = triangle count)    %8.3f s  %12.0f triangles/s\n", build,
                count / build);
    {
        const auto single = Now();
        Mesh3d* one = Build(grid, grid.size(), 1);
        const double seconds = SecondsSince(single);
        std::printf("  build one AddTriangle at a time  %8.3f s  %12.0f triangles/s\n", seconds,
                    count / seconds);
        delete one;
    }
    std::printf("    vertices %d, faces %d, edges %d\n", mesh->vertices->Count(),
                mesh->faces->Count(), mesh->edges->Count());
    if (peakKnown && before >= 0 && peak >= 0) {
        std::printf("  peak resident memory of build    %8.1f bytes/triangle (goal < 200)\n",
                    (peak - before) * 1024.0 / count);
    }
    std::printf("  bytes held by the tables         %8.1f bytes/triangle\n",
                static_cast<double>(HeldBytes(*mesh)) / count);

    start = Now();
    Mesh3d* small = Build(grid, grid.size() / 6);
    const double buildSmallHint = SecondsSince(start);
    std::printf("  build (hint = triangles / 6)     %8.3f s  %12.0f triangles/s\n", buildSmallHint,
                count / buildSmallHint);
    delete small;

    start = Now();
    mesh->Compact();
    mesh->FreeTables();
    std::printf("  compact + free tables            %8.3f s\n", SecondsSince(start));
    start = Now();
    mesh->Expand();
    std::printf("  expand                           %8.3f s\n", SecondsSince(start));

    start = Now();
    mesh->UnifyOrientation(nullptr);
    const double unify = SecondsSince(start);
    std::printf("  unify grid                       %8.3f s  = %.2f builds (goal <= 2)\n", unify,
                unify / build);
    delete mesh;

    const std::vector<Triangle3d> strip = Strip(100000, 2);
    start = Now();
    Mesh3d* band = Build(strip, strip.size());
    const double stripBuild = SecondsSince(start);
    start = Now();
    band->UnifyOrientation(nullptr);
    const double stripUnify = SecondsSince(start);
    std::printf("  unify strip of %zu faces      %8.3f s  = %.2f builds (build %.3f s)\n",
                strip.size(), stripUnify, stripUnify / stripBuild, stripBuild);
    delete band;
    std::fflush(stdout);
}

// ---------------------------------------------------------------------------

void BM_AddTriangle(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const std::vector<Triangle3d> grid = Grid(side, side, 1);
    for (auto _ : state) {
        Mesh3d* mesh = Build(grid, grid.size());
        benchmark::DoNotOptimize(mesh->faces->Count());
        delete mesh;
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
}
BENCHMARK(BM_AddTriangle)->Arg(100)->Arg(708)->Unit(benchmark::kMillisecond);

void BM_CompactExpand(benchmark::State& state) {
    const std::vector<Triangle3d> grid = Grid(708, 708, 1);
    Mesh3d* mesh = Build(grid, grid.size());
    for (auto _ : state) {
        mesh->Compact();
        mesh->FreeTables();
        mesh->Expand();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.size()));
    delete mesh;
}
BENCHMARK(BM_CompactExpand)->Unit(benchmark::kMillisecond);

void Unify(benchmark::State& state, const std::vector<Triangle3d>& triangles) {
    for (auto _ : state) {
        state.PauseTiming();
        Mesh3d* mesh = Build(triangles, triangles.size());
        state.ResumeTiming();
        mesh->UnifyOrientation(nullptr);
        state.PauseTiming();
        delete mesh;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(triangles.size()));
}

void BM_UnifyGrid(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    Unify(state, Grid(side, side, 3));
}
BENCHMARK(BM_UnifyGrid)->Arg(100)->Arg(708)->Unit(benchmark::kMillisecond);

void BM_UnifyStrip(benchmark::State& state) {
    Unify(state, Strip(100000, 2));
}
BENCHMARK(BM_UnifyStrip)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    PrintFigures();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
