// Indexes a generated tree of files the way a missing-file search does
// (once per command) and, in the same run, walks the same tree with find(1)
// and with std::filesystem::recursive_directory_iterator. Then looks up
// 1,000 names case-blind. Prints medians, the ratios to the two peers, and
// whether the index stays under its 2 s budget for 100,000 files.
//
//   bench_search [--files N] [--runs R] [--keep DIR]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "core/file_search.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// An emulator's hard drive as users fill it: volumes of projects, each with
// textures, brushes and objects, 100 files a directory, names in mixed case.
std::size_t MakeTree(const fs::path& root, std::size_t files) {
    std::size_t made = 0;
    for (std::size_t d = 0; made < files; ++d) {
        const fs::path dir = root / ("Volume" + std::to_string(d / 100)) /
                             ("Project" + std::to_string(d % 100 / 10)) /
                             (d % 3 == 0   ? "Textures"
                              : d % 3 == 1 ? "Brushes"
                                           : "Objects") /
                             ("Set" + std::to_string(d));
        fs::create_directories(dir);
        for (std::size_t f = 0; f < 100 && made < files; ++f, ++made) {
            std::ofstream(dir / ("Wood_" + std::to_string(made) + (f % 2 ? ".IFF" : ".iff")));
        }
    }
    return made;
}

double TimeFind(const fs::path& root, std::size_t& count) {
    const std::string command = "find '" + root.string() + "' -type f | wc -l";
    const auto start = Clock::now();
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    unsigned long lines = 0;
    if (std::fscanf(pipe, "%lu", &lines) != 1) lines = 0;
    ::pclose(pipe);
    count = lines;
    return SecondsSince(start);
}

double TimeFilesystem(const fs::path& root, std::size_t& count) {
    const auto start = Clock::now();
    std::error_code ec;
    count = 0;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec)) ++count;
    }
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t files = 100000;
    int runs = 5;
    std::string keep;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--files") files = std::strtoul(argv[i + 1], nullptr, 10);
        if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
        if (option == "--keep") keep = argv[i + 1];
    }

    const fs::path root =
        keep.empty() ? fs::temp_directory_path() / ("bench_search_" + std::to_string(::getpid()))
                     : fs::path(keep);
    std::error_code ec;
    if (!fs::exists(root / "Volume0", ec)) {
        const auto start = Clock::now();
        MakeTree(root, files);
        std::printf("made %zu files in %.2f s under %s\n", files, SecondsSince(start),
                    root.string().c_str());
    }

    std::vector<double> index, find, walk;
    std::size_t indexed = 0, found = 0, walked = 0;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        const tessvane::FileIndex built = tessvane::FileIndex::Build({root.string()});
        index.push_back(SecondsSince(start));
        indexed = built.FileCount();
        find.push_back(TimeFind(root, found));
        walk.push_back(TimeFilesystem(root, walked));
    }

    const tessvane::FileIndex built = tessvane::FileIndex::Build({root.string()});
    const auto lookupStart = Clock::now();
    std::size_t hits = 0;
    for (std::size_t n = 0; n < 1000; ++n) {
        hits += built.Named("WOOD_" + std::to_string(n * (indexed / 1000)) + ".Iff").size();
    }
    const double lookups = SecondsSince(lookupStart);

    const double mi = Median(index), mf = Median(find), mw = Median(walk);
    std::printf("files: index %zu, find %zu, std::filesystem %zu\n", indexed, found, walked);
    std::printf("index            %8.3f s (median of %d)\n", mi, runs);
    std::printf("find -type f     %8.3f s   index/find            %.2f\n", mf, mi / mf);
    std::printf("std::filesystem  %8.3f s   index/std::filesystem %.2f\n", mw, mi / mw);
    std::printf("1000 lookups     %8.6f s   (%zu found)\n", lookups, hits);
    const double budget = 2.0 * static_cast<double>(indexed) / 100000.0;
    std::printf("budget: under %.1f s for %zu files: %s\n", budget, indexed,
                mi < budget ? "met" : "MISSED");

    if (keep.empty()) fs::remove_all(root, ec);
    return mi < budget ? 0 : 1;
}
