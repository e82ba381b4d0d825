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
            "8b9a3a441f66276fc9723ba953c463d51719494154e7c6a0917bb34e042d489b"),
    Convert("ObjObject", "out.obj", Smooth70("object"),
            "12bf5686c1440385da100cf1695b1c9ef41513ffad282cff98c945d984233d3c"),
    Convert("ObjGroup", "out.obj", Smooth70("group"),
            "170a98a140fa41011be9c008403b862ccc0442edeb796ab7f830c92fe5c77bfa"),
    Convert("ObjSmoothing", "out.obj", Smooth70("smoothing"),
            "04ed7b852888ce222399f359bf399013a71c2737d70c69a94a7bc26346bb9473"),
    Convert("ObjUsemap", "out.obj", Smooth70("usemap"),
            "31d640771304c524adae7cffa0603110bceb6f691f7bf2ba7b8dabd1a52ca02b"),
    Convert("ObjUsemtl", "out.obj", Smooth70("usemtl"),
            "be4f9d9d3e35a5f64c6a63114f9de2bd73e745ac8bb7f97532bf7051dcfda7a7"),
    Convert("CNothing", "out.c", Smooth70("nothing"),
            "335cdd681eb09ba042c34df6a95034791250fec8722e9ec524870e7c997f5e6b"),
    Convert("CObject", "out.c", Smooth70("object"),
            "5d63802fd96a0f8b48664a017841ca1c0211f906be52db282472db5ee0ba02a5"),
    Convert("CGroup", "out.c", Smooth70("group"),
            "8c8602ceb3c8ff328b085d3c79db7a647da5b57e4bc710e4ab862a753c091a9f"),
    Convert("CSmoothing", "out.c", Smooth70("smoothing"),
            "8ee5fe59aef1bad79a7554561b3f3ce1328e755f6296e003e1d99115ab4b42b1"),
    Convert("CUsemap", "out.c", Smooth70("usemap"),
            "42664ed19543f7067dd8e4565bb3803c4ed62e5a622ccf0ad51342afbde105cd"),
    Convert("CUsemtl", "out.c", Smooth70("usemtl"),
            "27920b39386bf868592d1e25f44e9440f734f6fcfa8cd7636022754ccf035285"),
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
            "7b688126d9a8bfe7d544101cff4b53001c643edaeaea5a2284e721ed159491c0"),
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
