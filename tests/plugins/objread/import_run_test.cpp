// Whole imports: a file on disk, the settings, the run, the meshes handed
// over in compact form, and the log.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/contract.h"
#include "framework/progress.h"
#include "obj_fixtures.h"
#include "objread/import_run.h"
#include "objread/import_settings.h"
#include "objread/obj_reader.h"
#include "support/report_recorder.h"
#include "support/scripted_terminal.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

using objtest::MeshResult;
using objtest::Names;

class ImportRunTest : public pluginsupport::ConfigHomeTest {
  protected:
    // Imports text (written to a file) with obj_mode set to the number of
    // mode; adjust may change further settings first.
    std::vector<MeshResult> Import(const std::string& text, objread::SplitMode mode,
                                   void (*adjust)(objread::ImportSettings&) = nullptr) {
        const std::string file = temp_.File("input.obj");
        pluginsupport::WriteFileBytes(file, text);
        return ImportPath(file, mode, adjust);
    }

    std::vector<MeshResult> ImportPath(const std::string& file, objread::SplitMode mode,
                                       void (*adjust)(objread::ImportSettings&) = nullptr) {
        objread::ImportSettings settings;
        settings.SetFileName(file.c_str());
        settings.obj_mode = static_cast<int>(mode);
        if (adjust != nullptr) {
            adjust(settings);
        }
        ObjectList list(ReleaseMeshObject);
        read_ = objread::ImportRun(list, settings, nullptr);
        return objtest::Meshes(list);
    }

    bool read_ = false;
};

const char* const kCube =
    "# unit cube\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\n"
    "vn 0 0 1\nvt 0 0\n"
    "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";

TEST_F(ImportRunTest, CubeOfQuadsBecomesTwelveTrianglesInCompactForm) {
    const auto meshes = Import(kCube, objread::SplitMode::Nothing);
    ASSERT_EQ(meshes.size(), 1u);
    const MeshResult& cube = meshes[0];
    EXPECT_EQ(cube.name, "default");
    EXPECT_EQ(cube.points.size(), 8u);
    ASSERT_EQ(cube.triangles.size(), 12u);
    for (const TriangleIndices& t : cube.triangles) {
        EXPECT_EQ(t.reserved, 0);
        for (int k : {t.k0, t.k1, t.k2}) {
            EXPECT_GE(k, 0);
            EXPECT_LT(k, 8);
        }
    }
    // Every quad of the file is wound outward (right-handed); the stored
    // triangles keep that: their FaceNormal points out of the cube.
    for (const Triangle3d& t : objtest::Triangles(cube)) {
        const Vector3d n = FaceNormal(t);
        const Vector3d c = Subtract(Centroid(t), {0.5, 0.5, 0.5});
        EXPECT_GT(Dot(n, c), 0.0);
    }
}

