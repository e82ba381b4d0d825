// Reading an Imagine object file: the custom objects of its hierarchies,
// with their points in one world frame, and a count of everything else.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/vector3d.h"

namespace plugins::iobread {

// One object of shape 2 (points, edges and faces) that has faces. Imagine
// keeps an object's points in its own coordinate system, whose origin is
// POSI and whose axes are AXIS; here they are already in world coordinates:
// POSI + x * XAxis + y * YAxis + z * ZAxis. POSI and AXIS are world values
// for every object, children included, so no parent's frame is involved.
struct TdddObject {
    std::string name;  // NAME up to its first zero byte; may be empty
    std::vector<Vector3d> points;
    std::vector<std::array<std::uint32_t, 2>> edges;  // point numbers, unchecked
    std::vector<std::array<std::uint32_t, 3>> faces;  // edge numbers, unchecked
    // Ids of the sub-chunks no mesh can carry (colours, textures, ...), with
    // how often each occurred.
    std::map<std::string, int> dropped;
};

// What the file held besides custom objects with faces.
struct TdddSkipped {
    int lamps = 0;          // objects whose lamp word makes them a light
    int otherShapes = 0;    // spheres, ground, stencils: no points
    int withoutShape = 0;   // no SHP2 or SHAP chunk, which every object needs
    int withoutFaces = 0;   // custom objects with no faces (axes, groups)
    int paths = 0;          // path objects (PTHD, PTH2)
    int forms = 0;          // Forms objects, whose points Imagine computes (FORD)
    int external = 0;       // EXTR chunks naming objects in other files
    int droppedChunks = 0;  // attribute chunks of imported objects
    int otherChunks = 0;    // unknown chunks outside the objects
    int Total() const {
        return lamps + otherShapes + withoutShape + withoutFaces + paths + forms + external;
    }
};

struct TdddContents {
    std::vector<TdddObject> objects;  // in file order
    TdddSkipped skipped;
};

// Reads the size bytes at data as an Imagine object file. Every size, count
// and offset is checked against the bytes held. Returns false, with a
// sentence in error that says what is wrong and where (without the file's
// name), when the bytes are no FORM of type TDDD or when a chunk or a count
// claims more bytes than there are; contents are then incomplete.
bool ReadTddd(const std::uint8_t* data, std::size_t size, TdddContents& contents,
              std::string& error);

// Why a face gave no triangle.
enum class FaceProblem {
    None,
    NotClosed,     // its three edges do not run round one triangle
    MissingIndex,  // it names an edge, or an edge names a point, the object lacks
};

// The three point numbers of face f of object in the order its edges run:
// edges 0 and 1 meet at the second corner, edge 0 starts at the first and
// edge 1 ends at the third, whichever way each edge is stored; edge 2 must
// join the third corner to the first.
FaceProblem FaceCorners(const TdddObject& object, std::size_t f,
                        std::array<std::uint32_t, 3>& corners);

}  // namespace plugins::iobread
