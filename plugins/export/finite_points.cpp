#include "export/finite_points.h"

#include <cmath>
#include <ostream>
#include <string>

#include "export/mesh_access.h"
#include "framework/log_file.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"

namespace plugins {

bool CheckFinitePoints(const Mesh3d& mesh, const ExportReport& report) {
    const int count = VertexCount(mesh);
    for (int i = 0; i < count; ++i) {
        const Vector3d& p = VertexPoint(mesh, i);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            const std::string text = std::string("Mesh '") + mesh.name +
                                     "' has a coordinate beyond what a number can hold (is the "
                                     "Size Value too large?); nothing is written";
            report.callbacks->Status(stderr, "%s\n", text.c_str());
            report.log->Printf("%s\n", text.c_str());
            Terminal& term = CurrentTerminal();
            *term.err << TerminalSafe(text) << '\n';
            term.err->flush();
            return false;
        }
    }
    return true;
}

}  // namespace plugins
