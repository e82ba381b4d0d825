#include "objread/strings.h"

namespace plugins::objread {

namespace {

const char* const kHelpText =
    "WaveFront OBJ import\n"
    "\n"
    "Reads a WaveFront .obj file and hands its geometry over as triangle\n"
    "meshes. Vertex lines (v) and faces (f) are read; every polygon is cut\n"
    "into triangles, equal points are merged and repeated triangles dropped.\n"
    "Normals, texture coordinates and materials are not read.\n"
    "\n"
    "Verbose: write a log of the import (the file named under Log File Name;\n"
    "a name without a directory is created beside the imported file).\n"
    "\n"
    "Unify: turn the faces of each connected part so that they all face the\n"
    "same way as its highest face, which is turned to face up: a closed\n"
    "surface comes out facing outward.\n"
    "\n"
    "Size Value: every coordinate is multiplied by this number (1.000 keeps\n"
    "the size).\n"
    "\n"
    "Swap Mode: exchange two axes, for instance X <-> Z when the file's up\n"
    "axis differs from yours.\n"
    "\n"
    "Split by: what starts a new mesh. nothing: the whole file is one mesh\n"
    "called default. object, group, smoothing group, usemap, usemtl: each o,\n"
    "g, s, usemap or usemtl line starts (or continues) the mesh of that name;\n"
    "faces before the first such line are skipped. Each \"s off\" line starts\n"
    "a mesh of its own (off_0, off_1, ...).\n";

const PluginStrings kStrings = {kHelpText, "WAV", "Import"};

}  // namespace

const PluginStrings& ObjReadStrings() {
    return kStrings;
}

}  // namespace plugins::objread
