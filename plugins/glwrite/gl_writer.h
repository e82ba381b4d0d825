// glwrite's writer: meshes as C source that draws them with OpenGL.
//
// The file holds a static colour table with one row per mesh, then one
// function per mesh that sets the mesh's colour and draws each triangle in a
// glBegin/glEnd pair with its three corner normals. It has no includes: the
// program that compiles it supplies GLfloat and the GL functions.
#pragma once

#include "export/export_file_writer.h"
#include "glwrite/c_names.h"

namespace plugins::glwrite {

inline constexpr const char* kGlWriteTitle = "OpenGL Export Plugin 0.2";

// The colour of row j of the table: the 12-bit value 0xF00 + 8 j split into
// three 4-bit components, each divided by 15. The colours repeat every 512
// rows.
Vector3d ColorTableRow(int j);

class GlWriter final : public ExportFileWriter {
  public:
    // Creates the file at path (through a temporary file next to it) and
    // writes the header comment and an empty line. Returns false, creating
    // nothing, when the file cannot be created.
    bool WriteGlHeader(const char* path, const ExportSettings& settings);

    // Writes the colour table with one row per mesh (object of type 0) of
    // objects and restarts the row count of the functions.
    void WriteGlColorTable(const ObjectList& objects, const ExportSettings& settings);

    // Writes the function of one mesh in table form. Returns 1 after
    // writing, 0 without writing when no file is open.
    int WriteGlObject(const Mesh3d& mesh, const ExportSettings& settings,
                      const ExportReport& report);
    // The same for the mesh that an ExportMesh stands for.
    int WriteGlObject(const ExportMesh& mesh, const ExportSettings& settings,
                      const ExportReport& report);

    // ExportWriter
    ExportBanner Banner() const override;
    bool OpenOutput(const char* path, const ExportSettings& settings) override {
        return WriteGlHeader(path, settings);
    }
    void WritePreamble(const ObjectList& objects, const ExportSettings& settings) override {
        WriteGlColorTable(objects, settings);
    }
    int WriteMesh(const Mesh3d& mesh, const ExportSettings& settings,
                  const ExportReport& report) override {
        return WriteGlObject(mesh, settings, report);
    }
    bool TakesExportMesh() const override { return true; }
    int WriteExportMesh(const ExportMesh& mesh, const ExportSettings& settings,
                        const ExportReport& report) override {
        return WriteGlObject(mesh, settings, report);
    }

  private:
    int ColorIndex = 0;  // table row of the next mesh
    CFunctionNames names_;
};

}  // namespace plugins::glwrite
