// iobwrite's entry points: the four exports, the class descriptor and the
// exporter object the host creates through it.
#include <cstdint>
#include <string>

#include "entry/class_descriptor.h"
#include "entry/operations.h"
#include "export/export_operations.h"
#include "export/exporter_object.h"
#include "framework/config_dialog.h"
#include "framework/contract.h"
#include "iobwrite/iob_settings.h"
#include "iobwrite/iob_writer.h"

namespace plugins::iobwrite {

namespace {

const char kDescription[] =
    "Imagine object export\n"
    "\n"
    "Writes the meshes as one Imagine object file (.iob): every mesh becomes\n"
    "an object of points, edges and faces, white, with Phong shading on. The\n"
    "first object heads the file's hierarchy and the others are its\n"
    "children. Imagine's coordinates reach from -32768 to 32767.99998: a\n"
    "mesh beyond that is refused, and Size Value (or meshconv convert\n"
    "--scale) brings it in.\n"
    "\n";

const char kSpecificHelp[] =
    "Swap Mode: exchange two axes in the written file. Imagine's up axis is\n"
    "Z; Y <-> Z suits meshes from programs whose up axis is Y.\n"
    "\n"
    "Write for: every Imagine cuts a mesh of more than 65,535 points, edges\n"
    "or faces into several objects (name, name_2, ...), which every version\n"
    "of Imagine reads. Imagine for Windows keeps such a mesh whole, in the\n"
    "32-bit chunks that only Imagine for Windows reads.\n";

const std::string kHelpText =
    std::string(kDescription) + kExporterCommonSettingsHelp + kSpecificHelp;

const PluginStrings kStrings = {kHelpText.c_str(), "IOB", "Export"};

void AddFields(ConfigDialog& dialog, ConfigMembers& m) {
    dialog.AddGroup("Common");
    dialog.AddCheck("Verbose", &m.verbose);
    dialog.AddNumber("Size Value", &m.size_value);
    dialog.AddChoice("Swap Mode", {"No Swap", "X <-> Y", "X <-> Z", "Y <-> Z"}, &m.swap);
    dialog.AddText("Log File Name", &m.logfilename, kConfigLogFileNameChars);
    dialog.AddGroup("Specific");
    dialog.AddChoice("Write for", {"every Imagine", "Imagine for Windows"}, &m.iob_format);
}

void ConfigureSettings() {
    entry::RunConfigure<IobExportSettings>(
        kStrings, AddFields,
        [](const IobExportSettings& s, ConfigMembers& m) {
            s.GetOptions(m.verbose, m.swap, m.unify, m.ld_mode, m.size_value, m.logfilename,
                         m.smooth_angle);
            m.iob_format = static_cast<std::int16_t>(IobFormatFromSetting(s.iob_format) ==
                                                     IobFormat::ImagineForWindows);
        },
        [](IobExportSettings& s, const ConfigMembers& m) {
            // The line delimiter, unify and the smoothing angle have no field
            // here and go back as they came.
            s.SetOptions(m.verbose, m.swap, m.unify, m.ld_mode, m.size_value, m.logfilename.c_str(),
                         m.smooth_angle);
            s.iob_format = m.iob_format;
        });
}

// Only Delete() ends it, as the host contract requires.
class IobExportPlugin final : public ExportPlugin {
  public:
    void Delete() override { delete this; }
    void ShowHelp() override {
        entry::HostCall([] { entry::RunShowHelp(kStrings); });
    }
    void Configure() override { entry::HostCall(ConfigureSettings); }
    void Export(ObjectList* objects) override {
        entry::HostCall([objects] {
            IobExportSettings settings;
            IobWriter writer(IobFormatFromSetting(settings.iob_format));
            RunExportOperation(objects, settings, kStrings, writer);
        });
    }

  private:
    ~IobExportPlugin() = default;
};

PluginObject* CreateExporter() {
    return new IobExportPlugin();
}

constexpr entry::ClassInfo kClassInfo = {"Imagine Object (*.iob)", kPluginKindExport, 0x10B4EAD2u};
entry::PluginClassDescription g_descriptor(kClassInfo, CreateExporter);

}  // namespace

}  // namespace plugins::iobwrite

PLUGIN_ENTRY_POINTS("IOB Export Lib", plugins::iobwrite::g_descriptor)
