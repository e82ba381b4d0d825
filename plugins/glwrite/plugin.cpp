// glwrite's entry points: the four exports, the class descriptor and the
// exporter object the host creates through it.
#include <string>

#include "entry/class_descriptor.h"
#include "export/exporter_object.h"
#include "framework/contract.h"
#include "glwrite/gl_writer.h"

namespace plugins::glwrite {

namespace {

const char kDescription[] =
    "OpenGL source export\n"
    "\n"
    "Writes the meshes as one C source file: a table of colours, then per\n"
    "mesh a function named after it that sets its colour and draws every\n"
    "triangle with glBegin/glEnd, three glNormal3f and three glVertex3f\n"
    "calls. The file has no includes: compile it after your GL header.\n"
    "A mesh name that is not a C name is changed into one.\n"
    "\n";

const std::string kHelpText =
    std::string(kDescription) + kExporterCommonSettingsHelp + kExporterTextSettingsHelp;

const PluginStrings kStrings = {kHelpText.c_str(), "OGL", "Export"};

PluginObject* CreateExporter();

constexpr entry::ClassInfo kClassInfo = {"OpenGL Sourcefile (*.c)", kPluginKindExport, 0x42070980u};
entry::PluginClassDescription g_descriptor(kClassInfo, CreateExporter);

// Only Delete() ends it, as the host contract requires.
class GlExportPlugin final : public ExporterObject<GlWriter> {
  public:
    GlExportPlugin() : ExporterObject(kGlWriteIdentity, kStrings) {}

  private:
    ~GlExportPlugin() override = default;
};

PluginObject* CreateExporter() {
    return new GlExportPlugin();
}

}  // namespace

}  // namespace plugins::glwrite

PLUGIN_ENTRY_POINTS("OGL Export Lib", plugins::glwrite::g_descriptor)
