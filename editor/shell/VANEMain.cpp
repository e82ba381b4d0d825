#include "VANEMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMetaObject>
#include <QShortcut>
#include <QShowEvent>
#include <array>
#include <utility>

#include "core/backup.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/volume_map.h"
#include "core/writer.h"
#include "help_window.h"
#include "program_icon.h"
#include "state/settings_file.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

namespace {

// Directory (with its trailing separator) and name of a chosen file.
struct ChosenFile {
    std::string directory;
    std::string name;
};

ChosenFile SplitChosenFile(const std::string& path) {
    const std::size_t sep = path.find_last_of("/\\");
    if (sep == std::string::npos) return {"", path};
    return {path.substr(0, sep + 1), path.substr(sep + 1)};
}

// The View menu's item of each page, in tab order.
std::array<std::pair<QAction*, Page>, 6> PageItems(const Ui::TVANEForm& ui) {
    return {{
        {ui.Summary1, Page::Summary},
        {ui.Details1, Page::Details},
        {ui.Options1, Page::Options},
        {ui.DirectoryDefaults1, Page::DirectoryDefaults},
        {ui.TextureFilenames1, Page::TextureFilenames},
        {ui.BatchProcessing1, Page::Batch},
    }};
}

}  // namespace

TVANEForm::TVANEForm(CoreContext& context, DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      dialogs_(dialogs),
      ui_(std::make_unique<Ui::TVANEForm>()) {
    ui_->setupUi(this);
    // Fixed size with minimize and system menu, no maximize: the pages are laid
    // out for this client area.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ui_->centralwidget->setFixedSize(535, 434);
    setFixedSize(535, 434 + menuBar()->sizeHint().height());
    // The dialogs, which have this window as their parent, show it too.
    setWindowIcon(ProgramIcon());
    // Enter presses the button that has the focus, as Space does.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);

    ConnectWindow();
    ConnectSummaryPage();
    ConnectDetailsPage();
    ConnectOptionsPage();
    ConnectDefaultListPages();
    ConnectHelpAndPrint();
    ConnectBatchPage();
    FormCreate();
}

TVANEForm::~TVANEForm() = default;

void TVANEForm::FormCreate() {
    setWindowTitle(kProgramTitle);
    for (QTableWidget* grid : {ui_->PathDetailList, ui_->DefaultDirList, ui_->TextureList}) {
        grid->setRowCount(1);
    }

    ShellState& shell = context_.editor.shell;
    shell.SettingsDirectory = shell.ProgramDirectory;
    shell.SettingsFileName = kSettingsFileName;
    settingsFile_ = std::string(shell.ProgramDirectory.view()) + std::string(kSettingsFileName);
    ReadSettingsFile(settingsFile_);
    SetOptionDisplay();

    ui_->TabbedNotebook1->setCurrentIndex(TabIndex(Page::Summary));
    TabbedNotebook1Change(TabIndex(Page::Summary));
    ui_->Loadbutton->setFocus();
    // Styles draw the focus only once the keyboard has moved it; the user
    // should see from the start where Enter and Space go.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void TVANEForm::ConnectWindow() {
    connect(ui_->Loadbutton, &QPushButton::clicked, this, &TVANEForm::LoadbuttonClick);
    connect(ui_->Load1, &QAction::triggered, this, &TVANEForm::LoadbuttonClick);
    connect(ui_->SaveButton, &QPushButton::clicked, this, &TVANEForm::SaveButtonClick);
    connect(ui_->Save1, &QAction::triggered, this, &TVANEForm::SaveButtonClick);
    connect(ui_->SaveAs1, &QAction::triggered, this, &TVANEForm::SaveAs1Click);
    connect(ui_->CloseButton, &QPushButton::clicked, this, &TVANEForm::CloseButtonClick);
    connect(ui_->Exit1, &QAction::triggered, this, &TVANEForm::CloseButtonClick);
    connect(ui_->AboutButton, &QPushButton::clicked, this, &TVANEForm::AboutButtonClick);
    connect(ui_->About1, &QAction::triggered, this, &TVANEForm::AboutButtonClick);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TVANEForm::CloseButtonClick);

    connect(ui_->TabbedNotebook1, &QTabWidget::currentChanged, this,
            &TVANEForm::TabbedNotebook1Change);
    const auto views = PageItems(*ui_);
    for (const auto& [action, page] : views) {
        connect(action, &QAction::triggered, this, [this, page = page] {
            // A checked item unchecks itself when chosen again; the page change
            // (or its absence) puts the marks right.
            ui_->TabbedNotebook1->setCurrentIndex(TabIndex(page));
            TabbedNotebook1Change(ui_->TabbedNotebook1->currentIndex());
        });
    }
    connect(ui_->PromptList, &QComboBox::activated, this, &TVANEForm::PromptListChange);
    ConnectToolsMenu();
}

