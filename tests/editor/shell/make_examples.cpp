// Writes the sample files into the directory given as the only argument:
//   tessvane_make_examples examples
#include <cstdio>
#include <exception>
#include <filesystem>

#include "examples_builder.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path directory = argv[1];
        std::filesystem::create_directories(directory);
        for (const auto& [name, bytes] : tessvane::testing::BuildExamples()) {
            tessvane::testing::WriteFileBytes(directory / name, bytes);
            std::printf("%s\n", (directory / name).string().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
