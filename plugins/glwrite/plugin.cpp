// glwrite's entry points: the four exports, the class descriptor and the
// exporter object the host creates through it.
#include "entry/class_descriptor.h"
#include "entry/operations.h"
#include "export/export_operations.h"
#include "framework/contract.h"
#include "glwrite/gl_writer.h"

namespace glwrite {

namespace {

const char* const kHelpText =
    "OpenGL source export\n"
    "\n"
    "Writes the meshes as one C source file: a table of colours, then per\n"
    "mesh a function named after it that sets its colour and draws every\n"
    "triangle with glBegin/glEnd, three glNormal3f and three glVertex3f\n"
    "calls. The file has no includes: compile it after your GL header.\n"
    "A mesh name that is not a C name is changed into one.\n"
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

const PluginStrings kStrings = {kHelpText, "OGL", "Export"};

PluginObject* CreateExporter();

constexpr pluginentry::ClassInfo kClassInfo = {"OpenGL Sourcefile (*.c)", kPluginKindExport, 0x42070980u};
pluginentry::PluginClassDescription g_descriptor(kClassInfo, CreateExporter);

class GlExportPlugin final : public ExportPlugin {
public:
    void Delete() override { delete this; }
    void ShowHelp() override { pluginentry::RunShowHelp(kStrings); }
    void Configure() override { RunExportConfigure(kGlWriteIdentity, kStrings); }
    void Export(ObjectList* objects) override
    {
        GlWriter writer;
        RunExportOperation(objects, kGlWriteIdentity, kStrings, writer);
    }

private:
    ~GlExportPlugin() = default;
};

PluginObject* CreateExporter() { return new GlExportPlugin(); }

}  // namespace

}  // namespace glwrite

PLUGIN_ENTRY_POINTS("OGL Export Lib", glwrite::g_descriptor)
