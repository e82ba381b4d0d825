#include "help_topics.h"

#include <array>
#include <utility>

namespace tessvane {

namespace {

struct ControlContext {
    const char* objectName;
    int context;
};

// The controls that carry a context number of their own.
constexpr std::array kControlContexts = {
    ControlContext{"Loadbutton", 10},
    ControlContext{"SaveButton", 10},
    ControlContext{"HelpButton", 10},
    ControlContext{"CloseButton", 10},
    ControlContext{"SummaryList", 12},
    ControlContext{"Summary_NewPath", 13},
    ControlContext{"SelectPath1", 14},
    ControlContext{"ResetButton1", 15},
    ControlContext{"Update", 16},
    ControlContext{"PathDetailList", 18},
    ControlContext{"Details_NewPath", 19},
    ControlContext{"SelectPath2", 20},
    ControlContext{"ResetButton2", 21},
    ControlContext{"PrintButton", 22},
    ControlContext{"ComputerGroup", 25},
    ControlContext{"FileValidationBox", 27},
    ControlContext{"DirValidationBox", 28},
    ControlContext{"SaveUpdate", 29},
    ControlContext{"SaveSettingsButton", 30},
    ControlContext{"AboutButton", 31},
};

// Each context number opens the paragraph that explains its control.
constexpr std::array<std::pair<int, const char*>, 19> kContextTopics = {{
    {10, "commands"},
    {12, "summary-paths"},
    {13, "summary-newpath"},
    {14, "summary-selectpath"},
    {15, "summary-reset"},
    {16, "summary-update"},
    {18, "details-grid"},
    {19, "details-newpath"},
    {20, "details-selectpath"},
    {21, "details-reset"},
    {22, "printing"},
    {25, "options-computer"},
    {27, "options-validate"},
    {28, "options-validate"},
    {29, "options-reload"},
    {30, "options-settingsfiles"},
    {31, "about"},
    {35, "amiga-directory"},
    {36, "pc-directory"},
}};

}  // namespace

QString HelpTopicForPage(int index) {
    static constexpr std::array kPageTopics = {kHelpSummary,     kHelpDetails,  kHelpOptions,
                                               kHelpDirDefaults, kHelpTextures, kHelpBatch};
    if (index < 0 || index >= int(kPageTopics.size())) return QString::fromLatin1(kHelpContents);
    return QString::fromLatin1(kPageTopics[size_t(index)]);
}

int HelpContextOf(const QString& objectName) {
    for (const ControlContext& control : kControlContexts)
        if (objectName == QLatin1String(control.objectName)) return control.context;
    return 0;
}

QString HelpTopicForContext(int context) {
    for (const auto& [number, topic] : kContextTopics)
        if (number == context) return QString::fromLatin1(topic);
    return QString();
}

}  // namespace tessvane
