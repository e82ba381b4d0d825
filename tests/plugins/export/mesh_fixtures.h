// Meshes and list helpers for the exporter tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/mesh.h"
#include "framework/progress.h"

namespace plugins::exporttest {

// Owns a mesh made by the builders below.
using MeshPtr = std::unique_ptr<Mesh3d>;

// A mesh in table form holding the triangles in order.
Mesh3d* MakeTableMesh(const char* name, const std::vector<Triangle3d>& triangles);

// The same mesh turned into compact form, as a host hands it to an exporter.
Mesh3d* MakeCompactMesh(const char* name, const std::vector<Triangle3d>& triangles);

// The triangle (0,0,0), (1,0,0), (0,1,0), normal (0, 0, -1).
std::vector<Triangle3d> SingleTriangle();

// The unit cube [0,1]^3 as 12 triangles, two per side, wound so that every
// face normal points out of the cube.
std::vector<Triangle3d> CubeTriangles();

// A height field of n x n quads with uneven heights: many different angles
// between neighbouring faces.
std::vector<Triangle3d> BumpyGrid(int n);

// An object of a type the exporters do not handle.
Obj3d* MakeOtherObject(const char* name);

// A list that deletes its elements (meshes and others) when destroyed.
void DeleteAnyObject(Obj3d* object);

// A callbacks table that records every status text (formatted) and counts
// the progress reports, for one test at a time.
ProgressCallbacks RecordingCallbacks();
std::vector<std::string>& RecordedStatus();
long& RecordedProgressCalls();
void ClearRecording();

}  // namespace plugins::exporttest
