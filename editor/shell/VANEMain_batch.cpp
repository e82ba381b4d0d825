// TVANEForm: the Batch page. The options store their settings as they change;
// the file button builds the batch list; "Process" runs the batch over it,
// showing each file's result in the list and the files done in the bar.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "VANEMain.h"
#include "core/batch.h"
#include "core/batch_log.h"
#include "core/file_system.h"
#include "event_hook.h"
#include "state/program_directory.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

namespace {

// Moves the page's list and bar along with the run. The run happens inside
// the click handler, so the two controls are repainted at once instead of
// waiting for the event loop.
class BatchPageObserver final : public BatchObserver {
  public:
    BatchPageObserver(QListWidget& list, QProgressBar& bar) : list_(list), bar_(bar) {}

    void RunStarted(std::size_t count) override {
        bar_.setEnabled(true);
        bar_.setRange(0, int(count));
        bar_.setValue(0);
        bar_.repaint();
    }

    void FileFinished(std::size_t index, std::string_view path, BatchStatus status) override {
        const QString line = ShowLocal(BatchResultLine(path, status));
        QListWidgetItem* item = list_.item(int(index) - 1);
        if (item == nullptr) {
            item = new QListWidgetItem(&list_);
        }
        item->setText(line);
        item->setToolTip(line);
        bar_.setValue(int(index));
        list_.repaint();
        bar_.repaint();
    }

    void RunFinished() override {
        bar_.setValue(0);
        bar_.setEnabled(false);
    }

  private:
    QListWidget& list_;
    QProgressBar& bar_;
};

}  // namespace

void TVANEForm::ConnectBatchPage() {
    auto& ui = *ui_;
    Settings& settings = context_.editor.settings;
    connect(ui.SelectFilesButton, &QPushButton::clicked, this, &TVANEForm::SelectFilesButtonClick);
    connect(ui.ProcessButton, &QPushButton::clicked, this, &TVANEForm::ProcessButtonClick);
    connect(ui.SaveDirButton, &QPushButton::clicked, this, &TVANEForm::SaveDirButtonClick);
    connect(ui.OriginalDirCheck, &QCheckBox::clicked, this, &TVANEForm::OriginalDirCheckClick);
    connect(ui.DefDirectoryCheck, &QCheckBox::clicked, this, [this, &settings](bool on) {
        settings.BatchUseDefaultDirectories = on;
        SetBatchPromptControls();
    });
    connect(ui.DefTexCheck, &QCheckBox::clicked, this, [this, &settings](bool on) {
        settings.BatchUseDefaultTextures = on;
        SetBatchPromptControls();
    });
    connect(ui.DirTexPrompt, &QCheckBox::clicked, this, [this, &settings](bool on) {
        settings.PromptForNewTexturesDirectory = on;
        SetBatchPromptControls();
    });
    connect(ui.BackupCheck, &QCheckBox::clicked, this,
            [&settings](bool on) { settings.CreateBackups = on; });
    connect(ui.LogCheck, &QCheckBox::clicked, this,
            [&settings](bool on) { settings.GenerateLog = on; });
    connect(ui.BatchExtCheck, &QCheckBox::clicked, this,
            [&settings](bool on) { settings.BatchUpdateFileSuffix = on; });
    new EventHook(ui.SaveDir, [this](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        SaveDirKeyDown();
        return true;
    });
    // Lines are shown whole; a path wider than the list scrolls sideways.
    ui.TDDDList->setTextElideMode(Qt::ElideNone);
    ui.TDDDList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SetBatchPromptControls();
}

void TVANEForm::SetBatchPromptControls() {
    const Settings& settings = context_.editor.settings;
    const bool from_list = settings.BatchUseDefaultDirectories || settings.BatchUseDefaultTextures;
    ui_->DirTexPrompt->setEnabled(from_list);
    ui_->PromptList->setEnabled(from_list && settings.PromptForNewTexturesDirectory);
}

void TVANEForm::ShowBatchList() {
    ui_->TDDDList->clear();
    for (const BatchFileEntry& entry : batchList_.Entries()) {
        auto* item = new QListWidgetItem(ShowLocal(entry.Path()), ui_->TDDDList);
        item->setToolTip(item->text());
    }
    ui_->ProcessButton->setEnabled(!batchList_.Empty());
    ui_->SelectFilesButton->setText(ShowLocal(BatchSelectButtonCaption(batchList_)));
}

