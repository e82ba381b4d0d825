#include "framework/path_text.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

TEST(PathTextTest, SplitAndJoinAgain) {
    struct Case {
        std::string path;
        PathParts parts;
    };
    const std::vector<Case> cases = {
        {"C:\\data\\cube.obj", {"C:", "\\data\\", "cube", ".obj"}},
        {"cube", {"", "", "cube", ""}},
        {"D:file.txt", {"D:", "", "file", ".txt"}},
        {"/home/ann/cube.obj", {"", "/home/ann/", "cube", ".obj"}},
        {"models/cube.tar.gz", {"", "models/", "cube.tar", ".gz"}},
        // A dot in a directory does not start an extension.
        {"../models/cube", {"", "../models/", "cube", ""}},
        {"C:\\my.dir\\cube", {"C:", "\\my.dir\\", "cube", ""}},
        {".hidden", {"", "", "", ".hidden"}},
        {"", {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        const PathParts p = PathSplit(c.path);
        EXPECT_EQ(p.drive, c.parts.drive) << c.path;
        EXPECT_EQ(p.dir, c.parts.dir) << c.path;
        EXPECT_EQ(p.name, c.parts.name) << c.path;
        EXPECT_EQ(p.ext, c.parts.ext) << c.path;
        EXPECT_EQ(PathJoin(p.drive, p.dir, p.name, p.ext), c.path);
    }
}

TEST(PathTextTest, JoinAddsMissingSeparators) {
    EXPECT_EQ(PathJoin("C:", "\\data\\", "", ""), "C:\\data\\");
    EXPECT_EQ(PathJoin("", "\\data", "", ""), "\\data\\");
    EXPECT_EQ(PathJoin("C", "\\data", "cube", "obj"), "C:\\data\\cube.obj");
    EXPECT_EQ(PathJoin("", "/home/ann", "cube", ".obj"), "/home/ann/cube.obj");
    EXPECT_EQ(PathJoin("", "models", "cube", ""), "models/cube");
    EXPECT_EQ(PathJoin("", "", "", ""), "");
}

TEST(PathTextTest, FileSizeKeepsThePosition) {
    std::FILE* f = std::tmpfile();
    std::fputs("0123456789", f);
    std::fseek(f, 3, SEEK_SET);
    EXPECT_EQ(FileSize(f), 10);
    EXPECT_EQ(std::fgetc(f), '3');
    std::fclose(f);
}

TEST(PathTextTest, SameFileFollowsTheFileNotItsSpelling) {
    pluginsupport::TempDir dir;
    const std::string file = dir.File("cube.obj");
    pluginsupport::WriteFileBytes(file, "v 0 0 0\n");
    const std::string dotted = (dir.path() / "." / "cube.obj").string();
    EXPECT_TRUE(SameFile(file.c_str(), dotted.c_str()));
    EXPECT_FALSE(SameFile(file.c_str(), dir.path().string().c_str()));
    EXPECT_FALSE(SameFile(file.c_str(), dir.File("cube.log").c_str()));
    EXPECT_FALSE(SameFile(file.c_str(), nullptr));
}

}  // namespace plugins
