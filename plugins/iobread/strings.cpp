#include "iobread/strings.h"

namespace plugins::iobread {

namespace {

const char* const kHelpText =
    "Imagine object import\n"
    "\n"
    "Reads an Imagine object file (.iob, from the Amiga, DOS or Windows\n"
    "versions of Imagine) and hands every object with faces over as a\n"
    "triangle mesh named after the object. The objects of a group become\n"
    "one mesh each, all in one world frame: each object's points are placed\n"
    "by its position and axes.\n"
    "\n"
    "Lamps, spheres, ground, paths, Forms objects and objects without faces\n"
    "are skipped, and so are faces whose edges do not close a triangle; the\n"
    "log counts them. Colours, textures, brushes and the other attributes\n"
    "are not carried over.\n"
    "\n"
    "Verbose: write a log of the import (the file named under Log File Name;\n"
    "a name without a directory is created beside the imported file).\n"
    "\n"
    "Unify: turn the faces of each connected part so that they all face the\n"
    "same way. On until you turn it off: Imagine's faces carry no reliable\n"
    "winding.\n"
    "\n"
    "Size Value: every coordinate is multiplied by this number (1.000 keeps\n"
    "the size).\n"
    "\n"
    "Swap Mode: exchange two axes. Imagine's up axis is Z; Y <-> Z suits\n"
    "programs whose up axis is Y.\n";

const PluginStrings kStrings = {kHelpText, "IOB", "Import"};

}  // namespace

const PluginStrings& IobReadStrings() {
    return kStrings;
}

}  // namespace plugins::iobread
