// The exporter object of objwrite and glwrite: what the host creates through
// the class descriptor and drives through its slots. Only the writer, the
// identity (settings key, log name, filter texts) and the string table
// differ between the two plug-ins.
#pragma once

#include "entry/operations.h"
#include "export/export_operations.h"
#include "framework/contract.h"

namespace plugins {

// The help paragraphs on the settings every exporter has; each plug-in's
// help text starts with its own description and goes on with these.
inline constexpr char kExporterCommonSettingsHelp[] =
    "Verbose: write a log of the export (the file named under Log File Name;\n"
    "a name without a directory is created beside the written file).\n"
    "\n"
    "Size Value: every coordinate is multiplied by this number (1.000 keeps\n"
    "the size).\n"
    "\n";

// The paragraphs on the further settings objwrite and glwrite share, which
// end their help texts.
inline constexpr char kExporterTextSettingsHelp[] =
    "Swap Mode: exchange two axes in the written file.\n"
    "\n"
    "Line Delimiter: the line ends of the file, DOS (CR LF), UNIX (LF) or\n"
    "MAC (CR).\n"
    "\n"
    "Smooth Angle: at each corner, the normals of the neighbouring triangles\n"
    "that differ from the triangle's own normal by less than this angle (in\n"
    "degrees) are averaged; 0 gives flat triangles.\n";

// Owned by the host from CreateInstance until Delete(), which destroys it.
// identity and strings are the plug-in's static constants and outlive it.
template <class Writer>
class ExporterObject : public ExportPlugin {
  public:
    ExporterObject(const ExporterIdentity& identity, const PluginStrings& strings)
        : identity_(identity), strings_(strings) {}

    void Delete() override { delete this; }
    void ShowHelp() override { entry::RunShowHelp(strings_); }
    void Configure() override { RunExportConfigure(identity_, strings_); }
    void Export(ObjectList* objects) override {
        Writer writer;
        RunExportOperation(objects, identity_, strings_, writer);
    }

  protected:
    virtual ~ExporterObject() = default;

  private:
    const ExporterIdentity& identity_;
    const PluginStrings& strings_;
};

}  // namespace plugins
