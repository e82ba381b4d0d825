// The reader of Imagine object files: objects into one world frame, faces by
// their edges, the 16- and 32-bit chunks, what is skipped, and damaged files.
#include "iobread/tddd_reader.h"

#include <cmath>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "iob_fixtures.h"

namespace plugins {

namespace {

using iobread::FaceCorners;
using iobread::FaceProblem;
using iobread::ReadTddd;
using iobread::TdddContents;
using iobtest::Bytes;
using iobtest::Geometry;
using iobtest::IffBuilder;
using ::testing::HasSubstr;
namespace chunks = tessvane::testing::chunks;

bool Read(const Bytes& file, TdddContents& contents, std::string& error) {
    return ReadTddd(file.data(), file.size(), contents, error);
}

TdddContents ReadIntact(const Bytes& file) {
    TdddContents contents;
    std::string error;
    EXPECT_TRUE(Read(file, contents, error)) << error;
    return contents;
}

void ExpectNear(const Vector3d& a, const Vector3d& b) {
    EXPECT_NEAR(a.x, b.x, 1e-4);
    EXPECT_NEAR(a.y, b.y, 1e-4);
    EXPECT_NEAR(a.z, b.z, 1e-4);
}

Geometry OneTriangle() {
    return iobtest::FromTriangles({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}, {{0, 1, 2}});
}

// A parent at (10, 0, 0) with the world's axes, holding a child at (0, 5, 0)
// turned a quarter round Z (its X axis is the world's Y). Both keep their
// points in their own frames.
TEST(TdddReaderTest, AHierarchyComesOutInWorldCoordinates) {
    const iobtest::ObjectFrame parent{{10, 0, 0}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const iobtest::ObjectFrame child{{0, 5, 0}, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
    IffBuilder file("TDDD");
    file.Begin("OBJ ");
    iobtest::AddObject(file, "BODY", OneTriangle(), false, &parent);
    iobtest::AddObject(file, "WHEEL", OneTriangle(), false, &child);
    file.Chunk("TOBJ", {}).Chunk("TOBJ", {}).End();

    const TdddContents contents = ReadIntact(file.Build());
    ASSERT_EQ(contents.objects.size(), 2u);
    EXPECT_EQ(contents.objects[0].name, "BODY");
    ExpectNear(contents.objects[0].points[0], {11, 0, 0});
    ExpectNear(contents.objects[0].points[1], {10, 2, 0});
    ExpectNear(contents.objects[0].points[2], {10, 0, 3});
    EXPECT_EQ(contents.objects[1].name, "WHEEL");
    ExpectNear(contents.objects[1].points[0], {0, 6, 0});   // x along the world's Y
    ExpectNear(contents.objects[1].points[1], {-2, 5, 0});  // y along the world's -X
    ExpectNear(contents.objects[1].points[2], {0, 5, 3});
}

TEST(TdddReaderTest, TheThirtyTwoBitChunksReadLikeTheSixteenBitOnes) {
    const Geometry cube = iobtest::Cube();
    const TdddContents narrow = ReadIntact(iobtest::OneObjectFile("CUBE", cube, false));
    const TdddContents wide = ReadIntact(iobtest::OneObjectFile("CUBE", cube, true));
    ASSERT_EQ(narrow.objects.size(), 1u);
    ASSERT_EQ(wide.objects.size(), 1u);
    EXPECT_EQ(wide.objects[0].edges, narrow.objects[0].edges);
    EXPECT_EQ(wide.objects[0].faces, narrow.objects[0].faces);
    ASSERT_EQ(wide.objects[0].points.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        ExpectNear(wide.objects[0].points[i], cube.points[i]);
    }
}

// Edges are unordered pairs of points; the order of a face's edges gives
// its corners, whichever way each edge is stored.
TEST(TdddReaderTest, AFaceFollowsItsEdgesOrIsSkipped) {
    const struct {
        const char* what;
        std::vector<iobtest::Edge> edges;
        iobtest::Face face;
        FaceProblem problem;
        std::array<std::uint32_t, 3> corners;
    } cases[] = {
        {"edges stored along the face",
         {{0, 1}, {1, 2}, {2, 0}},
         {0, 1, 2},
         FaceProblem::None,
         {0, 1, 2}},
        {"edges stored against it",
         {{1, 0}, {2, 1}, {0, 2}},
         {0, 1, 2},
         FaceProblem::None,
         {0, 1, 2}},
        {"edges listed the other way round",
         {{0, 1}, {1, 2}, {2, 0}},
         {2, 1, 0},
         FaceProblem::None,
         {0, 2, 1}},
        {"third edge elsewhere", {{0, 1}, {1, 2}, {2, 3}}, {0, 1, 2}, FaceProblem::NotClosed, {}},
        {"first two edges apart", {{0, 1}, {2, 3}, {1, 2}}, {0, 1, 2}, FaceProblem::NotClosed, {}},
        {"one edge twice", {{0, 1}, {1, 2}}, {0, 0, 1}, FaceProblem::NotClosed, {}},
        {"an edge from a point to itself",
         {{0, 0}, {0, 1}, {1, 0}},
         {0, 1, 2},
         FaceProblem::NotClosed,
         {}},
        {"an edge the object lacks",
         {{0, 1}, {1, 2}, {2, 0}},
         {0, 1, 7},
         FaceProblem::MissingIndex,
         {}},
        {"a point the object lacks",
         {{0, 1}, {1, 9}, {9, 0}},
         {0, 1, 2},
         FaceProblem::MissingIndex,
         {}},
    };
    for (const auto& c : cases) {
        iobread::TdddObject object;
        object.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
        object.edges = c.edges;
        object.faces = {c.face};
        std::array<std::uint32_t, 3> corners{};
        EXPECT_EQ(FaceCorners(object, 0, corners), c.problem) << c.what;
        if (c.problem == FaceProblem::None) {
            EXPECT_EQ(corners, c.corners) << c.what;
        }
    }
}

TEST(TdddReaderTest, WhatIsNoObjectWithFacesIsCountedAndSkipped) {
    const Geometry triangle = OneTriangle();
    const auto node = [&](IffBuilder& file, int shape, int lamp, const char* extra) {
        file.Begin("DESC").Chunk("NAME", chunks::Name("X"));
        if (shape >= 0) {
            file.Chunk("SHP2", iobtest::Shp2(shape, lamp));
        }
        file.Chunk("PNTS", iobtest::Points(triangle.points))
            .Chunk("EDGE", iobtest::Edges(triangle.edges));
        if (extra == nullptr || std::string(extra) != "no faces") {
            file.Chunk("FACE", iobtest::Faces(triangle.faces));
        }
        if (extra != nullptr && std::string(extra) != "no faces") {
            file.Chunk(extra, Bytes(6, 0));
        }
        file.End().Chunk("TOBJ", {});
    };
    IffBuilder file("TDDD");
    file.Chunk("INFO", Bytes(4, 0)).Begin("OBJ ");
    node(file, 2, 2, nullptr);     // a lamp
    node(file, 5, 0, nullptr);     // ground
    node(file, 0, 0, nullptr);     // sphere
    node(file, -1, 0, nullptr);    // no shape at all
    node(file, 2, 0, "no faces");  // an axis
    node(file, 2, 0, "PTH2");      // a path
    node(file, 2, 0, "FORD");      // a Forms object
    node(file, 2, 0, "CLST");      // kept, its colours dropped
    file.Chunk("EXTR", Bytes(4, 0)).End();

    const TdddContents contents = ReadIntact(file.Build());
    EXPECT_EQ(contents.objects.size(), 1u);
    EXPECT_EQ(contents.skipped.lamps, 1);
    EXPECT_EQ(contents.skipped.otherShapes, 2);
    EXPECT_EQ(contents.skipped.withoutShape, 1);
    EXPECT_EQ(contents.skipped.withoutFaces, 1);
    EXPECT_EQ(contents.skipped.paths, 1);
    EXPECT_EQ(contents.skipped.forms, 1);
    EXPECT_EQ(contents.skipped.external, 1);
    EXPECT_EQ(contents.skipped.droppedChunks, 1);
    EXPECT_EQ(contents.skipped.otherChunks, 1);
    ASSERT_EQ(contents.objects.size(), 1u);
    EXPECT_EQ(contents.objects[0].dropped.at("CLST"), 1);
}

// Every count and size is checked against the bytes held: the fixtures
// claim more than they hold, one way each.
TEST(TdddReaderTest, DamagedFilesAreRefusedWithTheReason) {
    const Geometry triangle = OneTriangle();
    Bytes lying_points = iobtest::Points(triangle.points);
    lying_points[1] = 4;  // four points, three held
    Bytes lying_wide_faces = iobtest::Faces(triangle.faces, true);
    lying_wide_faces[0] = 0x40;  // a count near 2^30
    Bytes intact = iobtest::OneObjectFile("T", triangle);
    Bytes cut = intact;
    cut.resize(cut.size() - 10);
    const auto object_with = [&](const char* id, const Bytes& data) {
        return IffBuilder("TDDD")
            .Begin("OBJ ")
            .Begin("DESC")
            .Chunk("NAME", chunks::Name("T"))
            .Chunk("SHP2", iobtest::Shp2(2))
            .Chunk(id, data)
            .End()
            .Chunk("TOBJ", {})
            .End()
            .Build();
    };
    const struct {
        const char* what;
        Bytes file;
        const char* reason;
    } cases[] = {
        {"no FORM", Bytes{'F', 'O', 'R', 'X', 0, 0, 0, 4, 'T', 'D', 'D', 'D'}, "not an Imagine"},
        {"a project file", IffBuilder("ISTG").Build(), "not an Imagine"},
        {"eleven bytes", Bytes(intact.begin(), intact.begin() + 11), "not an Imagine"},
        {"cut short", cut, "cut short"},
        {"a point count beyond the chunk", object_with("PNTS", lying_points),
         "counts 4 points but holds 3"},
        {"a 32-bit face count beyond the chunk", object_with("FAC2", lying_wide_faces),
         "faces but holds 1"},
        {"a shape chunk too short", object_with("SHP2", Bytes{0, 2}), "holds 2 bytes, not 4"},
        {"an axis chunk too short", object_with("AXIS", Bytes(35, 0)), "holds 35 bytes, not 36"},
        {"a count chunk without its count", object_with("EDGE", Bytes{0}), "too short"},
        {"a chunk past its object",
         IffBuilder("TDDD")
             .Begin("OBJ ")
             .Begin("DESC")
             .ChunkRaw("PNTS", 400, iobtest::Points(triangle.points))
             .End()
             .End()
             .Build(),
         "claims 400 bytes"},
        {"an object past its OBJ chunk",
         IffBuilder("TDDD").Begin("OBJ ").ChunkRaw("DESC", 90, Bytes(20, 0)).End().Build(),
         "claims 90 bytes"},
        {"a header cut in half",
         IffBuilder("TDDD").Begin("OBJ ").Raw(Bytes{'D', 'E', 'S', 'C', 0}).End().Build(),
         "cut short"},
    };
    for (const auto& c : cases) {
        TdddContents contents;
        std::string error;
        EXPECT_FALSE(Read(c.file, contents, error)) << c.what;
        EXPECT_THAT(error, HasSubstr(c.reason)) << c.what;
    }
}

// Under the address sanitizer these show that no damage, wherever it falls,
// makes the reader touch a byte the file does not hold: every cut (with the
// FORM's size made to match it, so the walk goes in), and every byte set to
// 0 or to 255, which turns counts, sizes and indices into lies.
TEST(TdddReaderTest, DamageAnywhereIsReadWithinTheBytesHeld) {
    IffBuilder builder("TDDD");
    builder.Begin("OBJ ");
    iobtest::AddObject(builder, "CUBE", iobtest::Cube());
    iobtest::AddObject(builder, "WIDE", iobtest::Cube(), true);
    const Bytes file = builder.Chunk("TOBJ", {}).Chunk("TOBJ", {}).End().Build();
    for (std::size_t n = 13; n < file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        const auto form_size = static_cast<std::uint32_t>(n - 8);
        for (int k = 0; k < 4; ++k) {
            cut[4 + k] = static_cast<std::uint8_t>(form_size >> (24 - 8 * k));
        }
        TdddContents contents;
        std::string error;
        EXPECT_FALSE(Read(cut, contents, error)) << n << " bytes";
    }
    for (std::size_t i = 0; i < file.size(); ++i) {
        for (std::uint8_t value : {0x00, 0xFF}) {
            Bytes damaged = file;
            damaged[i] = value;
            TdddContents contents;
            std::string error;
            if (!Read(damaged, contents, error)) {
                continue;
            }
            for (const iobread::TdddObject& object : contents.objects) {
                for (std::size_t f = 0; f < object.faces.size(); ++f) {
                    std::array<std::uint32_t, 3> corners{};
                    if (FaceCorners(object, f, corners) == FaceProblem::None) {
                        for (std::uint32_t k : corners) {
                            EXPECT_LT(k, object.points.size());
                        }
                    }
                }
            }
        }
    }
}

}  // namespace

}  // namespace plugins