void TVANEForm::SelectFilesButtonClick() {
    FileDialogRequest request;
    request.title = "Select Imagine Object Files";
    request.filter = kObjectFileFilter;
    request.directory = context_.editor.shell.CurrentFileDirectory.str();
    const std::vector<std::string> chosen = dialogs_.OpenFiles(request);
    if (chosen.empty()) {
        // Cancelled: the list, and the results it shows, stay as they were.
        ui_->SelectFilesButton->setText(ShowLocal(BatchSelectButtonCaption(batchList_)));
        return;
    }
    const BatchSelectionResult added = batchList_.AddSelection(chosen, context_.editor.shell);
    ShowBatchList();
    if (!added.refused.empty()) {
        std::string text =
            "These files were not added; their paths are longer than 255 characters:";
        for (const std::string& path : added.refused) text += "\n" + path;
        Warn(text);
    }
}

void TVANEForm::ProcessButtonClick() {
    // The run reads every file into the editor's one object file.
    if (!MayDropHeldFile()) return;
    BatchRunOptions options;
    options.saveDirectory = LocalText(ui_->SaveDir->text());
    // An installed program's directory is not writable: the log then goes
    // where the settings file is.
    const std::filesystem::path settingsParent = std::filesystem::path(settingsFile_).parent_path();
    const std::string settingsDirectory =
        settingsParent.empty() ? std::string() : settingsParent.string() + "/";
    options.logPath =
        BatchLogDirectory(context_.editor.shell.ProgramDirectory.str(), settingsDirectory) +
        std::string(kBatchLogFileName);
    BatchPageObserver observer(*ui_->TDDDList, *ui_->ProgressBar1);
    RunBatch(context_, batchList_, options, *batchClock_, &observer);
    ui_->SelectFilesButton->setText(QStringLiteral("Select Object Files"));
    SetDefDirectoryList();
    SetDefTextureList();
    // Every batch file was dropped after it was handled: the editor holds no
    // file now, and nothing may be saved over the last one.
    ShowNoFileHeld();
}

void TVANEForm::ShowNoFileHeld() {
    linkMarks_.clear();
    ui_->PathDetailList->clearContents();
    ui_->PathDetailList->setRowCount(1);
    {
        const QSignalBlocker block(ui_->SummaryList);
        ui_->SummaryList->clear();
    }
    for (QLineEdit* field :
         {ui_->Details_NewPath, ui_->Summary_NewPath, ui_->NewFileNameEdit, ui_->DescEdit})
        field->clear();
    ui_->Details_OldPath->clear();
    ui_->DescEdit->setEnabled(false);
    ui_->ResetDescButton->setEnabled(false);
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    DisableEditingControls();
    SetFileCommands();
    RememberSavedState();
}

void TVANEForm::OriginalDirCheckClick(bool on) {
    context_.editor.shell.SaveInOriginalDirectory = on;
    if (on)
        ui_->SaveDir->clear();
    else
        ui_->SaveDir->setText(ShowLocal(context_.editor.settings.SaveDirectory));
    ui_->SaveDir->setEnabled(!on);
    ui_->SaveDirButton->setEnabled(!on);
}

void TVANEForm::SaveDirButtonClick() {
    const std::string typed = LocalText(ui_->SaveDir->text());
    DirectoryRequest request;
    request.title = "Select Object Save Directory";
    request.form = DirectoryForm::Local;
    request.start =
        DirectoryExists(typed) ? typed : context_.editor.shell.CurrentFileDirectory.str();
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory(request);
    if (!chosen) return;
    context_.editor.settings.SaveDirectory = *chosen;
    ui_->SaveDir->setText(ShowLocal(context_.editor.settings.SaveDirectory));
}

void TVANEForm::SaveDirKeyDown() {
    const std::string typed = LocalText(ui_->SaveDir->text());
    if (DirectoryExists(typed))
        context_.editor.settings.SaveDirectory = typed;
    else
        ui_->SaveDir->setText(ShowLocal(context_.editor.settings.SaveDirectory));
}

}  // namespace tessvane
