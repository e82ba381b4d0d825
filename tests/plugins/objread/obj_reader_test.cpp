// Vertex and face lines on their own, straight into a mesh.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/contract.h"
#include "framework/mesh_tables.h"
#include "objread/obj_reader.h"

namespace plugins {

namespace {

using objread::ParseFaceLine;
using objread::ParseVertexLine;

std::vector<Vector3d> Vertices(int n) {
    // Points on a parabola: no three are collinear.
    std::vector<Vector3d> v;
    for (int i = 0; i < n; ++i) {
        v.push_back({static_cast<double>(i), static_cast<double>(i * i), 0.0});
    }
    return v;
}

// The faces of the mesh as the file's 1-based vertex numbers, in stored
// order, found by position among vertices.
std::vector<std::vector<int>> FaceNumbers(const Mesh3d& mesh,
                                          const std::vector<Vector3d>& vertices) {
    std::vector<std::vector<int>> faces;
    for (int f = 0; f < mesh.faces->Count(); ++f) {
        const Triangle3d t = mesh.GetTriangle(f);
        std::vector<int> numbers;
        for (const Vector3d& p : {t.P0, t.P1, t.P2}) {
            for (std::size_t i = 0; i < vertices.size(); ++i) {
                if (NearlyEqual(vertices[i], p)) {
                    numbers.push_back(static_cast<int>(i) + 1);
                    break;
                }
            }
        }
        faces.push_back(numbers);
    }
    return faces;
}

TEST(ParseFaceLine, CornerFormsNumberingAndDroppedCorners) {
    struct Case {
        const char* text;  // after the leading 'f'
        std::vector<std::vector<int>> faces;
    };
    // Eight vertices have been read; a triangle (a, b, c) is stored as (c, b, a).
    const Case cases[] = {
        {" 1 2 3", {{3, 2, 1}}},
        {" 1/1/1 2/2/2 3/3/3", {{3, 2, 1}}},
        {" 1//1 2//2 3//3", {{3, 2, 1}}},
        {" 1/1 2/1 3/1", {{3, 2, 1}}},
        {" 1  2   3 ", {{3, 2, 1}}},  // empty tokens are skipped
        {" 1 x 2 3", {{3, 2, 1}}},    // so is a token without a number
        {" -3 -2 -1", {{8, 7, 6}}},   // relative: -1 is the latest vertex
        {" 6/1/1 -2/5 -1//2", {{8, 7, 6}}},
        {" 1 2 9", {}},                      // forward reference dropped: two corners remain
        {" 0 1 2 3", {{3, 2, 1}}},           // 0 names no vertex
        {" -9 1 2 3", {{3, 2, 1}}},          // nor does a number before the first vertex
        {" 2147483648 1 2 3", {{3, 2, 1}}},  // nor one beyond 32 bits
        {" 1 2", {}},
        {"1 2 3", {}},  // text up to the first blank is not a corner
        {"", {}},
        {" 1\t2\t3", {}},             // tabs do not separate
        {" \t1 2 +3", {{3, 2, 1}}},   // but come before a token's number
        {" 1 2 \t 3", {{3, 2, 1}}},   // a token of a tab alone is no corner,
        {" 1 2 \t", {}},              // nor does it count as one
        {" 1 2 - 3/-", {{3, 2, 1}}},  // a sign alone is no number
        {" 1 2 3 4", {{3, 2, 1}, {4, 3, 1}}},
    };
    const std::vector<Vector3d> vertices = Vertices(8);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("f") + c.text);
        Mesh3d mesh(16, "m");
        ParseFaceLine(c.text, vertices, mesh);
        EXPECT_EQ(FaceNumbers(mesh, vertices), c.faces);
    }
}

TEST(ParseFaceLine, CollinearCornersAddNothing) {
    const std::vector<Vector3d> line = {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    Mesh3d mesh(16, "m");
    ParseFaceLine(" 1 2 3", line, mesh);
    ParseFaceLine(" 1 2 3 4", line, mesh);
    EXPECT_EQ(mesh.faces->Count(), 0);
}

TEST(ParseFaceLine, StoredFaceNormalIsTheFilesRightHandedNormal) {
    const std::vector<Vector3d> v = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    Mesh3d mesh(16, "m");
    ParseFaceLine(" 1 2 3", v, mesh);  // counter-clockwise seen from +z
    const Vector3d n = FaceNormal(mesh.GetTriangle(0));
    EXPECT_DOUBLE_EQ(n.z, 1.0);
}

TEST(ParseVertexLine, AppendsExactlyOneVertexPerLine) {
    struct Case {
        const char* text;  // after the leading 'v'
        Vector3d expected;
    };
    const Case cases[] = {
        {" 1 2 3", {1, 2, 3}}, {" 1 2 3 4", {1, 2, 3}}, {" -1.5e2\t0x10 .25", {-150, 16, 0.25}},
        {" 1 2", {1, 2, 0}},                             // missing components are 0
        {" ", {0, 0, 0}},      {" 1 abc 3", {1, 0, 0}},  // reading stops at the first failure
    };
    std::vector<Vector3d> vertices;
    for (const Case& c : cases) {
        ParseVertexLine(c.text, vertices);
    }
    ASSERT_EQ(vertices.size(), std::size(cases));
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        SCOPED_TRACE(cases[i].text);
        EXPECT_EQ(vertices[i].x, cases[i].expected.x);
        EXPECT_EQ(vertices[i].y, cases[i].expected.y);
        EXPECT_EQ(vertices[i].z, cases[i].expected.z);
    }
}

TEST(FindOrAddGroup, ExactNamesInOrderOfFirstAppearance) {
    objread::ObjGroupList groups;
    objread::ObjGroup& a = objread::FindOrAddGroup("a", groups);
    objread::FindOrAddGroup("b", groups);
    objread::FindOrAddGroup("a ", groups);  // trailing blank: another group
    EXPECT_EQ(&objread::FindOrAddGroup("a", groups), &a);
    ASSERT_EQ(groups.Count(), 3u);
    EXPECT_EQ(groups.Get(0).name, "a");
    EXPECT_EQ(groups.Get(1).name, "b");
    EXPECT_EQ(groups.Get(2).name, "a ");
    EXPECT_EQ(groups.Get(1).mesh, nullptr);
}

}  // namespace

}  // namespace plugins
