#include "objwrite/obj_writer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/export_run.h"
#include "export/export_settings.h"
#include "mesh_fixtures.h"
#include "support/temp_dir.h"

namespace plugins::objwrite {

namespace {

using namespace exporttest;
using pluginsupport::ReadFileBytes;

// The single triangle as the file holds it, with LF line ends. The face
// line lists the corners in reverse (OBJ fronts are counter-clockwise, a
// mesh's clockwise), each with the normal of its corner.
const char* const kTriangleFile =
    "# Converted by WaveFront Export Plugin 0.1\n"
    "#\n"
    "# Object tri\n"
    "# Vertices 3\n"
    "v 0.000000 0.000000 0.000000\n"
    "v 1.000000 0.000000 0.000000\n"
    "v 0.000000 1.000000 0.000000\n"
    "\n"
    "# Normals 3\n"
    "vn 0.000000 0.000000 -1.000000\n"
    "vn 0.000000 0.000000 -1.000000\n"
    "vn 0.000000 0.000000 -1.000000\n"
    "\n"
    "o tri\n"
    "\n"
    "s off\n"
    "\n"
    "# Face indices 1\n"
    "f 3//3 2//2 1//1\n"
    "\n";

std::string WithLineEnds(std::string text, const std::string& line_end) {
    std::string result;
    for (char c : text) {
        if (c == '\n') {
            result += line_end;
        } else {
            result += c;
        }
    }
    return result;
}

class ObjWriterTest : public pluginsupport::ConfigHomeTest {
  protected:
    ObjWriterTest() : objects_(DeleteAnyObject) { ClearRecording(); }

    // Exports the list with objwrite's writer and returns the file.
    std::string Export(int ld_mode, double smooth_angle = 70.0) {
        ExportSettings settings(kObjWriteIdentity);
        settings.ld_mode = ld_mode;
        settings.smooth_angle = smooth_angle;
        settings.SetFileName(temp_.File("out.obj").c_str());
        const ProgressCallbacks callbacks = RecordingCallbacks();
        ObjWriter writer;
        EXPECT_EQ(ExportRun(&objects_, &settings, &callbacks, writer), 1);
        return ReadFileBytes(temp_.File("out.obj"));
    }

    ObjectList objects_;
};

TEST_F(ObjWriterTest, SingleTriangleByteForByteInEveryLineEnd) {
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    const struct {
        int ld_mode;
        const char* line_end;
    } cases[] = {{1, "\n"}, {0, "\r\n"}, {2, "\r"}};
    for (const auto& c : cases) {
        EXPECT_EQ(Export(c.ld_mode), WithLineEnds(kTriangleFile, c.line_end))
            << "ld_mode " << c.ld_mode;
    }
    EXPECT_EQ(RecordedStatus()[1], "Working on: tri\n");
}

TEST_F(ObjWriterTest, SecondObjectNumbersOnFromTheFirst) {
    objects_.Append(MakeCompactMesh("tri", SingleTriangle()));
    objects_.Append(MakeOtherObject("light"));
    objects_.Append(MakeCompactMesh(
        "my square", {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}}));
    const std::string file = Export(1);
    const std::string second =
        "# Object my square\n"
        "# Vertices 4\n"
        "v 0.000000 0.000000 0.000000\n"
        "v 1.000000 0.000000 0.000000\n"
        "v 1.000000 1.000000 0.000000\n"
        "v 0.000000 1.000000 0.000000\n"
        "\n"
        "# Normals 6\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "vn 0.000000 0.000000 -1.000000\n"
        "\n"
        "o my square\n"
        "\n"
        "s off\n"
        "\n"
        "# Face indices 2\n"
        "f 6//6 5//5 4//4\n"
        "f 7//9 6//8 4//7\n"
        "\n";
    EXPECT_EQ(file, std::string(kTriangleFile) + second);
}

TEST_F(ObjWriterTest, CubeNormalsFollowTheSmoothAngle) {
    objects_.Append(MakeCompactMesh("cube", CubeTriangles()));
    // Flat and 70 degrees keep every side's own normal; 100 degrees blends
    // the sides at each corner, so no normal is an axis any more.
    for (double angle : {0.0, 70.0}) {
        const std::string file = Export(1, angle);
        EXPECT_NE(file.find("# Normals 36\n"), std::string::npos);
        EXPECT_NE(file.find("vn 0.000000 0.000000 -1.000000\n"), std::string::npos);
        EXPECT_NE(file.find("vn 1.000000 0.000000 0.000000\n"), std::string::npos);
        EXPECT_EQ(file.find("vn 0.57"), std::string::npos);
    }
    const std::string smooth = Export(1, 100.0);
    EXPECT_EQ(smooth.find("vn 0.000000 0.000000 -1.000000\n"), std::string::npos);
    // The corner (1,0,0) of the first face: sides weighed 1 : 1 : 2.
    EXPECT_NE(smooth.find("vn 0.816497 -0.408248 -0.408248\n"), std::string::npos);
}

}  // namespace

}  // namespace plugins::objwrite
