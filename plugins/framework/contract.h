// The contract between a converter host and a converter plug-in.
//
// A host loads a plug-in library, looks up the four exported functions by
// name, and from then on talks to the plug-in only through the class
// descriptor, the plug-in objects and lists of Obj3d pointers declared here.
// This header is all a host needs: everything it calls on these types is
// virtual or inline, so it never links framework code. The plug-ins include
// it too and implement the rest in the framework library. Everything but the
// four exports is in namespace plugins.
//
// Calls arrive one at a time on the host's user-interface thread; no call
// may arrive while a run is in progress.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/memory.h"
#include "framework/vector3d.h"

namespace plugins {
class ClassDescription;
}  // namespace plugins

// ---------------------------------------------------------------------------
// Exported functions (plain C linkage; a plug-in library exports only these)

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// Static name text of the library, such as "WAV Import Lib".
PLUGIN_EXPORT const char* LibName();
// Number of plug-in classes in the library: always 1.
PLUGIN_EXPORT int LibNumberClasses();
// The library's one static descriptor for index 0; null for any other index.
// The descriptor lives as long as the library and is never deleted.
PLUGIN_EXPORT plugins::ClassDescription* LibClassDescription(int index);
// Interface version: always 3.
PLUGIN_EXPORT int LibVersion();

namespace plugins {

class ObjectList;
class LogFile;

// Signatures for looking the exports up with dlsym.
using LibNameFunction = const char* (*)();
using LibNumberClassesFunction = int (*)();
using LibClassDescriptionFunction = ClassDescription* (*)(int);
using LibVersionFunction = int (*)();

inline constexpr int kPluginKindImport = 0x1000;
inline constexpr int kPluginKindExport = 0x1001;

// ---------------------------------------------------------------------------
// Plug-in objects. The operations are virtual functions in the order of their
// slots; new operations may only ever be added after the last slot.

class PluginObject;

// One static instance per library.
class ClassDescription {
  public:
    // Slot 0: always 1.
    virtual int IsEnabled() = 0;
    // Slot 1: a new plug-in object, owned by the caller, who ends it with
    // Delete(). It is an ImportPlugin when PluginKind() is kPluginKindImport
    // and an ExportPlugin when it is kPluginKindExport; static_cast to the
    // kind's class.
    virtual PluginObject* CreateInstance() = 0;
    // Slot 2: static text naming the file type offered to the user, such as
    // "WaveFront (*.obj)".
    virtual const char* ClassName() = 0;
    // Slot 3: kPluginKindImport or kPluginKindExport.
    virtual int PluginKind() = 0;
    // Slot 4: identifier of the class.
    virtual std::uint32_t ClassId() = 0;

  protected:
    ~ClassDescription() = default;
};

// Operations every plug-in object has, in slots 0 to 2.
class PluginObject {
  public:
    // Slot 0: destroys the object and frees its memory (the only way to end
    // one; delete is not allowed on these types).
    virtual void Delete() = 0;
    // Slot 1: shows the plug-in's help.
    virtual void ShowHelp() = 0;
    // Slot 2: lets the user edit the plug-in's settings.
    virtual void Configure() = 0;

  protected:
    ~PluginObject() = default;
};

class ImportPlugin : public PluginObject {
  public:
    // Slot 3: imports the file at path. The result is never null and stays
    // owned by this object: it lives until the next import or Delete(),
    // which delete every mesh in it.
    virtual ObjectList* ImportFile(const char* path) = 0;
    // Slot 4: as ImportFile, with the file chosen by the user. A cancelled
    // choice gives an empty list.
    virtual ObjectList* Import() = 0;
    // Slot 5: file name of the last import (empty before the first one),
    // owned by this object.
    virtual const char* LastFileName() = 0;

  protected:
    ~ImportPlugin() = default;
};

class ExportPlugin : public PluginObject {
  public:
    // Slot 3: writes the meshes of objects (owned by the caller) to a file
    // the user chooses. Elements that are not meshes are skipped; the
    // elements are neither kept nor deleted, but their bounds may change.
    virtual void Export(ObjectList* objects) = 0;

