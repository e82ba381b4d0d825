#include "export/export_run.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/export_mesh.h"
#include "export/export_settings.h"
#include "export/mesh_access.h"
#include "export/text_output.h"
#include "mesh_fixtures.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

using namespace exporttest;
using pluginsupport::ReadFileBytes;

// Writes each mesh's name and table points, and remembers what it was given.
class RecordingWriter final : public ExportWriter {
  public:
    ExportBanner Banner() const override {
        return {"Test Export 1.0", "Jun 11 1998", "11:17:21", "tag"};
    }
    bool OpenOutput(const char* path, const ExportSettings& settings) override {
        out_.emplace(LineDelimiterFromSetting(settings.ld_mode));
        return out_->Open(path);
    }
    void WritePreamble(const ObjectList& objects, const ExportSettings&) override {
        preamble_count = objects.Count();
    }
    int WriteMesh(const Mesh3d& mesh, const ExportSettings&, const ExportReport&) override {
        return Write(ExportMesh::FromTables(mesh));
    }
    bool TakesExportMesh() const override { return lean; }
    int WriteExportMesh(const ExportMesh& mesh, const ExportSettings&,
                        const ExportReport&) override {
        ++leanMeshes;
        return Write(mesh);
    }
    int Write(const ExportMesh& mesh) {
        names.push_back(mesh.Name());
        if (!vanish.empty()) {
            std::filesystem::remove_all(vanish);
        }
        out_->Printf("mesh %s\n", mesh.Name());
        for (int i = 0; i < mesh.VertexCount(); ++i) {
            const Vector3d& p = mesh.Point(i);
            out_->Printf("%g %g %g\n", p.x, p.y, p.z);
        }
        return 1;
    }
    bool CloseOutput() override {
        const bool ok = out_->Commit();
        out_.reset();
        return ok;
    }

    std::vector<std::string> names;
    int preamble_count = -1;
    std::string vanish;  // a directory removed while a mesh is written
    bool lean = false;   // takes meshes as ExportMesh
    int leanMeshes = 0;  // meshes it was given as ExportMesh

  private:
    std::optional<TextOutput> out_;
};

class ExportRunTest : public pluginsupport::ConfigHomeTest {
  protected:
    ExportRunTest() : objects_(DeleteAnyObject) { ClearRecording(); }

    int Run(ExportSettings& settings) {
        const ProgressCallbacks callbacks = RecordingCallbacks();
        return ExportRun(&objects_, &settings, &callbacks, writer_);
    }

    std::vector<std::string> LogLines(const std::string& path) {
        std::vector<std::string> lines;
        std::string text = ReadFileBytes(path);
        std::size_t start = 0;
        for (std::size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1) {
            lines.push_back(text.substr(start, lf - start));
        }
        return lines;
    }

    ObjectList objects_;
    RecordingWriter writer_;
};

