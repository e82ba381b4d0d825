// CoreContext: everything the core works on. The program makes one for the
// whole run; every test makes a fresh one.
#pragma once

#include "core/core_ui.h"
#include "core/log_sink.h"
#include "core/object_file.h"
#include "state/editor_state.h"

namespace tessvane {

struct CoreContext {
    // Options, default lists and shell state.
    EditorContext editor;
    // The one object file held; a load or a batch file replaces it.
    ObjectFile file;
    // Messages and prompts; not owned, may be null (nothing is shown, prompts
    // count as cancelled).
    CoreUi* ui = nullptr;
    // Open only during a batch run; not owned, may be null (nothing is logged).
    LogSink* log = nullptr;
};

}  // namespace tessvane