  protected:
    ~ExportPlugin() = default;
};

// ---------------------------------------------------------------------------
// Exchanged objects

inline constexpr int kObjectTypeMesh = 0;

// Base of every object that crosses between host and plug-in.
class Obj3d {
  public:
    // Copies name (null counts as empty); type 0 marks a Mesh3d.
    Obj3d(const char* name, int type);
    // Copying an object is a programming error: it writes
    // "internal error: Obj3d::Obj3d(const Obj3d &) called!" to standard error
    // and ends the process with exit code 1.
    Obj3d(const Obj3d& other);
    Obj3d& operator=(const Obj3d&) = delete;
    // Inline, like every destructor of the exchanged objects: a class whose
    // virtual functions are all inline has its type information wherever it
    // is needed, so a host can check the objects it receives (as the
    // sanitizers do) without linking the framework. Only a plug-in, which
    // creates the objects, ever emits their bodies.
    virtual ~Obj3d() { SafeFree(name); }

    // Objects come from the framework's allocation functions, so running out
    // of memory ends the process instead of throwing.
    static void* operator new(std::size_t size);
    static void operator delete(void* block);

    // Replaces the name with a copy of text (null counts as empty).
    void SetName(const char* text);

    char* name;  // owned heap copy, never null
    int type;
};

// Opaque to hosts: the lookup tables of a mesh in table form.
class VertexTable;
class FaceTable;
class EdgeTable;

// One triangle of the compact form: 0-based indices into the point array.
struct TriangleIndices {
    std::int32_t k0;
    std::int32_t k1;
    std::int32_t k2;
    std::int32_t reserved;  // always 0
};
static_assert(sizeof(TriangleIndices) == 16, "triangles are stored as four packed ints");

// Called by UnifyOrientation with the number of faces oriented so far and
// the face count.
using UnifyProgressFunction = void (*)(unsigned int done, unsigned int total);

// A triangle mesh of type 0 with two forms:
//  - table form: vertices, faces and edges exist and merge equal points,
//    triangles and edges as triangles are added;
//  - compact form: points and triangles exist, the tables are null.
// A mesh goes from table form through Compact (both forms) and FreeTables to
// compact form, and back through Expand. Hosts only ever see compact form.
class Mesh3d : public Obj3d {
  public:
    // An empty mesh in table form. The capacity hint n (taken as 1 when
    // smaller) sizes the tables and their fixed bucket counts: a hint near
    // the final triangle count keeps lookups short. A hint above 2^31 - 1
    // ends the process with exit code 1.
    Mesh3d(std::uint64_t n, const char* name);
    // Copying ends the process as for Obj3d.
    Mesh3d(const Mesh3d& other) : Obj3d(other) {}
    ~Mesh3d() override {
        FreeTables();
        if (points != nullptr) {
            SafeFree(points);
        }
        if (triangles != nullptr) {
            SafeFree(triangles);
        }
    }

    // Adds the triangle (P0, P1, P2) to the tables and extends the bounds by
    // its corners. Points within NearlyEqual of a stored point in the same
    // hash bucket become that vertex; a triangle over the same three
    // vertices as an existing face, in any order, is that face again.
    // Does nothing unless the mesh is in table form.
    void AddTriangle(const Triangle3d& t);
    // Points of face i in its stored winding; all corners (0, 0, 0) when the
    // mesh has no tables or i is not a face number.
    Triangle3d GetTriangle(int i) const;
    // Writes the statistics block (name, face and vertex counts, bounds) to
    // log when the mesh has its vertex and face tables.
    void WriteStatistics(LogFile& log) const;
    // Deletes the tables that exist; the compact arrays stay.
    void FreeTables();

