#pragma once

#include <QString>

namespace tessvane {

// Turns a filter of the form "Caption|pattern|Caption|pattern" into Qt's
// "Caption (pattern);;Caption (pattern)". The captions stay as they are; the
// pattern "*.*" becomes "*" so that it matches every file, also those whose
// names have no extension. An empty filter gives "All Files (*)".
QString QtFileFilter(const QString& filter);

}  // namespace tessvane