void TVANEForm::ReadSettingsFile(const std::string& path) {
    const SettingsReadStatus status = ReadSettings(context_.editor, path);
    if (status == SettingsReadStatus::OpenFailed) Warn(std::string(kUnableToLoadSettings));
    if (status == SettingsReadStatus::Read) settingsFile_ = path;
}

void TVANEForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (aboutShown_ || event->spontaneous()) return;
    aboutShown_ = true;
    // After the window is on the screen, so the box sits over it.
    QMetaObject::invokeMethod(this, &TVANEForm::FormShow, Qt::QueuedConnection);
}

void TVANEForm::FormShow() {
    dialogs_.ShowAbout();
}

void TVANEForm::closeEvent(QCloseEvent* event) {
    if (!MayDropHeldFile()) {
        event->ignore();
        return;
    }
    if (context_.editor.settings.SaveSettings) WriteSettings(context_.editor, settingsFile_);
    FreeObjectFile(context_.file);
    if (help_) help_->close();
    event->accept();
}

void TVANEForm::CloseButtonClick() {
    close();
}

void TVANEForm::AboutButtonClick() {
    dialogs_.ShowAbout();
}

void TVANEForm::Warn(const std::string& text) {
    ShowWarning(&dialogs_, text);
}

CharacterSet TVANEForm::TextSet() const {
    return CharacterSetOf(context_.editor);
}

QString TVANEForm::Shown(std::string_view bytes) const {
    return ShowText(bytes, TextSet());
}

std::optional<std::string> TVANEForm::InSet(const QString& text) {
    TypedText typed = ReadTyped(text, TextSet());
    if (!typed.ok()) {
        Warn(typed.refusal);
        return std::nullopt;
    }
    return std::move(typed.bytes);
}

bool TVANEForm::Typed(QLineEdit* field, std::string& bytes) {
    std::optional<std::string> typed = InSet(field->text());
    if (!typed) {
        field->setFocus();
        return false;
    }
    bytes = std::move(*typed);
    return true;
}

bool TVANEForm::FileHeld() const {
    return context_.file.Loaded || !context_.file.Chunks.empty();
}

void TVANEForm::LoadbuttonClick() {
    if (!MayDropHeldFile()) return;
    FileDialogRequest request;
    request.title = "Select Imagine Object File";
    request.filter = kObjectFileFilter;
    request.directory = context_.editor.shell.CurrentFileDirectory;
    request.fileName = loadDialogFileName_;
    const std::optional<std::string> chosen = dialogs_.OpenFile(request);
    if (!chosen) return;
    OpenFile(*chosen);
}

void TVANEForm::OpenFile(const std::string& path) {
    const ChosenFile file = SplitChosenFile(path);
    loadDialogFileName_ = file.name;
    ShellState& shell = context_.editor.shell;
    shell.CurrentFilePath = path;
    shell.CurrentFileName = file.name;
    shell.CurrentFileDirectory = file.directory;
    LoadTDDDFile();
    SetFileCommands();
}

void TVANEForm::SetFileCommands() {
    const bool held = FileHeld();
    ui_->SaveButton->setEnabled(held);
    ui_->Save1->setEnabled(held);
    ui_->SaveAs1->setEnabled(held);
    ui_->FindMissingFiles1->setEnabled(held && context_.file.Paths.Count() > 0);
    if (held) {
        if (context_.file.Paths.TextureCount > 0) ui_->TexFNameUpdateButton->setEnabled(true);
        ui_->UpdateDefPathsButton->setEnabled(true);
    } else {
        ui_->TexFNameUpdateButton->setEnabled(false);
        ui_->UpdateDefPathsButton->setEnabled(false);
    }
}

