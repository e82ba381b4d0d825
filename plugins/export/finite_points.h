// The exporters write numbers as text; a coordinate that is not a finite
// number ("inf", "nan") makes no valid file of either format. A mesh scaled
// beyond the range of a double, or handed over so by a host, is refused.
#pragma once

#include "export/export_writer.h"
#include "framework/mesh.h"

namespace plugins {

// True when every point of the mesh's vertex table is finite. Otherwise
// tells the person (on the terminal), the status line and the log that the
// mesh cannot be written, and returns false; the writer then writes nothing.
bool CheckFinitePoints(const Mesh3d& mesh, const ExportReport& report);

}  // namespace plugins
