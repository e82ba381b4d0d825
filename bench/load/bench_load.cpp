// Loads object files of many texture paths the way the editor does, and lists
// one with tessvane-cli in a process of its own. The files differ only in how
// many directories the paths use: one each, or one for all. Loading must cost
// the same for both (each directory finds its summary entry at once), and
// sorting by file name is timed beside it. Prints medians, the ratio of the
// two files and whether the list stays under its 1 s budget.
//
//   bench_load [--paths N] [--runs R]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "child_run.h"
#include "core/core_context.h"
#include "core/scanner.h"
#include "state/editor_state.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tessvane::CoreContext;
using tessvane::ReadStatus;

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

// A FORM TDDD of `paths` TXT1 chunks (142 bytes of texture data, then the
// counted path). With `ownDirectories` each path has a directory of its own.
std::string ObjectFileBytes(std::size_t paths, bool ownDirectories) {
    std::string body = "TDDD";
    for (std::size_t i = 0; i < paths; ++i) {
        const std::string n = std::to_string(i);
        const std::string path = "C:\\TEX\\" + (ownDirectories ? "D" + n : std::string("ALL")) +
                                 "\\W" + std::to_string((i * 7919) % paths) + ".IFF";
        std::string data(142, '\0');
        data.push_back(static_cast<char>(path.size()));
        data += path;
        body += "TXT1";
        PutU32(body, static_cast<std::uint32_t>(data.size()));
        body += data;
        if (data.size() % 2 != 0) body.push_back('\0');
    }
    std::string out = "FORM";
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

double CpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timing {
    std::vector<double> wall, cpu;
};

// Loads `path` and returns the records read (0 on failure).
std::size_t TimeLoad(const std::string& path, std::uint16_t sortMode, Timing& timing) {
    CoreContext context{tessvane::MakeEditorContext("/nonexistent/"), {}, nullptr, nullptr};
    context.editor.shell.SortMode = sortMode;
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    const ReadStatus status = tessvane::ReadObjectFile(context, path, false);
    timing.cpu.push_back(CpuSeconds() - cpuStart);
    timing.wall.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    return status == ReadStatus::Ok ? context.file.Paths.Count() : 0;
}

void Report(const char* what, const Timing& timing) {
    std::printf("%-32s %8.3f s wall  %8.3f s cpu\n", what, objbench::Median(timing.wall),
                objbench::Median(timing.cpu));
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t paths = 50000;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--paths") == 0) paths = std::strtoul(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::atoi(argv[i + 1]);
    }
    if (paths == 0 || runs < 1) {
        std::fprintf(stderr, "usage: bench_load [--paths N] [--runs R]\n");
        return 2;
    }
    char pattern[] = "/tmp/bench_load.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    const fs::path dir(pattern);
    const std::string own = (dir / "own.iob").string();
    const std::string shared = (dir / "shared.iob").string();
    std::ofstream(own, std::ios::binary) << ObjectFileBytes(paths, true);
    std::ofstream(shared, std::ios::binary) << ObjectFileBytes(paths, false);
    std::printf("%zu paths; file of %.1f MB\n", paths,
                static_cast<double>(fs::file_size(own)) / 1e6);

    Timing own_, shared_, sorted_, list_;
    long listPeak = 0;
    bool ok = true;
    for (int r = 0; r < runs; ++r) {
        ok = TimeLoad(own, 0, own_) == paths && ok;
        ok = TimeLoad(shared, 0, shared_) == paths && ok;
        ok = TimeLoad(own, 2, sorted_) == paths && ok;
        const objbench::ChildRun list =
            objbench::RunChild({TESSVANE_CLI, "list", own}, (dir / "config").string());
        ok = ok && list.ok;
        list_.wall.push_back(list.seconds);
        list_.cpu.push_back(list.cpuSeconds);
        listPeak = std::max(listPeak, list.peakKiB);
    }
    Report("load, a directory each", own_);
    Report("load, one directory for all", shared_);
    std::printf("  ratio (cpu) a directory each / one for all: %.2f\n",
                objbench::Median(own_.cpu) / std::max(objbench::Median(shared_.cpu), 1e-9));
    Report("load, sorted by file name", sorted_);
    Report("tessvane-cli list, a directory each", list_);
    const double listTime = objbench::Median(list_.wall);
    std::printf("  peak %ld KiB; budget 1 s wall: %s\n", listPeak,
                listTime < 1.0 ? "met" : "MISSED");
    fs::remove_all(dir);
    if (!ok) {
        std::fprintf(stderr, "bench_load: a load or the list failed\n");
        return 1;
    }
    return 0;
}