void TVANEForm::LoadTDDDFile() {
    linkMarks_.clear();
    // Clear the pages.
    {
        const QSignalBlocker block(ui_->PathDetailList);
        ui_->PathDetailList->clearContents();
        ui_->PathDetailList->setRowCount(1);
        ui_->PathDetailList->setCurrentCell(0, 0);
    }
    {
        const QSignalBlocker block(ui_->SummaryList);
        ui_->SummaryList->clear();
    }
    ui_->Details_OldPath->clear();
    ui_->Details_OldPath->setToolTip(QString());
    ui_->Details_NewPath->clear();
    ui_->Summary_NewPath->clear();
    ui_->NewFileNameEdit->clear();
    ui_->DescEdit->clear();
    ui_->DescEdit->setEnabled(false);
    ui_->ResetDescButton->setEnabled(false);

    const ShellState& shell = context_.editor.shell;
    const std::string path =
        std::string(shell.CurrentFileDirectory.view()) + std::string(shell.CurrentFileName.view());
    const ReadStatus status = ReadObjectFile(context_, path, true);

    if (status != ReadStatus::Ok) {
        setWindowTitle(kProgramTitle);
        DisableEditingControls();
        ui_->Loadbutton->setFocus();
        RememberSavedState();
        return;
    }

    setWindowTitle(QString::fromLatin1(kProgramTitle) + QStringLiteral("  -  ") +
                   ShowLocal(shell.CurrentFileName));
    const ObjectFile& file = context_.file;
    ui_->PathDetailList->setHorizontalHeaderLabels(
        file.IsProject ? QStringList{QStringLiteral("Name"), QStringLiteral("File"),
                                     QStringLiteral("Description")}
                       : QStringList{QStringLiteral("Part"), QStringLiteral("Brush/Texture/Object"),
                                     QStringLiteral("Description")});

    for (QWidget* control : std::initializer_list<QWidget*>{
             ui_->SummaryList, ui_->Summary_NewPath, ui_->SelectPath1, ui_->PathDetailList,
             ui_->Details_NewPath, ui_->SelectPath2, ui_->NewFileNameButton, ui_->NewFileNameEdit,
             ui_->PrintButton, ui_->DeleteButton}) {
        control->setEnabled(true);
    }
    ui_->Print1->setEnabled(true);

    FillDetailGrid();

    {
        const QSignalBlocker block(ui_->SummaryList);
        for (const SummaryEntry& entry : file.Summary)
            ui_->SummaryList->addItem(Shown(entry.OldDirectory));
        if (!file.Summary.empty()) ui_->SummaryList->setCurrentRow(0);
    }

    if (file.Paths.Count() > 0) ShowRecordFields(file.Paths.AtDisplay(1), true);
    if (!file.Summary.empty())
        ui_->Summary_NewPath->setText(Shown(file.Summary.front().NewDirectory));
    // The reset buttons tell whether what is shown differs from the file; a
    // fresh file has nothing to apply, and "Update Details" pressed now would
    // only undo directories the default lists set on load.
    SetResetButtonsForShownItems();
    ui_->Update->setEnabled(false);

    const Settings& s = context_.editor.settings;
    ui_->UpdateSuffixButton->setEnabled(s.TextureSuffixSelection != kTextureSuffixAsIs ||
                                        s.BrushSuffixSelection != kBrushSuffixAsIs);
    RememberSavedState();
    RememberAppliedSummary();
}

void TVANEForm::DisableEditingControls() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui_->SummaryList, ui_->Summary_NewPath, ui_->SelectPath1, ui_->PathDetailList,
             ui_->Details_NewPath, ui_->SelectPath2, ui_->NewFileNameButton, ui_->NewFileNameEdit,
             ui_->ResetButton1, ui_->ResetButton2, ui_->ResetFileButton, ui_->Update,
             ui_->PrintButton, ui_->UpdateSuffixButton, ui_->DeleteButton, ui_->DescEdit,
             ui_->ResetDescButton}) {
        control->setEnabled(false);
    }
    ui_->Print1->setEnabled(false);
}

bool TVANEForm::WriteHeldFile(const std::string& target) {
    // Backs the file up (asking when no backup name is free), writes it, and
    // puts the backup back when the write fails, as on a full disk.
    return SaveObjectFile(context_, target, true) == SaveStatus::Written;
}

void TVANEForm::SaveButtonClick() {
    // Nothing is held after a failed load: writing now would put an empty
    // FORM over the file named by CurrentFilePath.
    if (!FileHeld()) return;
    if (!EnterTypedTexts() || !OfferSummaryChanges()) return;
    SaveHeldFile();
}

