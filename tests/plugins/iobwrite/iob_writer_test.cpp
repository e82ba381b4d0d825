// iobwrite's writer under the export run: the chunks of an object, the one
// hierarchy of a file, meshes beyond the 16-bit counts, and coordinates an
// Imagine object cannot hold.
#include "iobwrite/iob_writer.h"

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "export/export_run.h"
#include "iob_fixtures.h"
#include "iobread/tddd_reader.h"
#include "mesh_fixtures.h"
#include "support/scripted_terminal.h"
#include "support/temp_dir.h"
#include "tddd/tddd_format.h"

namespace plugins {

namespace {

using iobwrite::IobExportSettings;
using iobwrite::IobFormat;
using iobwrite::IobWriter;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

struct ChunkView {
    std::string id;
    Bytes data;
};

// The chunks of data[begin, end), one level deep.
std::vector<ChunkView> Chunks(const Bytes& data, std::size_t begin, std::size_t end) {
    std::vector<ChunkView> chunks;
    while (begin + 8 <= end) {
        const std::uint32_t size = tddd::GetU32(data.data() + begin + 4);
        const auto at = data.begin() + static_cast<std::ptrdiff_t>(begin);
        chunks.push_back({std::string(at, at + 4), Bytes(at + 8, at + 8 + size)});
        begin += 8 + size + (size & 1);
    }
    return chunks;
}

std::vector<ChunkView> Chunks(const Bytes& data) {
    return Chunks(data, 0, data.size());
}

std::vector<std::string> Ids(const std::vector<ChunkView>& chunks) {
    std::vector<std::string> ids;
    for (const ChunkView& c : chunks) {
        ids.push_back(c.id);
    }
    return ids;
}

Bytes FileBytes(const std::string& path) {
    const std::string text = pluginsupport::ReadFileBytes(path);
    return Bytes(text.begin(), text.end());
}

class IobWriterTest : public pluginsupport::ConfigHomeTest {
  protected:
    IobWriterTest() : objects_(exporttest::DeleteAnyObject) { exporttest::ClearRecording(); }

    void AddMesh(const char* name, const std::vector<Triangle3d>& triangles) {
        objects_.Append(exporttest::MakeCompactMesh(name, triangles));
    }

    // Exports the meshes to out.iob; returns what the run returns.
    int Export(IobFormat format = IobFormat::EveryImagine) {
        IobExportSettings settings;
        settings.file_name = Out();
        settings.verbose_mode = 0;
        IobWriter writer(format);
        const ProgressCallbacks callbacks = exporttest::RecordingCallbacks();
        return ExportRun(&objects_, &settings, &callbacks, writer);
    }

    std::string Out() const { return temp_.File("out.iob"); }

    iobread::TdddContents ReadBack() {
        const Bytes file = FileBytes(Out());
        iobread::TdddContents contents;
        std::string error;
        EXPECT_TRUE(iobread::ReadTddd(file.data(), file.size(), contents, error)) << error;
        return contents;
    }

