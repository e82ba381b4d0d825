// objwrite's writer: meshes as WaveFront OBJ text.
//
// Each mesh becomes a commented block of its vertices, three normals per
// face (the smoothed corner normals), an object statement, "s off" and the
// faces as vertex//normal references. Vertex and normal numbers run on across
// all meshes of a file, as OBJ requires.
#pragma once

#include "export/export_file_writer.h"

namespace plugins::objwrite {

// The texts that identify objwrite.
inline constexpr const char* kObjWriteTitle = "WaveFront Export Plugin 0.1";

class ObjWriter final : public ExportFileWriter {
  public:
    // Creates the file at path (through a temporary file next to it) and
    // writes the two header lines; resets both numbering bases to 1.
    // Returns false, creating nothing, when the file cannot be created.
    bool WriteObjHeader(const char* path, const ExportSettings& settings);

    // Writes the block of one mesh in table form. Returns 1 after writing,
    // 0 without writing when no file is open.
    int WriteObjObject(const Mesh3d& mesh, const ExportSettings& settings,
                       const ExportReport& report);
    // The same for the mesh that an ExportMesh stands for.
    int WriteObjObject(const ExportMesh& mesh, const ExportSettings& settings,
                       const ExportReport& report);

    // ExportWriter
    ExportBanner Banner() const override;
    bool OpenOutput(const char* path, const ExportSettings& settings) override {
        return WriteObjHeader(path, settings);
    }
    int WriteMesh(const Mesh3d& mesh, const ExportSettings& settings,
                  const ExportReport& report) override {
        return WriteObjObject(mesh, settings, report);
    }
    bool TakesExportMesh() const override { return true; }
    int WriteExportMesh(const ExportMesh& mesh, const ExportSettings& settings,
                        const ExportReport& report) override {
        return WriteObjObject(mesh, settings, report);
    }

  private:
    int VertexBase = 1;  // file number of the next mesh's first vertex
    int NormalBase = 1;  // file number of the next normal written
};

}  // namespace plugins::objwrite
