// The Summary page: one line per distinct old directory, and the new
// directory chosen for it. Changes reach the records through "Update Details"
// (or Save As while this page is in front).
#include "VANEMain.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "event_hook.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

void TVANEForm::ConnectSummaryPage() {
    connect(ui_->SummaryList, &QListWidget::itemClicked, this, &TVANEForm::SummaryListClick);
    connect(ui_->SummaryList, &QListWidget::currentRowChanged, this, &TVANEForm::SummaryListClick);
    connect(ui_->Summary_NewPath, &QLineEdit::returnPressed, this,
            &TVANEForm::Summary_NewPathKeyDown);
    connect(ui_->SelectPath1, &QPushButton::clicked, this, &TVANEForm::SelectPath1Click);
    connect(ui_->ResetButton1, &QPushButton::clicked, this, &TVANEForm::ResetButton1Click);
    connect(ui_->Update, &QPushButton::clicked, this, &TVANEForm::UpdateClick);

    // A directory typed for one line is entered before another line is
    // chosen; a text that is refused keeps its line chosen.
    HookRowChanges(ui_->SummaryList, [this] { return EnterTypedSummaryText(); });
}

SummaryEntry* TVANEForm::SelectedSummaryEntry() {
    const int row = ui_->SummaryList->currentRow();
    SummaryEntries& entries = context_.file.Summary;
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) return nullptr;
    return &entries[static_cast<std::size_t>(row)];
}

void TVANEForm::SummaryListClick() {
    const SummaryEntry* entry = SelectedSummaryEntry();
    if (entry == nullptr) return;
    ui_->Summary_NewPath->setText(Shown(entry->NewDirectory));
    ui_->Summary_NewPath->setFocus();
    ui_->ResetButton1->setEnabled(!(entry->NewDirectory == entry->OldDirectory));
}

void TVANEForm::Summary_NewPathKeyDown() {
    if (SummaryEntry* entry = SelectedSummaryEntry()) StoreSummaryNewPath(*entry);
}

bool TVANEForm::StoreSummaryNewPath(SummaryEntry& entry) {
    std::string typed;
    if (!Typed(ui_->Summary_NewPath, typed)) return false;
    const Settings& s = context_.editor.settings;
    if (s.ValidateDirectory && s.Computer == ComputerType::PC &&
        !DirectoryExistsHere(context_.editor, typed)) {
        Warn(DirectoryMissingMessage(typed));
        return false;
    }
    entry.NewDirectory = typed;
    ui_->Update->setEnabled(true);
    ui_->ResetButton1->setEnabled(true);
    return true;
}

void TVANEForm::SelectPath1Click() {
    SummaryEntry* entry = SelectedSummaryEntry();
    if (entry == nullptr) return;
    DirectoryRequest request;
    request.title = "Select Brush/Texture Directory";
    request.start = StartDirectory(ui_->Summary_NewPath->text());
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory(request);
    if (!chosen) return;
    const std::string text = ChosenDirectoryText(*chosen);
    ui_->Summary_NewPath->setText(Shown(text));
    entry->NewDirectory = text;
    ui_->ResetButton1->setEnabled(true);
    ui_->Update->setEnabled(true);
}

void TVANEForm::ResetButton1Click() {
    SummaryEntry* entry = SelectedSummaryEntry();
    if (entry == nullptr) return;
    entry->NewDirectory = entry->OldDirectory;
    ui_->Summary_NewPath->setText(Shown(entry->NewDirectory));
    ui_->ResetButton1->setEnabled(false);
    ui_->Update->setEnabled(true);
}

void TVANEForm::UpdateClick() {
    // A directory typed and not yet entered is what the user means to apply.
    if (!EnterTypedSummaryText()) return;
    ApplySummary(context_.file);
    RememberAppliedSummary();
    // Many records may name other files now.
    ClearLinkMarks();
    ui_->Update->setEnabled(false);
}

}  // namespace tessvane