TEST_F(ImportRunTest, SplitModesOpenGroupsByTheirStatement) {
    const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
    struct Case {
        const char* name;
        objread::SplitMode mode;
        std::string body;
        std::vector<std::string> meshes;
        std::vector<std::size_t> triangles;
    };
    const Case cases[] = {
        {"object, reopened",
         objread::SplitMode::Object,
         "o a\nf 1 2 3\no b\nf 1 3 4\no a\nf 2 3 4\n",
         {"a", "b"},
         {2, 1}},
        {"object, faces before the first o are dropped",
         objread::SplitMode::Object,
         "f 1 2 3\no a\nf 1 3 4\n",
         {"a"},
         {1}},
        {"object, no o line", objread::SplitMode::Object, "f 1 2 3\n", {}, {}},
        {"object ignores g",
         objread::SplitMode::Object,
         "o a\nf 1 2 3\ng b\nf 1 3 4\n",
         {"a"},
         {2}},
        {"object, keyword character not examined",
         objread::SplitMode::Object,
         "oxy\nf 1 2 3\n",
         {"y"},
         {1}},
        {"group",
         objread::SplitMode::Group,
         "g one\nf 1 2 3\ng two\nf 1 3 4\n",
         {"one", "two"},
         {1, 1}},
        {"usemtl",
         objread::SplitMode::Usemtl,
         "usemtl wood\nf 1 2 3\nusemtl\nf 1 3 4\nusemtl \nf 2 3 4\nusemap x\n",
         {"wood"},
         {3}},
        {"usemap",
         objread::SplitMode::Usemap,
         "usemtl wood\nusemap tiles\nf 1 2 3\n",
         {"tiles"},
         {1}},
        {"group without faces is dropped",
         objread::SplitMode::Group,
         "g empty\ng full\nf 1 2 3\n",
         {"full"},
         {1}},
        {"unknown mode reads nothing", objread::SplitMode{7}, "o a\ng a\nf 1 2 3\n", {}, {}},
        {"indented and commented lines",
         objread::SplitMode::Nothing,
         " f 1 2 3\n\tf 1 2 3\n# f 1 2 3\nvn 1 2 3\nf 1 2 3\n",
         {"default"},
         {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto meshes = Import(square + c.body, c.mode);
        EXPECT_EQ(Names(meshes), c.meshes);
        for (std::size_t i = 0; i < meshes.size() && i < c.triangles.size(); ++i) {
            EXPECT_EQ(meshes[i].triangles.size(), c.triangles[i]) << meshes[i].name;
        }
    }
}

// Which nearly equal points merge depends on the tables' bucket count, and
// that comes from the file's size alone: a group that opens near the end of
// the file merges exactly as the one group of the whole file does. In a file
// of 400,000 bytes (2,800 vertex buckets) the two points below share a
// bucket and merge; with the minimum of 2,048 buckets they would not.
TEST_F(ImportRunTest, EveryGroupMergesPointsAsTheWholeFileDoes) {
    const std::string group =
        "o a\n"
        "v 1.675 1 2\nv 0 0 0\nv 0 1 0\n"
        "v 1.6750003 1 2\nv 5 0 0\nv 5 5 0\n"
        "f 1 2 3\nf 4 5 6\n";
    // Comment lines before the group, of 100 bytes each, and one shorter.
    std::string text;
    while (text.size() + 100 + group.size() <= 400'000) {
        text += "#" + std::string(98, '.') + "\n";
    }
    text += "#" + std::string(400'000 - group.size() - text.size() - 2, '.') + "\n" + group;
    ASSERT_EQ(text.size(), 400'000u);
    for (objread::SplitMode mode : {objread::SplitMode::Nothing, objread::SplitMode::Object}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const auto meshes = Import(text, mode);
        ASSERT_EQ(meshes.size(), 1u);
        EXPECT_EQ(meshes[0].points.size(), 5u);
        EXPECT_EQ(meshes[0].triangles.size(), 2u);
    }
}

TEST_F(ImportRunTest, SmoothingOffOpensANewGroupEachTimeAcrossImports) {
    const std::string text =
        "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
        "s 1\nf 1 2 3\ns off\nf 1 3 4\ns 1\nf 2 3 4\ns off\nf 1 2 4\n";
    const long long first = objread::OffGroupCounter();
    const auto meshes = Import(text, objread::SplitMode::Smoothing);
    const std::string off0 = "off_" + std::to_string(first);
    const std::string off1 = "off_" + std::to_string(first + 1);
    EXPECT_EQ(Names(meshes), (std::vector<std::string>{"1", off0, off1}));
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_EQ(meshes[0].triangles.size(), 2u);

    const auto again = Import(text, objread::SplitMode::Smoothing);
    EXPECT_EQ(Names(again), (std::vector<std::string>{"1", "off_" + std::to_string(first + 2),
                                                      "off_" + std::to_string(first + 3)}));
}

TEST_F(ImportRunTest, GroupNamesAreCutAt255Characters) {
    const std::string longName(300, 'n');
    const auto meshes = Import("v 0 0 0\nv 1 0 0\nv 0 1 0\ng " + longName + "\nf 1 2 3\ng " +
                                   longName.substr(0, 255) + "\nf 3 2 1\n",
                               objread::SplitMode::Group);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].name, longName.substr(0, 255));
}

TEST_F(ImportRunTest, LShapeIsCutIntoFourTrianglesInsideTheL) {
    const auto meshes =
        Import("v 0 0 0\nv 2 0 0\nv 2 1 0\nv 1 1 0\nv 1 2 0\nv 0 2 0\nf 1 2 3 4 5 6\n",
               objread::SplitMode::Nothing);
    ASSERT_EQ(meshes.size(), 1u);
    const auto triangles = objtest::Triangles(meshes[0]);
    ASSERT_EQ(triangles.size(), 4u);
    double area = 0.0;
    for (const Triangle3d& t : triangles) {
        // All fans from (0,0): the first stored point (reversed order) is the
        // fan's third corner, the last one is the corner (0,0,0).
        EXPECT_EQ(t.P2.x, 0.0);
        EXPECT_EQ(t.P2.y, 0.0);
        const Vector3d g = Centroid(t);
        EXPECT_FALSE(g.x > 1.0 && g.y > 1.0) << "triangle outside the L";
        area += 0.5 * Length(Cross(Subtract(t.P1, t.P0), Subtract(t.P2, t.P0)));
    }
    EXPECT_DOUBLE_EQ(area, 3.0);
}

TEST_F(ImportRunTest, MoreThan65536VerticesKeepTheirOwnNumbers) {
    // 350 x 200 = 70,000 vertices; corners above 65,536 must not wrap.
    const auto meshes = Import(objtest::GridObj(350, 200), objread::SplitMode::Nothing);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].points.size(), 70000u);
    EXPECT_EQ(meshes[0].triangles.size(), 2u * 349 * 199);
    EXPECT_EQ(meshes[0].max.x, 349.0);
    EXPECT_EQ(meshes[0].max.y, 199.0);
    for (const Triangle3d& t : objtest::Triangles(meshes[0])) {
        // Neighbouring grid points only: a wrapped index jumps rows.
        ASSERT_LE(std::fabs(t.P0.y - t.P1.y), 1.0);
        ASSERT_LE(std::fabs(t.P0.y - t.P2.y), 1.0);
    }
}