TEST_F(ExportRunTest, WritesTheMeshesInListOrderAndSkipsOtherObjects) {
    objects_.Append(MakeCompactMesh("first", SingleTriangle()));
    objects_.Append(MakeOtherObject("camera"));
    objects_.Append(MakeCompactMesh("second", CubeTriangles()));
    ExportSettings settings(kObjWriteIdentity);
    settings.ld_mode = 1;
    settings.verbose_mode = 1;
    settings.logfilename = temp_.File("run.log");
    settings.SetFileName(temp_.File("out.txt").c_str());

    ASSERT_EQ(Run(settings), 1);

    EXPECT_EQ(writer_.names, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(writer_.preamble_count, 3);
    const std::string file = temp_.File("out.txt");
    EXPECT_EQ(RecordedStatus(),
              (std::vector<std::string>{"Writing " + file + " started ...\n",
                                        "Writing " + file + " finished       \n"}));
    EXPECT_EQ(LogLines(temp_.File("run.log")),
              (std::vector<std::string>{"Test Export 1.0 Jun 11 1998 11:17:21 tag",
                                        "Writing " + file + " started ...",
                                        "Writing " + file + " finished       "}));
    EXPECT_EQ(ReadFileBytes(file).rfind("mesh first\n0 0 0\n1 0 0\n0 1 0\nmesh second\n", 0), 0u);
    // The host gets its meshes back in compact form.
    for (int i : {0, 2}) {
        auto* mesh = static_cast<Mesh3d*>(objects_.Get(i));
        EXPECT_EQ(mesh->vertices, nullptr);
        EXPECT_EQ(mesh->faces, nullptr);
        EXPECT_EQ(mesh->edges, nullptr);
        EXPECT_NE(mesh->points, nullptr);
    }
}

TEST_F(ExportRunTest, AnOutputThatCannotBeCreatedEndsTheRunBeforeAnyStatus) {
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    ExportSettings settings(kObjWriteIdentity);
    settings.verbose_mode = 1;
    settings.logfilename = temp_.File("run.log");
    settings.SetFileName(temp_.File("missing/out.obj").c_str());

    EXPECT_EQ(Run(settings), 0);

    EXPECT_TRUE(RecordedStatus().empty());
    EXPECT_EQ(LogLines(temp_.File("run.log")),
              (std::vector<std::string>{"Test Export 1.0 Jun 11 1998 11:17:21 tag"}));
    EXPECT_TRUE(writer_.names.empty());
    EXPECT_FALSE(std::filesystem::exists(temp_.File("missing")));
}

TEST_F(ExportRunTest, AFileThatCannotTakeItsPlaceIsNotReportedFinished) {
    // The output's directory disappears while the meshes are written, so the
    // finished file cannot be put in place.
    std::filesystem::create_directory(temp_.File("out"));
    writer_.vanish = temp_.File("out");
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    ExportSettings settings(kObjWriteIdentity);
    settings.SetFileName(temp_.File("out/file.obj").c_str());

    EXPECT_EQ(Run(settings), 0);

    ASSERT_EQ(RecordedStatus().size(), 1u);
    EXPECT_NE(RecordedStatus()[0].find("started"), std::string::npos);
}

TEST_F(ExportRunTest, ADirectoryInTheFilesPlaceEndsTheRunBeforeAnyStatus) {
    std::filesystem::create_directory(temp_.File("taken.obj"));
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    ExportSettings settings(kObjWriteIdentity);
    settings.SetFileName(temp_.File("taken.obj").c_str());

    EXPECT_EQ(Run(settings), 0);

    EXPECT_TRUE(RecordedStatus().empty());
    EXPECT_TRUE(std::filesystem::is_empty(temp_.File("taken.obj")));
}

// Both ways of handing a mesh to a writer, expanded to table form or as an
// ExportMesh, give it the same scaled and exchanged points and leave the
// host's mesh with the same bounds and its compact points as they were.
TEST_F(ExportRunTest, ScaleAndSwapReachTheFileAndBoundsButNotTheCompactPoints) {
    const struct {
        double size;
        int swap;
        const char* file;
        Vector3d min;
        Vector3d max;
    } cases[] = {
        {2.0, 2, "mesh m\n1 -4 2\n10 8 6\n-2 0 0\n", {-2, -4, 0}, {10, 8, 6}},
        {-0.5, 3, "mesh m\n-0.5 -0.25 1\n-1.5 -2.5 -2\n-0 0.5 -0\n", {-1.5, -2.5, -2}, {0, 0.5, 1}},
        {1.0, 0, "mesh m\n1 -2 0.5\n3 4 5\n0 0 -1\n", {0, -2, -1}, {3, 4, 5}},
    };
    const std::vector<Triangle3d> triangle = {{{1, -2, 0.5}, {3, 4, 5}, {0, 0, -1}}};
    for (const auto& c : cases) {
        for (bool lean : {false, true}) {
            SCOPED_TRACE(std::to_string(c.size) + (lean ? " as ExportMesh" : " expanded"));
            objects_.Destroy();
            objects_.Init(DeleteAnyObject);
            auto* mesh = MakeCompactMesh("m", triangle);
            objects_.Append(mesh);
            const std::vector<Vector3d> points_before(mesh->points,
                                                      mesh->points + mesh->pointCount);
            ExportSettings settings(kObjWriteIdentity);
            settings.ld_mode = 1;
            settings.size_value = c.size;
            settings.swap_mode = c.swap;
            settings.SetFileName(temp_.File("out.txt").c_str());
            writer_.lean = lean;
            writer_.leanMeshes = 0;

            ASSERT_EQ(Run(settings), 1);

            EXPECT_EQ(writer_.leanMeshes, lean ? 1 : 0);
            EXPECT_EQ(ReadFileBytes(temp_.File("out.txt")), c.file);
            ASSERT_EQ(mesh->pointCount, 3);
            EXPECT_EQ(std::memcmp(mesh->points, points_before.data(), 3 * sizeof(Vector3d)), 0);
            EXPECT_EQ(mesh->vertices, nullptr);
            EXPECT_EQ(mesh->min.x, c.min.x);
            EXPECT_EQ(mesh->min.y, c.min.y);
            EXPECT_EQ(mesh->min.z, c.min.z);
            EXPECT_EQ(mesh->max.x, c.max.x);
            EXPECT_EQ(mesh->max.y, c.max.y);
            EXPECT_EQ(mesh->max.z, c.max.z);
        }
    }
}

// A list of meshes in both forms, with another object between them: a
// writer that takes ExportMesh gets the meshes in compact form (the large
// ones prepared ahead while the one before is written), and the mesh in
// table form expanded as before; file and bounds come out as when every
// mesh is expanded.
TEST_F(ExportRunTest, MeshesPreparedAheadGiveTheSameFileAndBounds) {
    struct Outcome {
        std::string file;
        std::vector<Vector3d> bounds;
        int leanMeshes;
    };
    auto run = [this](bool lean) {
        objects_.Destroy();
        objects_.Init(DeleteAnyObject);
        objects_.Append(MakeCompactMesh("cube", CubeTriangles()));
        objects_.Append(MakeCompactMesh("large grid", BumpyGrid(91)));
        objects_.Append(MakeOtherObject("other"));
        objects_.Append(MakeCompactMesh("second large grid", BumpyGrid(92)));
        objects_.Append(MakeTableMesh("tables", BumpyGrid(3)));
        objects_.Append(MakeCompactMesh("last", SingleTriangle()));
        ExportSettings settings(kObjWriteIdentity);
        settings.ld_mode = 1;
        settings.size_value = -1.5;
        settings.swap_mode = 1;
        settings.SetFileName(temp_.File("out.txt").c_str());
        writer_.lean = lean;
        writer_.leanMeshes = 0;
        writer_.names.clear();
        EXPECT_EQ(Run(settings), 1);
        Outcome outcome{ReadFileBytes(temp_.File("out.txt")), {}, writer_.leanMeshes};
        for (int i : {0, 1, 3, 4, 5}) {
            const auto* mesh = static_cast<const Mesh3d*>(objects_.Get(i));
            outcome.bounds.push_back(mesh->min);
            outcome.bounds.push_back(mesh->max);
        }
        return outcome;
    };
    const Outcome expanded = run(false);
    const Outcome lean = run(true);
    EXPECT_EQ(expanded.leanMeshes, 0);
    EXPECT_EQ(lean.leanMeshes, 4);
    EXPECT_EQ(lean.file, expanded.file);
    ASSERT_EQ(lean.bounds.size(), expanded.bounds.size());
    for (std::size_t i = 0; i < lean.bounds.size(); ++i) {
        EXPECT_EQ(std::memcmp(&lean.bounds[i], &expanded.bounds[i], sizeof(Vector3d)), 0) << i;
    }
    EXPECT_EQ(writer_.names, (std::vector<std::string>{"cube", "large grid", "second large grid",
                                                       "tables", "last"}));
}

TEST_F(ExportRunTest, OnlyVerboseModeOneWritesALog) {
    for (int verbose : {0, 2}) {
        ExportSettings settings(kObjWriteIdentity);
        settings.verbose_mode = verbose;
        settings.logfilename = temp_.File("quiet.log");
        settings.SetFileName(temp_.File("out.txt").c_str());
        EXPECT_EQ(Run(settings), 1);
        EXPECT_FALSE(std::filesystem::exists(temp_.File("quiet.log"))) << verbose;
    }
}

}  // namespace

}  // namespace plugins
