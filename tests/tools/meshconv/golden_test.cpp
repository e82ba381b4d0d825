// The converters' results on a generated model shaped like real exports
// (n-gons, concave polygons, many groups, materials, six-decimal
// coordinates), pinned by SHA-256: what meshconv import prints and the files
// objwrite and glwrite write, under every split mode. Any change to a result
// fails here; when a change is meant, the failure names the new digest for
// the table.
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "realistic_obj.h"
#include "support/sha256.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

using pluginsupport::ReadFileBytes;
using pluginsupport::Sha256Hex;

TEST(Sha256, GivesTheStandardsDigests) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha256Hex(c.input), c.digest) << c.input.size() << " bytes";
    }
}

struct GoldenCase {
    const char* name;
    const char* command;  // import or convert
    const char* output;   // the file written, or null for what import prints
    std::vector<std::string> options;
    const char* digest;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

// Settings every run states before its own, so that nothing stored by an
// earlier run counts.
const std::vector<std::string> kPlain = {"--scale", "1", "--swap", "none", "--no-log"};

GoldenCase Import(const char* name, const char* split, const char* digest) {
    return {name, "import", nullptr, {"--split", split, "--unify"}, digest};
}

GoldenCase Convert(const char* name, const char* out, std::vector<std::string> options,
                   const char* digest) {
    return {name, "convert", out, std::move(options), digest};
}

std::vector<std::string> Smooth70(const char* split) {
    return {"--split", split, "--unify", "--smooth", "70", "--line-ends", "unix", "--quiet"};
}

const GoldenCase kCases[] = {
    Import("ImportNothing", "nothing",
           "c135f9cfb840679be914241738408000510d4797bad6a8795eabbdc0a898b51c"),
    Import("ImportObject", "object",
           "a2eef623c58901728805ebcda61783888ceefb3191addea9d84a71c4ac9bc2bb"),
    Import("ImportGroup", "group",
           "bbc1946227992fc9d53d8553d237b00977a64da706fbcf26917e96a9b4d888af"),
    Import("ImportSmoothing", "smoothing",
           "c652710dcc0f41f248634d3886094f7ebffb00d1c5647cf735f675d210b4d4c4"),
    Import("ImportUsemap", "usemap",
           "175fbf108bf74eb4f724c96a2b5e463d57d0aec91d5b9b9587fadee7450adf8b"),
    Import("ImportUsemtl", "usemtl",
           "a058c35097efeb6b7351d2789983e80f00cb4d279d19acd14a0e8edc8c57a87e"),
    Convert("ObjNothing", "out.obj", Smooth70("nothing"),
            "2f4d69e579d27cfc99deddc37d45f305161396a66dae53bbd43291f3bd5c2bfb"),
    Convert("ObjObject", "out.obj", Smooth70("object"),
            "3e8bc822d6e9fc89a179778bbdd9e431193483e3765e99a8475e17ff02b8f332"),
    Convert("ObjGroup", "out.obj", Smooth70("group"),
            "d3ec96986b6343084ce82339fc1ff70e5043c0293c2874fb62d9821bbaf7e326"),
    Convert("ObjSmoothing", "out.obj", Smooth70("smoothing"),
            "663e0c1d0d9b7a37764249cdc0964413b925da4340a0bba3622c044654f9e625"),
    Convert("ObjUsemap", "out.obj", Smooth70("usemap"),
            "f74aed08a3f74698b965358bc19ba7c4bd7ab769006012966593096d31d9be29"),
    Convert("ObjUsemtl", "out.obj", Smooth70("usemtl"),
            "8f9a5b2f6a5843ac53171c0077e18731d10642adf1479415100d24b9430b8dbd"),
    Convert("CNothing", "out.c", Smooth70("nothing"),
            "a7a12692ed8dcb3528a9059f78c6a6cda75e22272ba25c9db7f1e6dc20252385"),
    Convert("CObject", "out.c", Smooth70("object"),
            "29e603177c15cc8b2f14046b354e161f9a22649d290e63cda2868bc0b1e76e92"),
    Convert("CGroup", "out.c", Smooth70("group"),
            "7331b0fe89a4ddab49da319ab58152e808884d654c6e01c63c2fd34dfdd7e1e7"),
    Convert("CSmoothing", "out.c", Smooth70("smoothing"),
            "82d7875f91532945e3b8cd1fd49925ab471ca900faae2b97783aa083fa05fff5"),
    Convert("CUsemap", "out.c", Smooth70("usemap"),
            "f2984a18f906aa538a018230f33a307747fd065fcab71e56a0e06cb4a48a49d7"),
    Convert("CUsemtl", "out.c", Smooth70("usemtl"),
            "0c19945e251f42a28f190199f56a57056776c7ca8647eafd97f92bc082ce1592"),
    // Without orientation repair, scaled and swapped, flat, other line ends.
    Convert("ObjObjectAsWritten", "out.obj",
            {"--split", "object", "--no-unify", "--smooth", "70", "--line-ends", "unix", "--quiet"},
            "82d5eedd5b9e1e1c15ed883fe51c10d5491c4c353ed1d766949ffc0b13e41e84"),
    Convert("ObjScaledSwappedDos", "out.obj",
            {"--split", "object", "--no-unify", "--scale", "2.5", "--swap", "xz", "--smooth", "30",
             "--line-ends", "dos", "--quiet"},
            "61e287e7788fbe549d0fb1a4a618fa36f64fb13a7288bc994588c2d03bbb7e01"),
    Convert("CFlatMac", "out.c",
            {"--split", "group", "--unify", "--smooth", "0", "--line-ends", "mac", "--quiet"},
            "8a97656317875b8b753fc6d80d79de082594fe57f09d42092e1e3b6d7735d95c"),
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

class GoldenTest : public pluginsupport::ConfigHomeTest,
                   public ::testing::WithParamInterface<GoldenCase> {
  protected:
    // One model for all cases of a process, about 20,000 triangles.
    static void SetUpTestSuite() {
        model_dir_ = std::make_unique<pluginsupport::TempDir>();
        objbench::GenerateRealisticObj(model_dir_->File("model.obj"), 20000);
    }
    static void TearDownTestSuite() { model_dir_.reset(); }

    static std::unique_ptr<pluginsupport::TempDir> model_dir_;
};

std::unique_ptr<pluginsupport::TempDir> GoldenTest::model_dir_;

// The model itself: when this fails, the generator changed, not the
// converters, and every digest below has to be made again.
TEST_F(GoldenTest, ModelKeepsItsDigest) {
    EXPECT_EQ(Sha256Hex(ReadFileBytes(model_dir_->File("model.obj"))),
              "6757fa73b9990f7db97cac7381480c222299bff630959510133bddc0aa018cbf");
}

TEST_P(GoldenTest, ResultKeepsItsDigest) {
    const GoldenCase& c = GetParam();
    std::string command = "cd " + Quote(temp_.path().string()) + " && " + Quote(MESHCONV_PROGRAM) +
                          " " + c.command + " " + Quote(model_dir_->File("model.obj"));
    if (c.output != nullptr) {
        command += " ";
        command += c.output;
    }
    for (const std::vector<std::string>* list : {&kPlain, &c.options}) {
        for (const std::string& option : *list) {
            command += " " + Quote(option);
        }
    }
    command += " </dev/null >stdout 2>stderr";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << command << "\n"
        << ReadFileBytes(temp_.File("stderr"));
    const std::string result = ReadFileBytes(temp_.File(c.output != nullptr ? c.output : "stdout"));
    ASSERT_FALSE(result.empty());
    const std::string digest = Sha256Hex(result);
    EXPECT_EQ(digest, c.digest) << "the result changed; if that is meant, the table takes\n"
                                << "new digest " << c.name << " " << digest;
}

INSTANTIATE_TEST_SUITE_P(RealisticModel, GoldenTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

}  // namespace plugins
