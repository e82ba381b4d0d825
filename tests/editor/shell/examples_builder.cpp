#include "examples_builder.h"

namespace tessvane::testing {
namespace {

// A spaceship as saved on a PC: textures and brushes under the Imagine
// directory, written in two letter cases, descriptions in TXT4 and BRS5.
Bytes Spaceship() {
    return IffBuilder("TDDD")
        .Begin("OBJ ")
        .Begin("DESC")
        .Chunk("NAME", chunks::Name("HULL"))
        .Chunk("TXT4", chunks::Txt4("PLATES", "Rusty Metal", "C:\\IMAGINE\\TEXTURES\\rust.itx"))
        .Chunk("BRS1", chunks::Brs1("C:\\Imagine\\Brushes\\hull.iff"))
        .Chunk("BRS5", chunks::Brs5("WINGS", "Panel lines", "c:\\imagine\\brushes\\panels.iff"))
        .End()
        .Begin("DESC")
        .Chunk("NAME", chunks::Name("ENGINE"))
        .Chunk("TXT4", chunks::Txt4("", "Blue Glow", "C:\\IMAGINE\\TEXTURES\\glow.itx"))
        .Chunk("BRS3", chunks::Brs3("NOZZLE", "D:\\Maps\\exhaust.tga"))
        .Chunk("TXT1", chunks::Txt1("C:\\IMAGINE\\TEXTURES\\stars.itx"))
        .End()
        .Chunk("TOBJ", {})
        .Chunk("TOBJ", {})
        .End()
        .Build();
}

// A landscape from the Amiga: volume names and '/' separators, and paths
// relative to the Imagine directory.
Bytes Terrain() {
    return IffBuilder("TDDD")
        .Begin("OBJ ")
        .Begin("DESC")
        .Chunk("NAME", chunks::Name("GROUND"))
        .Chunk("BRS2", chunks::Brs2("DH0:Brushes/rock.iff"))
        .Chunk("BRS4", chunks::Brs4("CLIFFS", "DH0:Brushes/cliff.iff"))
        .Chunk("TXT2", chunks::Txt2("GRASS", "Textures/grass.itx"))
        .Chunk("TXT3", chunks::Txt3("SNOW", "Textures/snow.itx"))
        .End()
        .Chunk("TOBJ", {})
        .End()
        .Build();
}

// A project: actors loaded from object files and one effect; no NAME chunk.
Bytes Scene() {
    return IffBuilder("ISTG")
        .Chunk("FIL3", chunks::Fil3("SHIP", "C:\\IMAGINE\\OBJECTS\\spaceship.iob"))
        .Chunk("FIL3", chunks::Fil3("LAND", "C:\\IMAGINE\\OBJECTS\\terrain.iob"))
        .Chunk("S2FX", chunks::Effect("C:\\IMAGINE\\EFFECTS\\explode", {0, 1, 0, 2}))
        .Build();
}

}  // namespace

std::vector<std::pair<std::string, Bytes>> BuildExamples() {
    return {
        {"spaceship.iob", Spaceship()},
        {"terrain.iob", Terrain()},
        {"scene.ist", Scene()},
    };
}

}  // namespace tessvane::testing
