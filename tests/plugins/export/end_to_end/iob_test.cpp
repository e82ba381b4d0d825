// Imagine objects through the built modules and meshconv: the importer as a
// host sees it, the round trips between OBJ and Imagine objects, and Tessvane
// on the files iobwrite writes and iobread reads.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/settings_store.h"
#include "host.h"
#include "iob_fixtures.h"

namespace plugins {

namespace {

using namespace e2e;
using pluginsupport::ReadFileBytes;
using pluginsupport::WriteFileBytes;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(IobModules, TheImporterExportsItsFourEntryPointsAndDescribesItself) {
    Module module(IOBREAD_MODULE);
    ASSERT_TRUE(module.Loaded());
    auto lib_name = reinterpret_cast<LibNameFunction>(module.Symbol("LibName"));
    auto version = reinterpret_cast<LibVersionFunction>(module.Symbol("LibVersion"));
    auto describe =
        reinterpret_cast<LibClassDescriptionFunction>(module.Symbol("LibClassDescription"));
    ASSERT_TRUE(lib_name && version && describe);
    EXPECT_STREQ(lib_name(), "IOB Import Lib");
    EXPECT_EQ(version(), 3);
    EXPECT_EQ(describe(1), nullptr);
    ClassDescription* d = describe(0);
    ASSERT_NE(d, nullptr);
    EXPECT_STREQ(d->ClassName(), "Imagine Object (*.iob)");
    EXPECT_EQ(d->PluginKind(), kPluginKindImport);
    EXPECT_EQ(d->ClassId(), 0x10B4EAD1u);
    std::FILE* pipe = popen("nm -D --defined-only '" IOBREAD_MODULE "'", "r");
    ASSERT_NE(pipe, nullptr);
    std::string symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        const std::string text(line);
        symbols += text.substr(text.rfind(' ') + 1);
    }
    pclose(pipe);
    EXPECT_EQ(symbols, "LibClassDescription\nLibName\nLibNumberClasses\nLibVersion\n");
}

// One line of 'meshconv import': name, points, triangles, bounds.
struct MeshLine {
    std::string name;
    int points = 0;
    int triangles = 0;
    double bounds[6] = {};
};

class IobConvertTest : public pluginsupport::ConfigHomeTest {
  protected:
    IobConvertTest() {
        WriteSettingInt("objread", kSpecificSettings, "obj_mode", 1);
        WriteSettingInt("objread", kCommonSettings, "unify_mode", 0);
    }

    int Run(const std::string& program, const std::vector<std::string>& args) {
        return RunProgram(program, args, temp_.File("out.txt"), temp_.File("err.txt"));
    }
    std::string Out() { return ReadFileBytes(temp_.File("out.txt")); }
    std::string Err() { return ReadFileBytes(temp_.File("err.txt")); }

    std::vector<MeshLine> ImportLines(const std::string& file) {
        EXPECT_EQ(Run(MESHCONV_PROGRAM, {"import", file}), 0) << Err();
        std::vector<MeshLine> lines;
        std::istringstream in(Out());
        std::string text;
        while (std::getline(in, text) && text.rfind("total", 0) != 0) {
            MeshLine m;
            std::istringstream fields(text);
            std::getline(fields, m.name, '\t');
            fields >> m.points >> m.triangles;
            for (double& b : m.bounds) {
                fields >> b;
            }
            lines.push_back(m);
        }
        return lines;
    }

    // The meshes the iobread module hands over for file.
    std::vector<MeshCopy> IobMeshes(const std::string& file) {
        Module module(IOBREAD_MODULE);
        EXPECT_TRUE(module.Loaded());
        auto* importer = static_cast<ImportPlugin*>(module.Descriptor()->CreateInstance());
        std::vector<MeshCopy> meshes;
        {
            CapturedStderr quiet(temp_.File("import-err.txt"));
            meshes = CopyMeshes(*importer->ImportFile(file.c_str()));
        }
        importer->Delete();
        return meshes;
    }

