#include "qt_dialog_service.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "About.h"
#include "DirUnit.h"
#include "file_filter.h"
#include "list_dialog_services.h"

namespace tessvane {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Sets up the parts that open and save dialogs share.
void Prepare(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(Q(request.title));
    dialog.setNameFilters(QtFileFilter(Q(request.filter)).split(QStringLiteral(";;")));
    dialog.setDirectory(NearestExistingDirectory(Q(request.directory)));
    // A wildcard in the name field ("*.*") is the filter's business, not a file.
    if (!request.fileName.empty() && request.fileName.find('*') == std::string::npos) {
        dialog.selectFile(Q(request.fileName));
    }
}

}  // namespace

MessageAnswer QtDialogService::ShowMessage(const Message& message) {
    QMessageBox box(parent_);
    box.setText(Q(message.text));
    if (message.kind == MessageKind::Information) {
        box.setIcon(QMessageBox::Information);
        box.setWindowTitle(QStringLiteral("Information"));
    } else {
        box.setIcon(QMessageBox::Warning);
        box.setWindowTitle(QStringLiteral("Warning"));
    }
    QAbstractButton* help = nullptr;
    switch (message.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::OkHelp:
            box.setStandardButtons(QMessageBox::Ok);
            help = box.addButton(QMessageBox::Help);
            break;
    }
    // Help shows the topic and leaves the message on the screen.
    for (;;) {
        box.exec();
        if (help != nullptr && box.clickedButton() == help) {
            if (help_) help_(message.helpContext);
            continue;
        }
        break;
    }
    if (message.buttons == MessageButtons::YesNo) {
        return box.clickedButton() == box.button(QMessageBox::Yes) ? MessageAnswer::Yes
                                                                   : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

namespace {
// Before the window hands over its settings: no validation, the default set.
const EditorContext kNoEditor;
}  // namespace

std::optional<DirectoryDefault> QtDialogService::PromptDirectoryDefault(
    const DirectoryPrompt& prompt) {
    return RunDirectoryPrompt(*this, editor_ ? *editor_ : kNoEditor, prompt, parent_);
}

std::optional<TextureDefault> QtDialogService::PromptTextureDefault(const TexturePrompt& prompt) {
    return RunTexturePrompt(*this, editor_ ? *editor_ : kNoEditor, prompt, parent_);
}

std::optional<std::string> QtDialogService::OpenFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_);
    Prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::vector<std::string> QtDialogService::OpenFiles(const FileDialogRequest& request) {
    QFileDialog dialog(parent_);
    Prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> chosen;
    if (dialog.exec() != QDialog::Accepted) return chosen;
    for (const QString& file : dialog.selectedFiles()) chosen.push_back(file.toStdString());
    return chosen;
}

std::optional<std::string> QtDialogService::SaveFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_);
    Prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.defaultSuffix.empty()) dialog.setDefaultSuffix(Q(request.defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtDialogService::ChooseDirectory(const DirectoryRequest& request) {
    TDirectorySelect chooser(parent_);
    chooser.setWindowTitle(Q(request.title));
    chooser.SetSettings(editor_ != nullptr ? &editor_->settings : nullptr);
    chooser.SetForm(request.form);
    chooser.SetWarn([this](const std::string& text) { ShowWarning(this, text); });
    chooser.SetStart(request.start);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.Chosen();
}

bool QtDialogService::SetupPrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogService::ShowAbout() {
    TAboutBox box(parent_);
    box.exec();
}

}  // namespace tessvane