    ObjectList objects_;
};

TEST_F(IobWriterTest, AMeshBecomesOneCustomObjectWithTheDocumentedDefaults) {
    AddMesh("cube", exporttest::CubeTriangles());
    ASSERT_EQ(Export(), 1);
    const Bytes file = FileBytes(Out());
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "FORM");
    EXPECT_EQ(tddd::GetU32(file.data() + 4), file.size() - 8);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 12), "TDDD");
    const auto top = Chunks(file, 12, file.size());
    ASSERT_THAT(Ids(top), ElementsAre("OBJ "));
    const auto hierarchy = Chunks(top[0].data);
    ASSERT_THAT(Ids(hierarchy), ElementsAre("DESC", "TOBJ"));
    const auto object = Chunks(hierarchy[0].data);
    EXPECT_THAT(Ids(object),
                ElementsAre("NAME", "SHP2", "POSI", "AXIS", "SIZE", "PNTS", "EDGE", "FACE", "COLR",
                            "REFL", "TRAN", "SPC1", "CLST", "RLST", "TLST", "PRP1"));
    const auto value = [&](const char* id) {
        for (const ChunkView& c : object) {
            if (c.id == id) return c.data;
        }
        return Bytes{};
    };
    EXPECT_EQ(value("NAME"), Bytes({'c', 'u', 'b', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(value("SHP2"), Bytes({0, 2, 0, 0}));
    EXPECT_EQ(value("POSI"), Bytes(12, 0));
    EXPECT_EQ(value("AXIS"), Bytes({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(value("COLR"), Bytes({0, 255, 255, 255}));
    EXPECT_EQ(value("REFL"), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(value("PRP1")[6], 1) << "Phong shading on";
    const Bytes colours = value("CLST");
    ASSERT_EQ(colours.size(), 2u + 3 * 12);
    EXPECT_EQ(tddd::GetU16(colours.data()), 12);
    EXPECT_EQ(Bytes(colours.begin() + 2, colours.begin() + 5), Bytes({255, 255, 255}));

    // Read back: the cube's eight corners, each of its edges once, and its
    // triangles with the winding they came with.
    const iobread::TdddContents contents = ReadBack();
    ASSERT_EQ(contents.objects.size(), 1u);
    const iobread::TdddObject& cube = contents.objects[0];
    EXPECT_EQ(cube.points.size(), 8u);
    EXPECT_EQ(cube.edges.size(), 18u);
    ASSERT_EQ(cube.faces.size(), 12u);
    const std::vector<Triangle3d> expected = exporttest::CubeTriangles();
    for (std::size_t f = 0; f < 12; ++f) {
        std::array<std::uint32_t, 3> k{};
        ASSERT_EQ(iobread::FaceCorners(cube, f, k), iobread::FaceProblem::None);
        const Vector3d normal =
            FaceNormal({cube.points[k[0]], cube.points[k[1]], cube.points[k[2]]});
        const Vector3d wanted = FaceNormal(expected[f]);
        EXPECT_GT(Dot(normal, wanted), 0.99) << "face " << f;
    }
}

// Imagine keeps one hierarchy per file: the first mesh heads it, the others
// are its children; objects that are no meshes are left out.
TEST_F(IobWriterTest, SeveralMeshesMakeOneHierarchyUnderTheFirst) {
    AddMesh("first", exporttest::SingleTriangle());
    objects_.Append(exporttest::MakeOtherObject("lamp"));
    AddMesh("second", exporttest::CubeTriangles());
    ASSERT_EQ(Export(), 1);
    const Bytes file = FileBytes(Out());
    const auto top = Chunks(file, 12, file.size());
    ASSERT_EQ(top.size(), 1u);
    EXPECT_THAT(Ids(Chunks(top[0].data)), ElementsAre("DESC", "DESC", "TOBJ", "TOBJ"));
    const iobread::TdddContents contents = ReadBack();
    ASSERT_EQ(contents.objects.size(), 2u);
    EXPECT_EQ(contents.objects[0].name, "first");
    EXPECT_EQ(contents.objects[1].name, "second");
}

// A strip of 32,769 x 2 points, half a unit apart: more points, edges and
// faces than 16-bit counts hold.
TEST_F(IobWriterTest, AMeshBeyondTheShortCountsIsSplitOrWrittenWide) {
    const std::uint32_t columns = 32769;
    const std::uint32_t rows = 2;
    const std::size_t triangles = 2u * (columns - 1) * (rows - 1);
    const struct {
        IobFormat format;
        const char* points_id;
        bool colour_lists;
    } cases[] = {{IobFormat::EveryImagine, "PNTS", true},
                 {IobFormat::ImagineForWindows, "PNT2", false}};
    for (const auto& c : cases) {
        objects_.Destroy();
        objects_.Init(exporttest::DeleteAnyObject);
        std::vector<Triangle3d> strip = iobtest::GridTriangles(columns, rows);
        for (Triangle3d& t : strip) {
            t = {Scale(t.P0, 0.5), Scale(t.P1, 0.5), Scale(t.P2, 0.5)};
        }
        AddMesh("a_long_grid_name_x", strip);
        ASSERT_EQ(Export(c.format), 1);
        const iobread::TdddContents contents = ReadBack();
        std::size_t faces = 0;
        for (std::size_t i = 0; i < contents.objects.size(); ++i) {
            const iobread::TdddObject& object = contents.objects[i];
            if (c.format == IobFormat::EveryImagine) {
                EXPECT_LE(object.points.size(), tddd::kMaxShortCount);
                EXPECT_LE(object.edges.size(), tddd::kMaxShortCount);
                EXPECT_LE(object.faces.size(), tddd::kMaxShortCount);
            }
            for (std::size_t f = 0; f < object.faces.size(); ++f) {
                std::array<std::uint32_t, 3> k{};
                faces += iobread::FaceCorners(object, f, k) == iobread::FaceProblem::None;
            }
        }
        EXPECT_EQ(faces, triangles) << "every face closes";
        if (c.format == IobFormat::EveryImagine) {
            ASSERT_GE(contents.objects.size(), 2u);
            // Names keep within NAME's 18 bytes.
            EXPECT_EQ(contents.objects[0].name, "a_long_grid_name_x");
            EXPECT_EQ(contents.objects[1].name, "a_long_grid_name_2");
        } else {
            EXPECT_EQ(contents.objects.size(), 1u);
        }
        const Bytes file = FileBytes(Out());
        const auto desc = Chunks(Chunks(Chunks(file, 12, file.size())[0].data)[0].data);
        const auto ids = Ids(desc);
        EXPECT_NE(std::find(ids.begin(), ids.end(), c.points_id), ids.end());
        EXPECT_EQ(std::find(ids.begin(), ids.end(), "CLST") != ids.end(), c.colour_lists);
    }
}

// A coordinate beyond a FRACT's reach refuses the whole export, says how to
// scale, and leaves an existing file as it was.
TEST_F(IobWriterTest, CoordinatesAFractCannotHoldAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double x;
        bool written;
        const char* message;
    } cases[] = {
        {32767.99, true, nullptr},           {-32768.0, true, nullptr},
        {40000.5, false, "--scale 0.1"},     {-3.0e6, false, "--scale 0.01"},
        {nan, false, "not a finite number"},
    };
    for (const auto& c : cases) {
        pluginsupport::WriteFileBytes(Out(), "old file");
        objects_.Destroy();
        objects_.Init(exporttest::DeleteAnyObject);
        AddMesh("fine", exporttest::SingleTriangle());
        AddMesh("far", {{{c.x, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
        pluginsupport::ScriptedTerminal terminal("", false);
        EXPECT_EQ(Export(), c.written ? 1 : 0) << c.x;
        if (c.written) {
            const iobread::TdddContents contents = ReadBack();
            ASSERT_EQ(contents.objects.size(), 2u);
            EXPECT_NEAR(contents.objects[1].points[0].x, c.x, 1.0 / 65536);
            EXPECT_EQ(terminal.Err(), "");
        } else {
            EXPECT_EQ(pluginsupport::ReadFileBytes(Out()), "old file") << c.x;
            EXPECT_THAT(terminal.Err(), HasSubstr("Mesh 'far'")) << c.x;
            EXPECT_THAT(terminal.Err(), HasSubstr(c.message)) << c.x;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp_.path()),
                                    std::filesystem::directory_iterator()),
                      2)
                << "no temporary file left beside out.iob and the configuration";
        }
    }
}

}  // namespace

}  // namespace plugins