    std::string WriteFile(const std::string& name, const iobtest::Bytes& bytes) {
        WriteFileBytes(temp_.File(name), std::string(bytes.begin(), bytes.end()));
        return temp_.File(name);
    }
};

// Two objects of one hierarchy, the child turned and moved by its axes,
// with the extra chunks.
iobtest::Bytes TwoLevelHierarchy(const std::vector<iobtest::ExtraChunk>& child_extra = {}) {
    const iobtest::ObjectFrame turned{{4, 5, 6}, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
    const iobtest::Geometry fin = iobtest::FromTriangles(
        {{0, 0, 0}, {1.5, 0, 0}, {1.5, 0.25, 0.125}, {0, 2, 0}}, {{0, 1, 2}, {0, 2, 3}});
    iobtest::IffBuilder file("TDDD");
    file.Begin("OBJ ");
    iobtest::AddObject(file, "BODY", iobtest::Cube());
    iobtest::AddObject(file, "FIN", fin, false, &turned, child_extra);
    return file.Chunk("TOBJ", {}).Chunk("TOBJ", {}).End().Build();
}

TEST_F(IobConvertTest, ListAndHelpShowBothPlugins) {
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"list"}), 0) << Err();
    EXPECT_THAT(Out(), HasSubstr("iobread\tIOB Import Lib\tImagine Object (*.iob)\timport\t"));
    EXPECT_THAT(Out(), HasSubstr("iobwrite\tIOB Export Lib\tImagine Object (*.iob)\texport\t"));
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"help", "iobread"}), 0) << Err();
    EXPECT_THAT(Out(), HasSubstr("Imagine object import"));
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"help", "iobwrite"}), 0) << Err();
    EXPECT_THAT(Out(), HasSubstr("Imagine object export"));
}

// OBJ -> iob -> OBJ keeps the meshes, their triangles and their bounds, to
// the 1/65536 of Imagine's fixed-point numbers. The exporter is chosen by
// the output's extension or by --to.
TEST_F(IobConvertTest, ObjToIobToObjKeepsMeshesTrianglesAndBounds) {
    WriteFileBytes(temp_.File("in.obj"),
                   "v 0 0 0\nv 1.5 0 0\nv 1.5 2.25 0\nv 0 2.25 0.125\nv -3.141593 1 2\n"
                   "v 0.1234564 -7.0000004 3\nv 10 10 10\nv 11 10 10.5\nv 10 12 9\n"
                   "o first part\nf 1 2 3 4\nf 1 4 5\nf 5 4 6\n"
                   "o second\nf 7 8 9\nf 9 8 6 5 1\n");
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"convert", temp_.File("in.obj"), temp_.File("mid.iob")}), 0)
        << Err();
    ASSERT_EQ(Run(MESHCONV_PROGRAM,
                  {"convert", temp_.File("mid.iob"), temp_.File("mid.dat"), "--to", "obj"}),
              0)
        << Err();
    std::filesystem::rename(temp_.File("mid.dat"), temp_.File("back.obj"));
    const std::vector<MeshLine> before = ImportLines(temp_.File("in.obj"));
    const std::vector<MeshLine> after = ImportLines(temp_.File("back.obj"));
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t m = 0; m < before.size(); ++m) {
        EXPECT_EQ(after[m].name, before[m].name);
        EXPECT_EQ(after[m].triangles, before[m].triangles) << before[m].name;
        for (int b = 0; b < 6; ++b) {
            EXPECT_NEAR(after[m].bounds[b], before[m].bounds[b], 1.0 / 65536 + 1e-6)
                << before[m].name;
        }
    }
}

// iob -> OBJ -> iob keeps every point and face: the first import puts the
// hierarchy into world coordinates, and those survive OBJ's six decimals
// and the way back to 1/65536 exactly.
TEST_F(IobConvertTest, IobToObjToIobKeepsThePointsAndFaces) {
    const std::string in = WriteFile("in.iob", TwoLevelHierarchy());
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"convert", in, temp_.File("mid.obj")}), 0) << Err();
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"convert", temp_.File("mid.obj"), temp_.File("back.iob")}), 0)
        << Err();
    const std::vector<MeshCopy> before = IobMeshes(in);
    const std::vector<MeshCopy> after = IobMeshes(temp_.File("back.iob"));
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), before.size());
    // The child, turned and moved: (1.5, 0, 0) of its own frame lies at
    // (4, 6.5, 6).
    const auto& fin = before[1].triangles;
    EXPECT_TRUE(std::any_of(fin.begin(), fin.end(), [](const Triangle3d& t) {
        return std::any_of(&t.P0, &t.P0 + 3,
                           [](const Vector3d& p) { return p.x == 4 && p.y == 6.5 && p.z == 6; });
    }));
    for (std::size_t m = 0; m < before.size(); ++m) {
        EXPECT_EQ(after[m].name, before[m].name);
        ASSERT_EQ(after[m].triangles.size(), before[m].triangles.size()) << before[m].name;
        for (std::size_t t = 0; t < before[m].triangles.size(); ++t) {
            const Triangle3d& a = before[m].triangles[t];
            const Triangle3d& b = after[m].triangles[t];
            const Vector3d* pa = &a.P0;
            const Vector3d* pb = &b.P0;
            for (int c = 0; c < 3; ++c) {
                EXPECT_TRUE(pa[c].x == pb[c].x && pa[c].y == pb[c].y && pa[c].z == pb[c].z)
                    << before[m].name << " triangle " << t << " corner " << c;
            }
        }
    }
}

