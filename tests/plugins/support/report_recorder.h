// A callbacks table that records, as text, every report a run makes.
#pragma once

#include <string>
#include <vector>

#include "framework/progress.h"

namespace pluginsupport {

// Callbacks that append each report to RecordedReports(), in the order they
// come: "S:" and the formatted status text, "F:index/count" for file
// progress, "M:index/count" for mesh progress. One test at a time: the
// record is shared by the whole process.
plugins::ProgressCallbacks ReportRecorder();

// The reports recorded since the last clear.
std::vector<std::string>& RecordedReports();

}  // namespace pluginsupport
