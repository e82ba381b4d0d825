// A fresh CoreContext over a temporary directory, with a scripted UI and a
// recording log, for the core's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/core_context.h"
#include "core/scanner.h"
#include "iff_builder.h"
#include "recording_log_sink.h"
#include "scripted_core_ui.h"

namespace tessvane {

class CoreTest : public ::testing::Test {
  protected:
    CoreTest() : context{MakeEditorContext(temp.Dir()), {}, &ui, nullptr} {
        context.editor.shell.CurrentFileName = "test.iob";
    }

    // Writes `bytes` as name in the temporary directory and reads it.
    ReadStatus Load(const testing::Bytes& bytes, bool interactive = true,
                    const std::string& name = "test.iob") {
        path = temp.File(name);
        testing::WriteFileBytes(path, bytes);
        context.editor.shell.CurrentFilePath = path;
        context.editor.shell.CurrentFileName = name;
        return ReadObjectFile(context, path, interactive);
    }

    const PathRecord& Record(std::size_t n) const { return context.file.Paths.Record(n); }

    testing::TempDir temp;
    testing::ScriptedCoreUi ui;
    testing::RecordingLogSink log;
    CoreContext context;
    std::string path;
};

}  // namespace tessvane