TEST_F(IobConvertTest, CoordinatesBeyondImagineAreRefusedUntilScaled) {
    WriteFileBytes(temp_.File("big.obj"), "o big\nv 0 0 0\nv 50000 0 0\nv 0 1 0\nf 1 2 3\n");
    EXPECT_EQ(Run(MESHCONV_PROGRAM, {"convert", temp_.File("big.obj"), temp_.File("big.iob")}), 1);
    EXPECT_THAT(Err(), HasSubstr("Mesh 'big' reaches 50000"));
    EXPECT_THAT(Err(), HasSubstr("--scale 0.1"));
    EXPECT_FALSE(std::filesystem::exists(temp_.File("big.iob")));
    EXPECT_EQ(Run(MESHCONV_PROGRAM,
                  {"convert", temp_.File("big.obj"), temp_.File("big.iob"), "--scale", "0.1"}),
              0)
        << Err();
    EXPECT_EQ(ImportLines(temp_.File("big.iob")).at(0).bounds[3], 5000.0);
}

// An Imagine object that gives no mesh, damaged or sound, is a failed import:
// meshconv says why, exits 1 and leaves OUT as it was.
TEST_F(IobConvertTest, AnIobThatGivesNoMeshIsNotConverted) {
    iobtest::Bytes cut = iobtest::OneObjectFile("CUBE", iobtest::Cube());
    cut.resize(cut.size() / 2);
    const struct {
        std::string file;
        std::string message;
    } cases[] = {
        {WriteFile("cut.iob", cut), "it is cut short"},
        {WriteFile("bare.iob", iobtest::IffBuilder("TDDD").Build()), "no meshes found in"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(MESHCONV_PROGRAM, {"import", c.file}), 1) << c.file;
        EXPECT_THAT(Err(), HasSubstr(c.message));
        EXPECT_THAT(Out(), Not(HasSubstr("total")));
        WriteFileBytes(temp_.File("out.obj"), "kept\n");
        EXPECT_EQ(Run(MESHCONV_PROGRAM, {"convert", c.file, temp_.File("out.obj")}), 1) << c.file;
        EXPECT_THAT(Err(), HasSubstr(c.message));
        EXPECT_EQ(ReadFileBytes(temp_.File("out.obj")), "kept\n");
        EXPECT_EQ(Run(MESHCONV_PROGRAM, {"convert", c.file, temp_.File("new.c")}), 1) << c.file;
        EXPECT_FALSE(std::filesystem::exists(temp_.File("new.c")));
    }
}

// A file iobwrite wrote holds no paths: Tessvane loads it and finds nothing
// to edit, as for any such file.
TEST_F(IobConvertTest, TessvaneFindsNoPathsInWhatIobwriteWrote) {
    WriteFileBytes(temp_.File("in.obj"), "o tri\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_EQ(Run(MESHCONV_PROGRAM, {"convert", temp_.File("in.obj"), temp_.File("tri.iob")}), 0)
        << Err();
    EXPECT_EQ(Run(TESSVANE_CLI, {"list", temp_.File("tri.iob")}), 1);
    EXPECT_EQ(Err(), temp_.File("tri.iob") + "......No Tex/Brushes\n");
}

// Tessvane moves the child's texture to a longer directory, which grows the
// texture chunk and with it the sizes of the child's DESC, the OBJ and the
// FORM; iobread reads the saved file to the same meshes.
TEST_F(IobConvertTest, IobreadReadsWhatTessvaneSaved) {
    iobtest::Bytes texture(142, 0x11);
    const std::string path = "C:\\TEX\\wood.iff";
    texture.push_back(static_cast<std::uint8_t>(path.size()));
    texture.insert(texture.end(), path.begin(), path.end());
    const std::string in = WriteFile("ship.iob", TwoLevelHierarchy({{"TXT1", texture}}));
    std::filesystem::create_directory(temp_.File("saved"));
    ASSERT_EQ(Run(TESSVANE_CLI, {"batch", "--map-dir", "C:\\TEX=D:\\IMAGINE\\TEXTURES\\WOOD",
                                 "--save-dir", temp_.File("saved"), in}),
              0)
        << Err() << Out();
    const std::string saved = temp_.File("saved/ship.iob");
    ASSERT_NE(ReadFileBytes(saved).find("D:\\IMAGINE\\TEXTURES\\WOOD"), std::string::npos);
    const std::vector<MeshCopy> before = IobMeshes(in);
    const std::vector<MeshCopy> after = IobMeshes(saved);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t m = 0; m < before.size(); ++m) {
        EXPECT_EQ(after[m].name, before[m].name);
        ASSERT_EQ(after[m].triangles.size(), before[m].triangles.size());
        EXPECT_EQ(0, std::memcmp(after[m].triangles.data(), before[m].triangles.data(),
                                 before[m].triangles.size() * sizeof(Triangle3d)));
    }
}

}  // namespace

}  // namespace plugins
