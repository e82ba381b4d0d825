// The export run shared by objwrite, glwrite and iobwrite.
#pragma once

#include "export/export_writer.h"

namespace plugins {

// Writes the meshes of the host's list to settings.file_name with writer:
// opens the run's log (when verbose_mode is 1) with the writer's banner,
// creates the file, reports "Writing <file> started ...", lets the writer
// write its preamble, then gives each mesh (objects of type 0, in list
// order; others are skipped) its tables back, scales it by size_value,
// exchanges its axes by swap_mode, has the writer write it and frees its
// tables again, and reports "Writing <file> finished". A writer that takes
// an ExportMesh gets each mesh in compact form as one instead, with the
// same points, numbering and bounds and no tables made.
//
// The host's compact arrays come out unchanged; the bounds of each written
// mesh keep the scaled and exchanged values.
//
// Returns 1 when the file was written. Returns 0 when it cannot be created
// (before any status line, with only the banner in the log) or could not be
// completed (then no "finished" line is sent and an older file of that name
// stays as it was). The caller tells the user.
int ExportRun(ObjectList* objects, ExportSettings* settings, const ProgressCallbacks* callbacks,
              ExportWriter& writer);

}  // namespace plugins
