#include "qt_dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include "About.h"
#include "DirUnit.h"
#include "file_filter.h"
#include "list_dialog_services.h"

namespace tessvane {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Qt's own file dialog (used where the desktop offers none) opens too narrow
// for its detail columns and cuts Size, Type and Date Modified. It opens wide
// enough for them, they keep the width of their contents, and the name takes
// what is left.
void ShowWholeColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr) return;  // the desktop's own dialog
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    QSize size(760, 460);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
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
    ShowWholeColumns(dialog);
}

}  // namespace

MessageAnswer QtDialogService::ShowMessage(const Message& message) {
    // Over the dialog in front, if one is: the box then blocks that dialog
    // and the windows below it, and nothing else.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox box(owner != nullptr ? owner : parent_);
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
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MessageButtons::OkHelp:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            help = box.addButton(QMessageBox::Help);
            break;
    }
    // Modal to its own window only: the help window, which has no parent,
    // stays usable while the message waits for its answer.
    if (box.parentWidget() != nullptr) box.setWindowModality(Qt::WindowModal);
    // Help shows the topic and leaves the message on the screen, with the
    // focus back on its default button: Enter then answers the message, it
    // does not ask for the help again.
    for (;;) {
        box.exec();
        if (help != nullptr && box.clickedButton() == help) {
            if (help_) help_(message.helpContext);
            box.defaultButton()->setFocus();
            // The help window was just activated; the answer is still owed.
            QTimer::singleShot(0, &box, [&box] { box.activateWindow(); });
            continue;
        }
        break;
    }
    const QAbstractButton* clicked = box.clickedButton();
    switch (message.buttons) {
        case MessageButtons::YesNo:
            return clicked == box.button(QMessageBox::Yes) ? MessageAnswer::Yes : MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            if (clicked == box.button(QMessageBox::Yes)) return MessageAnswer::Yes;
            if (clicked == box.button(QMessageBox::No)) return MessageAnswer::No;
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
        case MessageButtons::OkHelp:
            break;
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