TEST_F(ImportRunTest, LongFaceLineIsOneFaceAndShiftsNoVertexNumbers) {
    // A convex 600-gon on a circle, its face line well over 2,046 characters,
    // with a token "v" placed exactly where a reader cutting the line into
    // 2,046-character pieces would start a bogus vertex line "v 1 ...".
    const int n = 600;
    std::string text;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * 3.141592653589793 * i / n;
        text += "v " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " 0\n";
    }
    std::string face = "f";
    for (int i = 1; i <= n; ++i) {
        face += " " + std::to_string(i);
        if (face.size() < 2046 && face.size() + 2 + std::to_string(i + 1).size() > 2046) {
            face += std::string(2046 - face.size() - 1, ' ') + " v";
        }
    }
    ASSERT_GT(face.size(), 2046u);
    text += face + "\n";
    text += "v 5 5 5\nv 6 5 5\nf -1 -2 1\n";  // -1 must be (6,5,5)
    const auto meshes = Import(text, objread::SplitMode::Nothing);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].triangles.size(), static_cast<std::size_t>(n - 2 + 1));
    EXPECT_EQ(meshes[0].max.x, 6.0);
    EXPECT_EQ(meshes[0].points.size(), static_cast<std::size_t>(n + 2));
}

TEST_F(ImportRunTest, LastLineWithoutLineEndIsRead) {
    for (const char* end : {"", "\n", "\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        const auto meshes = Import(std::string("v 0 0 0\r\nv 1 0 0\rv 0 1 0\nf 1 2 3") + end,
                                   objread::SplitMode::Nothing);
        ASSERT_EQ(meshes.size(), 1u);
        EXPECT_EQ(meshes[0].triangles.size(), 1u);
    }
}

TEST_F(ImportRunTest, ScaleAndSwapApplyToPointsNotToLoggedBounds) {
    const std::string log = temp_.File("run.log");
    static std::string logPath;
    logPath = log;
    const auto meshes = Import("v 1 2 3\nv 2 2 3\nv 1 4 3\nf 1 2 3\n", objread::SplitMode::Nothing,
                               [](objread::ImportSettings& s) {
                                   s.size_value = 2.0;
                                   s.swap_mode = 1;
                                   s.verbose_mode = 1;
                                   s.logfilename = logPath;
                               });
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].min.x, 4.0);  // y doubled, now x
    EXPECT_EQ(meshes[0].min.y, 2.0);
    EXPECT_EQ(meshes[0].max.x, 8.0);
    EXPECT_EQ(meshes[0].min.z, 6.0);
    const std::string text = pluginsupport::ReadFileBytes(log);
    EXPECT_NE(text.find("Min : <1.000000,2.000000,3.000000>"), std::string::npos) << text;
    EXPECT_NE(text.find("Max : <2.000000,4.000000,3.000000>"), std::string::npos) << text;
}

