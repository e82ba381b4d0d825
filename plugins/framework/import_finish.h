// What every importer does with a mesh it has read before handing it over.
#pragma once

#include "framework/contract.h"

class PluginSettings;
struct ProgressCallbacks;

// Finishes mesh number index of count, in this order, each step announced
// through Status of callbacks (which may be null) also when it changes
// nothing: the statistics block to log (so the logged bounds are the file's
// own), file progress (index, count), "Sizing" by size_value, "Swapping
// axis" by swap_mode, "Unifying" the face orientation when unify_mode is on
// (its progress reported as mesh progress), and "Reducing" to the compact
// form in which meshes reach the host.
void FinishImportedMesh(Mesh3d& mesh, const PluginSettings& settings,
                        const ProgressCallbacks* callbacks, LogFile& log, unsigned index,
                        unsigned count);