bool TVANEForm::SaveHeldFile() {
    ShellState& shell = context_.editor.shell;
    const std::string target(shell.CurrentFilePath.view());
    // Reading the file again after a failed or declined write would throw the
    // edits away for what is still on disk; they stay, so the user can try
    // again or save elsewhere.
    if (!WriteHeldFile(target)) return false;
    if (shell.WorkingReloadAfterSave) {
        const ChosenFile file = SplitChosenFile(target);
        shell.CurrentFileDirectory = file.directory;
        shell.CurrentFileName = file.name;
        LoadTDDDFile();
        if (!FileHeld()) SetFileCommands();
    } else {
        RememberSavedState();
    }
    return true;
}

void TVANEForm::SaveAs1Click() {
    if (!FileHeld()) return;
    // With the Summary page in front its changes are applied below, as the
    // design has it; from another page the user is asked first.
    const bool summaryInFront = PageAtTab(ui_->TabbedNotebook1->currentIndex()) == Page::Summary;
    if (!EnterTypedTexts() || (!summaryInFront && !OfferSummaryChanges())) return;
    ShellState& shell = context_.editor.shell;
    FileDialogRequest request;
    request.title = "Save Imagine Object File";
    request.filter = "All Files|*.*";
    request.directory = shell.CurrentFileDirectory;
    request.fileName = shell.CurrentFileName;
    request.defaultSuffix = "new";
    const std::optional<std::string> chosen = dialogs_.SaveFile(request);
    if (!chosen) return;

    if (summaryInFront) {
        ApplySummary(context_.file);
        RememberAppliedSummary();
    }
    // Nothing written: the editor stays on the file it holds, edits included.
    if (!WriteHeldFile(*chosen)) return;
    if (shell.WorkingReloadAfterSave) {
        const ChosenFile file = SplitChosenFile(*chosen);
        shell.CurrentFilePath = *chosen;
        shell.CurrentFileName = file.name;
        shell.CurrentFileDirectory = file.directory;
        LoadTDDDFile();
        if (!FileHeld()) SetFileCommands();
    } else {
        // The edits are safe in the file just written.
        RememberSavedState();
    }
}

void TVANEForm::TabbedNotebook1Change(int index) {
    std::optional<Page> page = PageAtTab(index);
    // Leaving the Details page enters what was typed there: coming back
    // shows the record's fields afresh.
    if (shownPage_ == Page::Details && page != Page::Details && !EnterTypedRecordTexts()) {
        // Refused: the page stays in front with the text and its message.
        const QSignalBlocker block(ui_->TabbedNotebook1);
        ui_->TabbedNotebook1->setCurrentIndex(TabIndex(Page::Details));
        page = Page::Details;
    }
    const bool cameToDetails = page == Page::Details && shownPage_ != Page::Details;
    shownPage_ = page;
    const auto views = PageItems(*ui_);
    for (const auto& [action, number] : views) action->setChecked(number == page);

    if (cameToDetails && context_.file.Loaded && context_.file.Paths.Count() > 0) {
        if (const PathRecord* record = CurrentRecord()) {
            ShowRecordFields(*record, false);
            SetResetButtons(*record, false);
        }
    }
}

void TVANEForm::PromptListChange(int item) {
    context_.editor.settings.PromptIfDirectoryExists = item == 0;
}

std::string TVANEForm::StartDirectory(const QString& fieldText) const {
    TypedText typed = ReadTyped(fieldText, TextSet());
    if (typed.ok() && !typed.bytes.empty() && DirectoryExistsHere(context_.editor, typed.bytes))
        return std::move(typed.bytes);
    return context_.editor.settings.ImagineDirectory.str();
}

std::string TVANEForm::DirectoryMissingMessage(std::string_view directory) const {
    std::string message = "Directory does not exist";
    const ResolvedPath resolved =
        ResolveObjectPath(context_.editor.settings, directory, EntryKind::Directory);
    if (resolved.status == ResolveStatus::UnmappedVolume ||
        resolved.status == ResolveStatus::NoImagineDirectory) {
        message += "\n" + DescribeResolvedPath(directory, resolved, TextSet());
    }
    return message;
}

std::string TVANEForm::ChosenDirectoryText(const std::string& chosen) const {
    if (context_.editor.settings.UseShortDirectory)
        return TruncateImagineDirectory(context_.editor, chosen);
    return chosen;
}

}  // namespace tessvane