TEST_F(ImportRunTest, VerboseLogHoldsTheRunInOrder) {
    const std::string log = temp_.File("run.log");
    static std::string logPath;
    logPath = log;
    Import("v 0 0 0\nv 1 0 0\nv 0 1 0\no a\nf 1 2 3\no empty\no b\nf 3 2 1\nf 1 2 3\no a\n",
           objread::SplitMode::Object, [](objread::ImportSettings& s) {
               s.verbose_mode = 1;
               s.logfilename = logPath;
           });
    const std::string text = pluginsupport::ReadFileBytes(log);
    const std::string file = temp_.File("input.obj");
    const std::vector<std::string> expected = {"WaveFront Import Plugin 0.2 ",
                                               "Parsing " + file + " started ...\n",
                                               "Working on: a\n",
                                               "Working on: empty\n",
                                               "Working on: b\n",
                                               "Working on: a\n",
                                               "Statistic:\nObject   : a\n",
                                               "Statistic:\nObject   : b\n",
                                               "Parsing finished\n"};
    std::size_t at = 0;
    for (const std::string& piece : expected) {
        const std::size_t found = text.find(piece, at);
        ASSERT_NE(found, std::string::npos) << "missing in order: " << piece << "\nlog:\n" << text;
        at = found + piece.size();
    }
    EXPECT_EQ(text.find("Object   : empty"), std::string::npos);
    EXPECT_EQ(text.rfind("WaveFront Import Plugin 0.2 ", 0), 0u) << "banner first";
}

TEST_F(ImportRunTest, ALogNamedLikeTheInputLeavesTheInputWhole) {
    // However the name is spelled.
    static std::string logPath;
    for (const std::string& name :
         {temp_.File("input.obj"), (temp_.path() / "." / "input.obj").string()}) {
        SCOPED_TRACE(name);
        logPath = name;
        const auto meshes =
            Import(kCube, objread::SplitMode::Nothing, [](objread::ImportSettings& s) {
                s.verbose_mode = 1;
                s.logfilename = logPath;
            });
        ASSERT_EQ(meshes.size(), 1u);
        EXPECT_EQ(meshes[0].triangles.size(), 12u);
        EXPECT_EQ(pluginsupport::ReadFileBytes(temp_.File("input.obj")), kCube);
    }
}

TEST_F(ImportRunTest, QuietRunCreatesNoLogFile) {
    static std::string logPath;
    logPath = temp_.File("quiet.log");
    Import(kCube, objread::SplitMode::Nothing, [](objread::ImportSettings& s) {
        s.verbose_mode = 0;
        s.logfilename = logPath;
    });
    EXPECT_FALSE(std::filesystem::exists(logPath));
}

TEST_F(ImportRunTest, StatusAndProgressReportsFollowTheRun) {
    const std::vector<std::string> lines = {"v 0 0 0", "v 1 0 0", "v 0 1 0", "o a",     "f 1 2 3",
                                            "o empty", "o b",     "f 3 2 1", "vn 0 0 1"};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    const std::string file = temp_.File("input.obj");
    pluginsupport::WriteFileBytes(file, text);
    const std::string size = std::to_string(text.size());

    // File progress before every read, the last one at the end of the file;
    // then per handed-over mesh its position among the three groups and the
    // steps, each announced also when it does nothing.
    std::vector<std::string> expected = {"S:Parsing " + file + " started ...      \n"};
    std::size_t position = 0;
    for (const std::string& line : lines) {
        expected.push_back("F:" + std::to_string(position) + "/" + size);
        position += line.size() + 1;
        if (line[0] == 'o') {
            expected.push_back("S:Working on: " + line.substr(2) + "\n");
        }
    }
    expected.push_back("F:" + size + "/" + size);
    for (const auto& [index, name] : {std::pair<int, std::string>{0, "a"}, {2, "b"}}) {
        expected.push_back("F:" + std::to_string(index) + "/3");
        for (const char* step : {"Sizing: ", "Swapping axis: ", "Unifying: ", "Reducing: "}) {
            expected.push_back(std::string("S:") + step + name + "\n");
        }
    }
    expected.push_back("S:Parsing finished       \n");

    const ProgressCallbacks callbacks = pluginsupport::ReportRecorder();
    for (int unify : {0, 1}) {
        SCOPED_TRACE(unify);
        pluginsupport::RecordedReports().clear();
        objread::ImportSettings settings;
        settings.SetFileName(file.c_str());
        settings.obj_mode = static_cast<int>(objread::SplitMode::Object);
        settings.unify_mode = unify;
        ObjectList list(ReleaseMeshObject);
        EXPECT_TRUE(objread::ImportRun(list, settings, &callbacks));
        EXPECT_EQ(list.Count(), 2);
        // The orientation step's progress reaches the mesh bar, and only then.
        std::vector<std::string> got;
        bool meshProgress = false;
        for (const std::string& report : pluginsupport::RecordedReports()) {
            if (report.rfind("M:", 0) == 0) {
                meshProgress = true;
            } else {
                got.push_back(report);
            }
        }
        EXPECT_EQ(meshProgress, unify == 1);
        EXPECT_EQ(got, expected);
    }
}

