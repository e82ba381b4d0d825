// An import end to end on fixture files: the meshes handed over, their names,
// what the log counts, and files that cannot be imported.
#include "iobread/import_run.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/log_file.h"
#include "framework/mesh.h"
#include "framework/settings_store.h"
#include "iob_fixtures.h"
#include "iobread/import_settings.h"
#include "support/scripted_terminal.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

using iobtest::Bytes;
using iobtest::IffBuilder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
namespace chunks = tessvane::testing::chunks;

class IobImportTest : public pluginsupport::ConfigHomeTest {
  protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = temp_.File(name);
        pluginsupport::WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }

    // Imports path with logging on; the log's text lands in log_.
    bool Import(const std::string& path, ObjectList& result) {
        iobread::ImportSettings settings;
        settings.file_name = path;
        settings.verbose_mode = 1;
        settings.logfilename = temp_.File("iobread.log");
        const bool read = iobread::ImportRun(result, settings, nullptr);
        log_ = pluginsupport::ReadFileBytes(temp_.File("iobread.log"));
        return read;
    }

    static std::vector<std::string> Names(const ObjectList& list) {
        std::vector<std::string> names;
        for (const ObjectListNode* n = list.head; n != nullptr; n = n->next) {
            names.push_back(n->object->name);
        }
        return names;
    }

    std::string log_;
};

TEST_F(IobImportTest, EveryObjectWithFacesIsOneMeshNamedAfterIt) {
    IffBuilder file("TDDD");
    file.Begin("OBJ ");
    for (const char* name : {"WHEEL", "WHEEL", "", "WHEEL_2"}) {
        iobtest::AddObject(file, name, iobtest::Cube());
    }
    file.Chunk("TOBJ", {}).Chunk("TOBJ", {}).Chunk("TOBJ", {}).Chunk("TOBJ", {}).End();
    ObjectList result(ReleaseMeshObject);
    ASSERT_TRUE(Import(Write("car.iob", file.Build()), result));
    EXPECT_THAT(Names(result), ElementsAre("WHEEL", "WHEEL_2", "unnamed", "WHEEL_2_2"));
    for (const ObjectListNode* n = result.head; n != nullptr; n = n->next) {
        const auto* mesh = static_cast<const Mesh3d*>(n->object);
        EXPECT_EQ(mesh->pointCount, 8);
        EXPECT_EQ(mesh->triangleCount, 12);
        EXPECT_EQ(mesh->vertices, nullptr) << "handed over in compact form";
    }
}

TEST_F(IobImportTest, UnifyIsOnUntilItIsTurnedOff) {
    EXPECT_EQ(iobread::ImportSettings().unify_mode, 1);
    WriteSettingInt(iobread::kPluginName, kCommonSettings, "unify_mode", 0);
    EXPECT_EQ(iobread::ImportSettings().unify_mode, 0);
}

// Two good faces, one whose edges do not close and one that names an edge
// the object lacks; then a lamp and an axis.
TEST_F(IobImportTest, WhatIsSkippedIsCountedInTheLog) {
    iobtest::Geometry g = iobtest::FromTriangles({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                                 {{0, 1, 2}, {0, 2, 3}});
    g.edges.push_back({1, 3});
    g.faces.push_back({0, 1, 5});  // (0,1), (1,2), then (1,3): open
    g.faces.push_back({0, 1, 40});
    IffBuilder file("TDDD");
    file.Begin("OBJ ");
    iobtest::AddObject(file, "PLATE", g).Chunk("TOBJ", {});
    file.Begin("DESC").Chunk("NAME", chunks::Name("SUN")).Chunk("SHP2", iobtest::Shp2(2, 1));
    file.End().Chunk("TOBJ", {});
    file.Begin("DESC").Chunk("NAME", chunks::Name("AXIS")).Chunk("SHP2", iobtest::Shp2(2));
    file.End().Chunk("TOBJ", {}).End();
    ObjectList result(ReleaseMeshObject);
    ASSERT_TRUE(Import(Write("plate.iob", file.Build()), result));
    ASSERT_EQ(result.Count(), 1);
    EXPECT_EQ(static_cast<const Mesh3d*>(result.head->object)->triangleCount, 2);
    EXPECT_THAT(log_, HasSubstr("Working on: PLATE\nSkipped 1 face whose edges do not close, 1 "
                                "face naming a missing edge or point\n"));
    EXPECT_THAT(log_, HasSubstr("Skipped: 1 lamp, 1 object without faces, 1 face whose edges do "
                                "not close, 1 face naming a missing edge or point\n"));
}

TEST_F(IobImportTest, AFileThatCannotBeImportedIsNamedWithTheReason) {
    Bytes cut = iobtest::OneObjectFile("CUBE", iobtest::Cube());
    cut.resize(cut.size() / 2);
    std::filesystem::create_directory(temp_.File("folder.iob"));
    // Sound files that hold no mesh: no object at all, and only a lamp.
    const Bytes bare = IffBuilder("TDDD").Build();
    IffBuilder lamp("TDDD");
    lamp.Begin("OBJ ").Begin("DESC").Chunk("NAME", chunks::Name("SUN"));
    lamp.Chunk("SHP2", iobtest::Shp2(2, 1)).End().Chunk("TOBJ", {}).End();
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {temp_.File("missing.iob"), "File " + temp_.File("missing.iob") + " not found"},
        {temp_.File("folder.iob"), "File " + temp_.File("folder.iob") + " not found"},
        {Write("cut.iob", cut), temp_.File("cut.iob") + ": it is cut short"},
        {Write("text.iob", Bytes{'v', ' ', '1', '\n'}),
         temp_.File("text.iob") + ": it is not an Imagine object file"},
        {Write("bare.iob", bare), "no meshes found in " + temp_.File("bare.iob")},
        {Write("lamp.iob", lamp.Build()), "no meshes found in " + temp_.File("lamp.iob")},
    };
    for (const auto& c : cases) {
        pluginsupport::ScriptedTerminal terminal("", false);
        ObjectList result(ReleaseMeshObject);
        EXPECT_FALSE(Import(c.path, result)) << c.path;
        EXPECT_EQ(result.Count(), 0) << c.path;
        EXPECT_THAT(terminal.Err(), HasSubstr(c.message));
        EXPECT_THAT(log_, HasSubstr(c.message));
    }
}

}  // namespace

}  // namespace plugins
