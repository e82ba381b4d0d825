#include "framework/import_steps.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/mesh.h"
#include "framework/plugin_settings.h"
#include "framework/progress.h"
#include "support/report_recorder.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

using pluginsupport::ConfigHomeTest;
using pluginsupport::ReadFileBytes;
using pluginsupport::RecordedReports;

// A mesh of `parts` separate strips of quads at different heights, with
// every third triangle wound the other way, so that orienting it turns faces
// and reports progress once per strip.
Mesh3d* MakeStrips(int seed, int parts, const char* name) {
    auto* mesh = new Mesh3d(1000, name);
    int turn = 0;
    for (int part = 0; part < parts; ++part) {
        const double z = (seed * 7 + part * 13) % 11 - 5.0;
        const double y = part * 3.0;
        for (int i = 0; i < 4 + (seed + part) % 5; ++i) {
            const Vector3d a{i * 1.0, y, z}, b{i + 1.0, y, z + 0.25 * part};
            const Vector3d c{i + 1.0, y + 1.0, z}, d{i * 1.0, y + 1.0, z};
            for (const Triangle3d& t : {Triangle3d{a, b, c}, Triangle3d{a, c, d}}) {
                mesh->AddTriangle(++turn % 3 == 0 ? Triangle3d{t.P0, t.P2, t.P1} : t);
            }
        }
    }
    return mesh;
}

// The meshes of one file: some with points, one without (dropped without a
// report) and a group that never got a mesh.
std::vector<Mesh3d*> MakeMeshes() {
    std::vector<Mesh3d*> meshes;
    meshes.push_back(MakeStrips(1, 3, "first"));
    meshes.push_back(nullptr);
    meshes.push_back(MakeStrips(2, 1, "second"));
    meshes.push_back(new Mesh3d(1000, "empty"));
    for (int i = 3; i < 9; ++i) {
        meshes.push_back(MakeStrips(i, i % 4 + 1, ("mesh" + std::to_string(i)).c_str()));
    }
    return meshes;
}

struct HandedOver {
    std::vector<std::string> reports;
    std::string log;
    std::vector<std::string> meshes;  // name, then the bytes of points and triangles
};

class HandOverTest : public ConfigHomeTest {
  protected:
    HandedOver Run(bool together, int unify, bool withCallbacks) {
        PluginSettings settings("objread", "objread.log");
        settings.size_value = -1.5;
        settings.swap_mode = 2;
        settings.unify_mode = unify;
        const ProgressCallbacks callbacks = pluginsupport::ReportRecorder();
        const ProgressCallbacks* given = withCallbacks ? &callbacks : nullptr;
        RecordedReports().clear();
        HandedOver out;
        ObjectList result(ReleaseMeshObject);
        const std::string logPath = temp_.File("run.log");
        {
            LogFile log(logPath.c_str());
            std::vector<Mesh3d*> meshes = MakeMeshes();
            if (together) {
                EXPECT_EQ(HandOverImportedMeshes(result, meshes, settings, given, log), 8u);
            } else {
                for (std::size_t i = 0; i < meshes.size(); ++i) {
                    if (meshes[i] != nullptr) {
                        HandOverImportedMesh(result, meshes[i], settings, given, log,
                                             static_cast<unsigned>(i),
                                             static_cast<unsigned>(meshes.size()));
                    }
                }
            }
        }
        out.reports = RecordedReports();
        out.log = ReadFileBytes(logPath);
        for (int i = 0; i < result.Count(); ++i) {
            const auto* mesh = static_cast<const Mesh3d*>(result.Get(i));
            EXPECT_EQ(mesh->vertices, nullptr);
            std::string bytes = mesh->name;
            bytes.append(reinterpret_cast<const char*>(mesh->points),
                         sizeof(Vector3d) * static_cast<std::size_t>(mesh->pointCount));
            bytes.append(reinterpret_cast<const char*>(mesh->triangles),
                         sizeof(TriangleIndices) * static_cast<std::size_t>(mesh->triangleCount));
            out.meshes.push_back(bytes);
        }
        return out;
    }
};

}  // namespace

// Handing the meshes over together (on two threads where there are two
// processors) gives the host the same meshes, reports and log, in the same
// order, as handing them over one after the other.
TEST_F(HandOverTest, TogetherAsOneAfterTheOther) {
    struct Case {
        int unify;
        bool withCallbacks;
    };
    for (const Case& c : {Case{1, true}, Case{0, true}, Case{1, false}}) {
        SCOPED_TRACE(testing::Message() << "unify " << c.unify << " callbacks " << c.withCallbacks);
        const HandedOver single = Run(false, c.unify, c.withCallbacks);
        for (int repeat = 0; repeat < 5; ++repeat) {
            const HandedOver together = Run(true, c.unify, c.withCallbacks);
            EXPECT_EQ(together.reports, single.reports);
            EXPECT_EQ(together.log, single.log);
            EXPECT_EQ(together.meshes, single.meshes);
        }
        ASSERT_EQ(single.meshes.size(), 8u);
        EXPECT_NE(single.log.find("Object   : mesh8"), std::string::npos);
        if (c.withCallbacks && c.unify != 0) {
            // The strips were oriented, with a report per strip.
            int meshReports = 0;
            for (const std::string& r : single.reports) {
                meshReports += r.rfind("M:", 0) == 0 ? 1 : 0;
            }
            EXPECT_GT(meshReports, 16);
        }
    }
}

}  // namespace plugins
