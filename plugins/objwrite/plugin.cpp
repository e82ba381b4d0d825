// objwrite's entry points: the four exports, the class descriptor and the
// exporter object the host creates through it.
#include "entry/class_descriptor.h"
#include "entry/operations.h"
#include "export/export_operations.h"
#include "framework/contract.h"
#include "objwrite/obj_writer.h"

namespace objwrite {

namespace {

const char* const kHelpText =
    "WaveFront OBJ export\n"
    "\n"
    "Writes the meshes as one WaveFront .obj file: per mesh its vertices,\n"
    "three normals per triangle, an o line with the mesh's name and the\n"
    "triangles. Vertex and normal numbers run on through the whole file.\n"
    "\n"
    "Verbose: write a log of the export (the file named under Log File Name;\n"
    "a name without a directory is created beside the written file).\n"
    "\n"
    "Size Value: every coordinate is multiplied by this number (1.000 keeps\n"
    "the size).\n"
    "\n"
    "Swap Mode: exchange two axes in the written file.\n"
    "\n"
    "Line Delimiter: the line ends of the file, DOS (CR LF), UNIX (LF) or\n"
    "MAC (CR).\n"
    "\n"
    "Smooth Angle: at each corner, the normals of the neighbouring triangles\n"
    "that differ from the triangle's own normal by less than this angle (in\n"
    "degrees) are averaged; 0 gives flat triangles.\n";

const PluginStrings kStrings = {kHelpText, "WAV", "Export"};

PluginObject* CreateExporter();

constexpr pluginentry::ClassInfo kClassInfo = {"WaveFront (*.obj)", kPluginKindExport, 0x00D5772Au};
pluginentry::PluginClassDescription g_descriptor(kClassInfo, CreateExporter);

class ObjExportPlugin final : public ExportPlugin {
public:
    void Delete() override { delete this; }
    void ShowHelp() override { pluginentry::RunShowHelp(kStrings); }
    void Configure() override { RunExportConfigure(kObjWriteIdentity, kStrings); }
    void Export(ObjectList* objects) override
    {
        ObjWriter writer;
        RunExportOperation(objects, kObjWriteIdentity, kStrings, writer);
    }

private:
    ~ObjExportPlugin() = default;
};

PluginObject* CreateExporter() { return new ObjExportPlugin(); }

}  // namespace

}  // namespace objwrite

PLUGIN_ENTRY_POINTS("Wav Export Lib", objwrite::g_descriptor)