TEST_F(ImportRunTest, ByteOrderMarkBeforeTheFirstLineIsSkipped) {
    const auto meshes = Import("\xEF\xBB\xBFv 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 5 5\nf 1 2 3\n",
                               objread::SplitMode::Nothing);
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_TRUE(read_);
    EXPECT_EQ(meshes[0].points.size(), 3u);
    EXPECT_EQ(meshes[0].max.x, 1.0);  // vertex 1 is (0, 0, 0), not lost
    EXPECT_EQ(meshes[0].max.z, 0.0);  // and the face does not reach vertex 4
}

// An import that cannot give what the file holds hands over nothing and
// says why, naming the line where there is one.
TEST_F(ImportRunTest, FailedOrFruitlessImportsSayWhyAndHandOverNothing) {
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    const struct {
        const char* name;
        std::string text;
        std::string message;  // empty: the import succeeds with no mesh
    } cases[] = {
        {"UTF-16", utf16, "no meshes found in "},
        {"no usable face", "v 0 0 0\nv 1 0 0\nf 1 2\n# nothing\n", "no meshes found in "},
        {"NaN", triangle + "v nan 0 0\n", "line 5 of "},
        {"infinity", "# a\n" + triangle + "v 0 inf 0\n", "line 6 of "},
        {"beyond a double", triangle + "v 1e400 0 0\n", "line 5 of "},
        {"empty file", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pluginsupport::ScriptedTerminal term("", false);
        const auto meshes = Import(c.text, objread::SplitMode::Nothing);
        EXPECT_TRUE(meshes.empty());
        EXPECT_EQ(read_, c.message.empty());
        if (c.message.empty()) {
            EXPECT_EQ(term.Err(), "");
        } else {
            EXPECT_EQ(term.Err().find(c.message), 0u) << term.Err();
            EXPECT_NE(term.Err().find(temp_.File("input.obj")), std::string::npos) << term.Err();
        }
        if (c.message == "line 5 of " || c.message == "line 6 of ") {
            EXPECT_NE(term.Err().find("a coordinate is not a finite number"), std::string::npos);
        }
    }
}

TEST_F(ImportRunTest, UnopenableFileIsReportedAndYieldsNothing) {
    static std::string logPath;
    logPath = temp_.File("missing.log");
    pluginsupport::ScriptedTerminal term("", false);
    for (const std::string& path : {temp_.File("no such.obj"), temp_.path().string()}) {
        SCOPED_TRACE(path);
        const auto meshes =
            ImportPath(path, objread::SplitMode::Nothing, [](objread::ImportSettings& s) {
                s.verbose_mode = 1;
                s.logfilename = logPath;
            });
        EXPECT_TRUE(meshes.empty());
        EXPECT_FALSE(read_);
        EXPECT_NE(term.Err().find("File " + path + " not found\n"), std::string::npos)
            << term.Err();
        const std::string log = pluginsupport::ReadFileBytes(logPath);
        EXPECT_NE(log.find("Parsing " + path + " started ...\nFile " + path +
                           " not found\nParsing finished\n"),
                  std::string::npos)
            << log;
    }
}

}  // namespace

}  // namespace plugins
