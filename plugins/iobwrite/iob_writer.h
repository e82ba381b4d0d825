// iobwrite's writer: the host's meshes as one Imagine object file.
#pragma once

#include <cstdint>
#include <string>

#include "export/export_file_writer.h"
#include "iobwrite/iob_settings.h"
#include "tddd/tddd_format.h"

namespace plugins::iobwrite {

inline constexpr const char* kIobWriteTitle = "Imagine Export Plugin 1.0";

// Builds the file in memory and writes it when the output is closed. Every
// mesh becomes one custom object (shape 2) with NAME, SHP2, POSI, AXIS,
// SIZE, points, edges (each undirected edge once), faces as triples of
// edges, white colour, no reflection, transmission or specularity, the
// per-face colour lists and PRP1 with Phong shading on. The object's axes are
// the world's and its position the origin, so its points are world
// coordinates whichever frame a reader assumes.
//
// Imagine keeps one hierarchy per file: the first object is its head and
// every further object (the next meshes, and the further parts of a split
// mesh) one of its children.
//
// A mesh with more than 65,535 points, edges or faces is cut into several
// objects (named name, name_2, name_3, ...), unless the format is
// IobFormat::ImagineForWindows: then it stays one object in the 32-bit
// chunks. Faces whose corners coincide are left out. A mesh with a coordinate outside what
// a FRACT holds, or one that is not finite, is refused with a message that
// says how to scale it down, and then nothing is written.
class IobWriter final : public ExportFileWriter {
  public:
    explicit IobWriter(IobFormat format) : format_(format) {}

    ExportBanner Banner() const override;
    bool OpenOutput(const char* path, const ExportSettings& settings) override;
    int WriteMesh(const Mesh3d& mesh, const ExportSettings& settings,
                  const ExportReport& report) override;

  private:
    void AddObject(const tddd::Bytes& chunks);
    // Writes the whole file: the FORM and OBJ headers, the objects and the
    // hierarchy's last TOBJ.
    void FinishFile(TextOutput& out) override;

    IobFormat format_;
    tddd::Bytes objects_;  // the DESC chunks of the hierarchy, its last TOBJ to come
    bool hasHead_ = false;
};

}  // namespace plugins::iobwrite
