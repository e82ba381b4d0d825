// objwrite's entry points: the four exports, the class descriptor and the
// exporter object the host creates through it.
#include <string>

#include "entry/class_descriptor.h"
#include "export/exporter_object.h"
#include "framework/contract.h"
#include "objwrite/obj_writer.h"

namespace plugins::objwrite {

namespace {

const char kDescription[] =
    "WaveFront OBJ export\n"
    "\n"
    "Writes the meshes as one WaveFront .obj file: per mesh its vertices,\n"
    "three normals per triangle, an o line with the mesh's name and the\n"
    "triangles. Vertex and normal numbers run on through the whole file.\n"
    "\n";

const std::string kHelpText =
    std::string(kDescription) + kExporterCommonSettingsHelp + kExporterTextSettingsHelp;

const PluginStrings kStrings = {kHelpText.c_str(), "WAV", "Export"};

PluginObject* CreateExporter();

constexpr entry::ClassInfo kClassInfo = {"WaveFront (*.obj)", kPluginKindExport, 0x00D5772Au};
entry::PluginClassDescription g_descriptor(kClassInfo, CreateExporter);

// Only Delete() ends it, as the host contract requires.
class ObjExportPlugin final : public ExporterObject<ObjWriter> {
  public:
    ObjExportPlugin() : ExporterObject(kObjWriteIdentity, kStrings) {}

  private:
    ~ObjExportPlugin() override = default;
};

PluginObject* CreateExporter() {
    return new ObjExportPlugin();
}

}  // namespace

}  // namespace plugins::objwrite

PLUGIN_ENTRY_POINTS("Wav Export Lib", plugins::objwrite::g_descriptor)
