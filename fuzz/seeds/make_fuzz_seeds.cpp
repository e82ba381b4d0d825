// Writes the seed corpus of every fuzz target into <root>/<target>/, built by
// the same fixture builders the tests use, so each target starts from files
// that exercise its reader's main paths. Usage: make_fuzz_seeds <corpus root>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "framework/settings_store.h"
#include "iff_builder.h"
#include "iob_fixtures.h"
#include "obj_fixtures.h"
#include "state/editor_state.h"
#include "state/settings_file.h"

namespace fs = std::filesystem;
using namespace plugins;
using namespace tessvane;
using namespace tessvane::testing;

namespace {

fs::path g_root;

void Put(std::string_view target, std::string_view name, std::string_view bytes) {
    const fs::path dir = g_root / target;
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", (dir / name).c_str());
        std::exit(1);
    }
}

void Put(std::string_view target, std::string_view name, const Bytes& bytes) {
    Put(target, name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void ObjectFiles() {
    Put("object_file", "object-textures-brushes.iob",
        IffBuilder("TDDD")
            .Begin("OBJ ")
            .Begin("DESC")
            .Chunk("NAME", chunks::Name("CUBE"))
            .Chunk("TXT1", chunks::Txt1("C:\\TEX\\wood.iff"))
            .Chunk("TXT4", chunks::Txt4("LID", "Oak", "DH0:Textures/oak.itx"))
            .Chunk("BRS1", chunks::Brs1("brushes\\stone.iff"))
            .Chunk("BRS5", chunks::Brs5("SIDE", "Rough", "C:\\BRUSH\\rock.tga"))
            .Chunk("ZZZZ", Bytes{1, 2, 3, 4, 5, 6, 7})
            .End()
            .Begin("DESC")
            .Chunk("NAME", chunks::Name("LID"))
            .Chunk("TXT2", chunks::Txt2("TOP", "wood.iff"))
            .Chunk("TXT3", chunks::Txt3("RIM", "/home/ann/tex/metal.itx"))
            .Chunk("BRS2", chunks::Brs2("DH0:b.iff"))
            .Chunk("BRS3", chunks::Brs3("EDGE", "C:\\b3.iff"))
            .Chunk("BRS4", chunks::Brs4("CAP", "b4.iff"))
            .End()
            .Chunk("TOBJ", {})
            .Chunk("TOBJ", {})
            .End()
            .Build());
    Put("object_file", "project-objects-effects.ist",
        IffBuilder("ISTG")
            .Chunk("FIL3", chunks::Fil3("ACTOR1", "C:\\OBJECTS\\ship.iob"))
            .Chunk("FIL3", chunks::Fil3("ACTOR2", "DH0:Objects/planet.iob"))
            .Chunk("SPFX", chunks::Effect("FIRE", Bytes{9, 8, 7, 6}))
            .Chunk("S4FX", chunks::Effect("C:\\FX\\smoke.fx", {}))
            .Chunk("PTFN", chunks::Ptfn("C:\\PARTS\\spark.iob"))
            .Build());
    Put("object_file", "particle-groups.iob",
        IffBuilder("TDDD")
            .Begin("OBJ ")
            .Begin("DESC")
            .Chunk("FGR2", chunks::Fgr2(2, "DUST", 9, "dust.iob"))
            .Chunk("FGR3", chunks::Fgr3(1, "RAIN", 0x19, "C:\\P\\drop.iob"))
            .Chunk("FGR3", chunks::Fgr3(1, "NOPE", 5, "not-a-path.iob"))
            .Chunk("FGR4", chunks::Fgr4(3, "SNOW", 9, "DH0:flake.iob"))
            .End()
            .Chunk("TOBJ", {})
            .End()
            .Build());
    // A filler chunk, an odd opaque chunk and one that claims bytes past the FORM.
    Put("object_file", "filler-and-overlong.iob",
        IffBuilder("TDDD")
            .Begin("OBJ ")
            .Begin("DESC")
            .Chunk("    ", Bytes(6, 0))
            .Chunk("COLR", Bytes{1, 2, 3})
            .Chunk("TXT1", chunks::Txt1("a//b.iff"))
            .End()
            .Chunk("TOBJ", {})
            .End()
            .ChunkRaw("LONG", 4000, Bytes{1, 2, 3, 4})
            .Build());
    // Cut short inside a path chunk.
    Bytes cut = IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("C:\\TEX\\cut.iff")).Build();
    cut.resize(cut.size() - 5);
    Put("object_file", "cut-short.iob", cut);
}

void SettingsFiles() {
    EditorContext editor = MakeEditorContext("/opt/tessvane/");
    Settings& s = editor.settings;
    s.Computer = ComputerType::Amiga;
    s.ValidateFiles = s.UseShortDirectory = s.GenerateLog = s.BatchUseDefaultDirectories = true;
    s.PromptForNewTexturesDirectory = true;
    s.CreateBackups = false;
    s.TextureSuffixSelection = kTextureSuffixDll;
    s.BrushSuffixSelection = 11;
    s.BrushSuffix = "tif";
    s.ImagineDirectory = "C:\\PROGRA~1\\IMAGINE";
    editor.directoryDefaults.Append({PathText("C:\\IMAGINE\\TEXTURES"), PathText("DH0:Textures")});
    editor.directoryDefaults.Append({PathText("a,b"), PathText(" c")});
    editor.textureDefaults.Append(
        {NameText("wood.iff"), NameText("oak.itx"), DescriptionText("Oak, dark")});
    Put("settings_file", "full.ini", SettingsFileText(editor));
    Put("settings_file", "hand-edited.ini",
        "; notes\n[vane]\ncomputer=amiga\n   Use Default Directories=yes\nCreate Backups=NO\n"
        "Brush Suffix Selection=bmp jpg\nTexture Suffix=\titx~\n[Textures]\nold.iff,new.iff\n"
        "a,b,c,d\nnocomma\n[Other]\nx=1\n[Default Directory List]\nC:\\A,D:\\B\n[x,y\n");
}

void ObjFiles() {
    const std::string grid = objtest::GridObj(3, 3);
    Put("obj_import", "grid-by-object.obj", std::string(1, '\x01') + "o plane\n" + grid);
    Put("obj_import", "groups-unify.obj",
        std::string(1, '\x2a') +
            "# two groups, mixed windings\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\n"
            "g left\nf 1 2 3\nf 1 4 3\ng right\nf -5/1/1 -4/2/2 -1/3/3\nf 2//1 3//1 5//1 4//1\n");
    Put("obj_import", "smoothing-materials.obj",
        std::string(1, '\x03') +
            "v 0 0 0\r\nv 1 0 0\r\nv 1 1 0\r\nv 0 1 1e3\r\ns 1\r\nusemtl red\r\nf 1 2 3\r\n"
            "s off\r\nusemap tex\r\nf 1 3 4\r\ns 2\rf 1 2 4 3\rvn 0 0 1\rvt 0 0\rf 0 9 -9\r");
    Put("obj_import", "materials.obj",
        std::string(1, '\x05') + "usemtl a\n" + objtest::GridObj(2, 3) +
            "usemtl b\nf 1 2 3\nusemap m\nf 2 3 4\n");
}

// Imagine objects for iobread; the first byte holds the import options.
void IobFiles() {
    const auto with_options = [](std::uint8_t options, const Bytes& file) {
        Bytes seed{options};
        seed.insert(seed.end(), file.begin(), file.end());
        return seed;
    };
    const iobtest::ObjectFrame turned{{4, 5, 6}, {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
    IffBuilder hierarchy("TDDD");
    hierarchy.Begin("OBJ ");
    iobtest::AddObject(hierarchy, "BODY", iobtest::Cube());
    iobtest::AddObject(hierarchy, "FIN", iobtest::Grid(3, 2), false, &turned,
                       {{"CLST", Bytes(14, 0xFF)}, {"TXT1", chunks::Txt1("C:\\T\\w.iff")}});
    hierarchy.Chunk("TOBJ", {}).Chunk("TOBJ", {}).End();
    Put("iob_import", "hierarchy.iob", with_options(0x10, hierarchy.Build()));
    Put("iob_import", "wide-chunks.iob",
        with_options(0x07, iobtest::OneObjectFile("WIDE", iobtest::Cube(), true)));

    // A face that does not close, one naming a missing edge, a lamp and a path.
    iobtest::Geometry open = iobtest::Grid(2, 2);
    open.edges.push_back({0, 3});
    open.faces.push_back({0, 1, static_cast<std::uint32_t>(open.edges.size() - 1)});
    open.faces.push_back({0, 1, 77});
    IffBuilder skipped("TDDD");
    skipped.Begin("OBJ ");
    iobtest::AddObject(skipped, "OPEN", open).Chunk("TOBJ", {});
    skipped.Begin("DESC").Chunk("SHP2", iobtest::Shp2(2, 5)).End().Chunk("TOBJ", {});
    skipped.Begin("DESC").Chunk("SHP2", iobtest::Shp2(2)).Chunk("PTH2", Bytes(8, 0)).End();
    skipped.Chunk("TOBJ", {}).Chunk("EXTR", Bytes(4, 0)).End();
    Put("iob_import", "skipped-and-open-faces.iob", with_options(0x01, skipped.Build()));

    Bytes cut = iobtest::OneObjectFile("CUT", iobtest::Cube());
    cut.resize(cut.size() - 9);
    Put("iob_import", "cut-short.iob", with_options(0x00, cut));
}

void StoreFiles() {
    const fs::path home = g_root / ".store-home";
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    WriteSettingInt("seed", kCommonSettings, "verbose_mode", 1);
    WriteSettingInt("seed", kCommonSettings, "swap_mode", 2);
    WriteSettingDouble("seed", kCommonSettings, "size_value", 2.5);
    WriteSettingText("seed", kCommonSettings, "logfilename", "/tmp/objread 100%.log");
    WriteSettingText("seed", kCommonSettings, "odd=name#", "line\r\nbreak\x7f");
    std::ifstream in(home / "Orrin Software" / "seed" / kCommonSettings, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    Put("settings_store", "written-by-store", written);
    Put("settings_store", "hand-written",
        "# class: Converter\r\nswap_mode=3\r\nsize_value=0,5\r\nld_mode=2abc\r\nld_mode=1\r\n"
        "smooth_angle=1e400\r\n=empty\r\nno equals\r\nlogfilename=100%zz%41\r\n");
    fs::remove_all(home);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds <corpus root>\n");
        return 2;
    }
    g_root = fs::absolute(argv[1]);
    ObjectFiles();
    SettingsFiles();
    ObjFiles();
    IobFiles();
    StoreFiles();
    return 0;
}