    // Table form to compact form: fills points and triangles from the
    // tables, which stay. Returns the number of triangles copied, 0 when the
    // mesh lacks its vertex or face table. Arrays from an earlier Compact
    // are replaced.
    int Compact();
    // Compact form to table form: adds every triangle of the compact arrays
    // with AddTriangle, so duplicates merge and unused points disappear; the
    // bounds are extended, not reset. A triangle with an index outside the
    // point array is skipped. Does nothing when any table exists or an array
    // is missing. The compact arrays stay as they are.
    void Expand();
    // Multiplies every table point and both bounds by factor (nothing happens
    // for exactly 1.0). A negative factor leaves min <= max.
    void ScaleMesh(double factor);
    // Exchanges the two coordinates that mode names in every table point and
    // in the bounds; SwapMode::None changes nothing.
    void SwapAxes(SwapMode mode);
    // Gives the faces of each edge-connected part a consistent winding. Each
    // part starts from a seed, the highest remaining face by centroid whose
    // normal is not horizontal (the lowest-numbered remaining face when none
    // lies strictly higher than that one), which is turned to face up
    // (FaceNormal z not below 0), so a closed surface faces outward; the
    // winding then spreads across every edge that holds
    // two faces. On surfaces that cannot be wound consistently (a Moebius
    // strip, edges with more than two faces) the outcome is that of sweeping
    // the edges in number order pass after pass. Runs in about
    // (faces + edges) log faces. progress, which may be null, is called
    // with the faces oriented so far before each part, and once at the end
    // with (face count, face count).
    void UnifyOrientation(UnifyProgressFunction progress);

    int boundsUnset;  // 1 until the first point is added
    VertexTable* vertices;
    FaceTable* faces;
    EdgeTable* edges;
    Vector3d* points;            // pointCount points; null until Compact
    TriangleIndices* triangles;  // triangleCount triangles; null until Compact
    int pointCount;
    int triangleCount;
    Vector3d min;  // component-wise bounds of every point added
    Vector3d max;
    Matrix4d transform;  // identity
};

// ---------------------------------------------------------------------------
// A singly linked list of object pointers. The list owns its nodes; whether
// it owns the objects is decided by its release function, which Destroy()
// calls for every element. The list is inline so that hosts, which link no
// framework code, can both read the lists they receive and build the ones
// they hand to exporters. Like every allocation of the plug-ins, a node that
// cannot be allocated ends the process with exit code 1.

using ObjectReleaseFunction = void (*)(Obj3d* object);

struct ObjectListNode {
    Obj3d* object;
    ObjectListNode* next;
};

class ObjectList {
  public:
    // An empty list whose release function is release (may be null).
    explicit ObjectList(ObjectReleaseFunction release = nullptr) { Init(release); }
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    // Destroys the list, releasing its elements.
    ~ObjectList() { Destroy(); }

    // Makes the list empty with the given release function, without
    // releasing anything it held.
    void Init(ObjectReleaseFunction releaseFunction) {
        head = nullptr;
        tail = nullptr;
        count = 0;
        release = releaseFunction;
    }

    // Appends object (never null) at the tail.
    void Append(Obj3d* object) {
        auto* node = static_cast<ObjectListNode*>(std::malloc(sizeof(ObjectListNode)));
        if (node == nullptr) {
            std::exit(1);
        }
        node->object = object;
        node->next = nullptr;
        if (tail != nullptr) {
            tail->next = node;
        } else {
            head = node;
        }
        tail = node;
        ++count;
    }

    // Calls the release function on every element from head to tail, frees
    // the nodes and leaves the list empty without a release function.
    void Destroy() {
        ObjectListNode* node = head;
        while (node != nullptr) {
            ObjectListNode* next = node->next;
            if (release != nullptr) {
                release(node->object);
            }
            std::free(node);
            node = next;
        }
        Init(nullptr);
    }

    int Count() const { return count; }

    // The i-th element from the head; null when i is out of range.
    Obj3d* Get(int i) const {
        if (i < 0 || i >= count) {
            return nullptr;
        }
        const ObjectListNode* node = head;
        for (; i > 0 && node != nullptr; --i) {
            node = node->next;
        }
        return node != nullptr ? node->object : nullptr;
    }

    ObjectListNode* head;
    ObjectListNode* tail;
    int count;
    ObjectReleaseFunction release;
};

// The importers' release rule: deletes meshes (type 0), leaves all else.
void ReleaseMeshObject(Obj3d* object);

}  // namespace plugins
