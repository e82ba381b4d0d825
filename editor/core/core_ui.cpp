#include "core/core_ui.h"

#include <utility>

namespace tessvane {
namespace {

MessageAnswer Show(CoreUi* ui, MessageKind kind, std::string text, MessageButtons buttons,
                   int help) {
    if (ui == nullptr) {
        if (buttons == MessageButtons::YesNo) return MessageAnswer::No;
        return buttons == MessageButtons::YesNoCancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
    Message m;
    m.kind = kind;
    m.text = std::move(text);
    m.buttons = buttons;
    m.helpContext = help;
    return ui->ShowMessage(m);
}

}  // namespace

void ShowWarning(CoreUi* ui, std::string text) {
    Show(ui, MessageKind::Warning, std::move(text), MessageButtons::Ok, 0);
}

void ShowInformation(CoreUi* ui, std::string text) {
    Show(ui, MessageKind::Information, std::move(text), MessageButtons::Ok, 0);
}

void ShowWarningWithHelp(CoreUi* ui, std::string text, int helpContext) {
    Show(ui, MessageKind::WarningWithHelp, std::move(text), MessageButtons::OkHelp, helpContext);
}

bool AskYesNo(CoreUi* ui, std::string text) {
    return Show(ui, MessageKind::Warning, std::move(text), MessageButtons::YesNo, 0) ==
           MessageAnswer::Yes;
}

MessageAnswer AskYesNoCancel(CoreUi* ui, std::string text) {
    return Show(ui, MessageKind::Warning, std::move(text), MessageButtons::YesNoCancel, 0);
}

}  // namespace tessvane
