#pragma once

#include <QString>

namespace tessvane {

// Topic names of the help document, one per page plus its contents.
inline constexpr const char* kHelpContents = "contents";
inline constexpr const char* kHelpSummary = "summary";
inline constexpr const char* kHelpDetails = "details";
inline constexpr const char* kHelpOptions = "options";
inline constexpr const char* kHelpDirDefaults = "dirdefaults";
inline constexpr const char* kHelpTextures = "textures";
inline constexpr const char* kHelpBatch = "batch";

// The topic of the page at `index` in the window's tab order (Summary,
// Details, Options, Directory Defaults, Texture Filenames, Batch); the
// contents for any other index.
QString HelpTopicForPage(int index);

// The context number a main-window control carries for context help (F1),
// by its object name; 0 when it carries none (the caller then looks at the
// enclosing control).
int HelpContextOf(const QString& objectName);

// The help document's anchor for a context number; empty for a number the
// document does not know.
QString HelpTopicForContext(int context);

}  // namespace tessvane
