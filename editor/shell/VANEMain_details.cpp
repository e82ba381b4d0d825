// The Details page: one row per path record in display order, and the fields
// that give the current record a new directory, file name and description.
#include <QHeaderView>
#include <QListWidget>
#include <QMouseEvent>

#include "DirUnit.h"
#include "VANEMain.h"
#include "core/chunk_format.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/texture_module.h"
#include "core/volume_map.h"
#include "event_hook.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {
namespace {

// D + '\' + name, without a second separator after a drive or a '\'.
std::string JoinFileName(const std::string& directory, std::string_view name) {
    std::string path = directory;
    if (!path.empty() && path.back() != ':' && path.back() != '\\') path += '\\';
    path += name;
    return path;
}

bool IsTexture(const PathRecord& record) {
    return record.Kind == PathKind::Texture;
}

}  // namespace

void TVANEForm::ConnectDetailsPage() {
    QTableWidget* grid = ui_->PathDetailList;
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setColumnWidth(0, 150);
    grid->setColumnWidth(1, 136);
    grid->setColumnWidth(2, 167);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->horizontalHeader()->setSectionsClickable(false);
    grid->horizontalHeader()->viewport()->installEventFilter(this);

    connect(grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row != previousRow) PathDetailListClick();
            });
    // A click on the row already current shows its record again, too.
    connect(grid, &QTableWidget::cellClicked, this, [this](int, int) { PathDetailListClick(); });
    connect(grid, &QTableWidget::itemSelectionChanged, this, &TVANEForm::PathDetailListSelectCell);
    // What was typed for the record shown is entered before another record
    // takes its place; a text that is refused keeps its record on screen.
    HookRowChanges(grid, [this] { return EnterTypedRecordTexts(); });
    connect(ui_->Details_NewPath, &QLineEdit::returnPressed, this,
            &TVANEForm::Details_NewPathKeyDown);
    connect(ui_->SelectPath2, &QPushButton::clicked, this, &TVANEForm::SelectPath2Click);
    connect(ui_->ResetButton2, &QPushButton::clicked, this, &TVANEForm::ResetButton2Click);
    connect(ui_->NewFileNameEdit, &QLineEdit::returnPressed, this,
            &TVANEForm::NewFileNameEditKeyDown);
    connect(ui_->NewFileNameButton, &QPushButton::clicked, this,
            &TVANEForm::NewFileNameButtonClick);
    connect(ui_->ResetFileButton, &QPushButton::clicked, this, &TVANEForm::ResetFileButtonClick);
    connect(ui_->DescEdit, &QLineEdit::returnPressed, this, &TVANEForm::DescEditKeyDown);
    connect(ui_->ResetDescButton, &QPushButton::clicked, this, &TVANEForm::ResetDescButtonClick);
    connect(ui_->DeleteButton, &QPushButton::clicked, this, &TVANEForm::DeleteButtonClick);
}

bool TVANEForm::eventFilter(QObject* watched, QEvent* event) {
    // PathDetailListMouseUp: a release over the heading row sorts by the
    // column under the pointer; right of the last column restores file order.
    if (watched == ui_->PathDetailList->horizontalHeader()->viewport() &&
        event->type() == QEvent::MouseButtonRelease && ui_->PathDetailList->isEnabled()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        SortByHeading(
            ui_->PathDetailList->horizontalHeader()->logicalIndexAt(mouse->position().toPoint()));
    }
    return QMainWindow::eventFilter(watched, event);
}

void TVANEForm::SortByHeading(int column) {
    if (!context_.file.Loaded) return;
    const std::uint16_t mode = column < 0 ? kSortFileOrder : static_cast<std::uint16_t>(column + 1);
    if (mode > kSortByOldDescription || mode == context_.editor.shell.SortMode) return;
    // Another record comes under the cursor.
    if (!EnterTypedRecordTexts()) return;
    context_.editor.shell.SortMode = mode;
    SortDisplayOrder(context_);
    FillDetailGrid();
    // The row under the cursor now holds another record: show that one, so
    // that Enter and the reset buttons change the record the fields show.
    if (const PathRecord* record = CurrentRecord()) {
        ShowRecordFields(*record, true);
        SetResetButtons(*record, true);
    }
}

PathRecord* TVANEForm::CurrentRecord() {
    PathList& paths = context_.file.Paths;
    const int row = ui_->PathDetailList->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= paths.Count()) return nullptr;
    return &paths.AtDisplay(static_cast<std::size_t>(row) + 1);
}

void TVANEForm::FillDetailGrid() {
    const PathList& paths = context_.file.Paths;
    QTableWidget* grid = ui_->PathDetailList;
    const QSignalBlocker block(grid);
    const int current = std::max(0, grid->currentRow());
    grid->clearContents();
    grid->setRowCount(std::max<int>(1, static_cast<int>(paths.Count())));
    for (std::size_t i = 1; i <= paths.Count(); ++i) {
        const PathRecord& r = paths.AtDisplay(i);
        const int row = static_cast<int>(i - 1);
        grid->setItem(row, 0, new QTableWidgetItem(Shown(r.PartName)));
        grid->setItem(row, 1, new QTableWidgetItem(Shown(r.OldFileName)));
        grid->setItem(row, 2, new QTableWidgetItem(Shown(r.OldDescription)));
        MarkDetailRow(row, r);
    }
    grid->setCurrentCell(std::min(current, grid->rowCount() - 1), 0);
}

void TVANEForm::ShowFileTexts() {
    const ObjectFile& file = context_.file;
    if (file.Paths.Count() == 0) return;
    FillDetailGrid();
    {
        const QSignalBlocker block(ui_->SummaryList);
        for (std::size_t i = 0; i < file.Summary.size(); ++i) {
            if (QListWidgetItem* line = ui_->SummaryList->item(static_cast<int>(i)))
                line->setText(Shown(file.Summary[i].OldDirectory));
        }
    }
    if (const SummaryEntry* entry = SelectedSummaryEntry())
        ui_->Summary_NewPath->setText(Shown(entry->NewDirectory));
    if (const PathRecord* record = CurrentRecord()) ShowRecordFields(*record, true);
}

void TVANEForm::ShowOldPath(const PathText& directory) {
    // A directory longer than the panel gives way in the middle, so that both
    // its start and the directory that holds the file stay in sight; the
    // whole of it is the tool tip.
    QLabel* panel = ui_->Details_OldPath;
    const QString text = Shown(directory);
    const int room = panel->contentsRect().width() - 2 * panel->margin() - 4;
    panel->setText(panel->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    panel->setToolTip(text);
}

void TVANEForm::ShowRecordFields(const PathRecord& record, bool withDescription) {
    ShowOldPath(record.OldDirectory);
    ui_->Details_NewPath->setText(Shown(record.NewDirectory));
    ui_->NewFileNameEdit->setText(Shown(record.NewFileName));
    if (withDescription) ui_->DescEdit->setText(Shown(record.NewDescription));
    // Only a chunk with a description field can take what is typed here (a
    // BRS1 brush or a TXT1 texture has none, and Save would write nothing).
    ui_->DescEdit->setEnabled(RecordHasDescriptionField(context_.file, record));
}

void TVANEForm::SetResetButtonsForShownItems() {
    if (const PathRecord* record = CurrentRecord()) SetResetButtons(*record, true);
    if (const SummaryEntry* entry = SelectedSummaryEntry())
        ui_->ResetButton1->setEnabled(!(entry->NewDirectory == entry->OldDirectory));
}

void TVANEForm::SetResetButtons(const PathRecord& record, bool withDescription) {
    ui_->ResetButton2->setEnabled(!(record.NewDirectory == record.OldDirectory));
    ui_->ResetFileButton->setEnabled(!(record.NewFileName == record.OldFileName));
    if (withDescription)
        ui_->ResetDescButton->setEnabled(!(record.NewDescription == record.OldDescription));
}

void TVANEForm::PathDetailListClick() {
    const PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    ShowRecordFields(*record, true);
    ui_->Details_NewPath->setFocus();
    SetResetButtons(*record, true);
}

void TVANEForm::PathDetailListSelectCell() {
    if (CurrentRecord() != nullptr) ui_->DeleteButton->setEnabled(true);
}

void TVANEForm::Details_NewPathKeyDown() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    StoreDetailsNewPath(*record);
    ui_->NewFileNameEdit->setFocus();
}

bool TVANEForm::StoreDetailsNewPath(PathRecord& record) {
    std::string typed;
    if (!Typed(ui_->Details_NewPath, typed)) return false;
    const Settings& s = context_.editor.settings;
    if (s.ValidateDirectory && s.Computer == ComputerType::PC) {
        if (!DirectoryExistsHere(context_.editor, typed)) {
            Warn(DirectoryMissingMessage(typed));
            return false;
        }
        if (s.ValidateFiles && !FileExistsHere(context_.editor, typed, record.OldFileName)) {
            Warn(IsTexture(record) ? "Texture File does not exist in this Directory"
                                   : "Brush File does not exist in this Directory");
            return false;
        }
    }
    record.NewDirectory = typed;
    ui_->ResetButton2->setEnabled(!(record.NewDirectory == record.OldDirectory));
    return true;
}

void TVANEForm::SelectPath2Click() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    DirectoryRequest request;
    switch (record->Kind) {
        case PathKind::Texture:
            request.title = "Select Texture Directory";
            break;
        case PathKind::Brush:
            request.title = "Select Brush Directory";
            break;
        default:
            request.title = "Select Brush/Texture Directory";
            break;
    }
    request.start = StartDirectory(ui_->Details_NewPath->text());
    const std::optional<std::string> chosen = dialogs_.ChooseDirectory(request);
    if (!chosen) return;
    if (context_.editor.settings.ValidateFiles &&
        !FileExistsHere(context_.editor, *chosen, record->OldFileName)) {
        Warn(IsTexture(*record) ? "Texture File does not exist in this directory"
                                : "Brush File does not exist in this directory");
        return;
    }
    const std::string text = ChosenDirectoryText(*chosen);
    ui_->Details_NewPath->setText(Shown(text));
    record->NewDirectory = text;
    ui_->ResetButton2->setEnabled(true);
    ui_->Update->setEnabled(true);
}

void TVANEForm::ResetButton2Click() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    record->NewDirectory = record->OldDirectory;
    ui_->Details_NewPath->setText(Shown(record->NewDirectory));
    ui_->ResetButton2->setEnabled(false);
    ui_->Update->setEnabled(true);
}

void TVANEForm::NewFileNameEditKeyDown() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    StoreNewFileName(*record);
    ui_->DescEdit->setFocus();
}

bool TVANEForm::StoreNewFileName(PathRecord& record) {
    std::string typed;
    if (!Typed(ui_->NewFileNameEdit, typed)) return false;
    const Settings& s = context_.editor.settings;
    if (s.Computer == ComputerType::PC) {
        const std::string directory(record.NewDirectory.view());
        if (s.ValidateFiles && !FileExistsHere(context_.editor, directory, typed)) {
            Warn(IsTexture(record) ? "Texture File does not exist in this Directory"
                                   : "Brush File does not exist in this Directory");
            ui_->NewFileNameEdit->setText(Shown(record.NewFileName));
            return false;
        }
        record.NewFileName = typed;
        if (IsTexture(record)) {
            const ResolvedPath full =
                ResolveObjectPath(s, JoinFileName(directory, typed), EntryKind::File);
            if (full.found()) TakeTextureDescription(record, full.local);
        }
    } else {
        record.NewFileName = typed;
    }
    ui_->ResetFileButton->setEnabled(!(record.NewFileName == record.OldFileName));
    ui_->ResetDescButton->setEnabled(!(record.NewDescription == record.OldDescription));
    return true;
}

void TVANEForm::TakeTextureDescription(PathRecord& record, const std::string& path) {
    if (!RecordHasDescriptionField(context_.file, record)) return;
    const std::string description = InquireTextureDescription(path);
    if (description.empty()) return;
    record.NewDescription = description;
    ui_->DescEdit->setText(Shown(record.NewDescription));
}

void TVANEForm::NewFileNameButtonClick() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    FileDialogRequest request;
    request.title = "Select Brush/Texture File";
    request.filter = kObjectFileFilter;
    request.directory =
        LocalStartDirectory(context_.editor.settings, StartDirectory(ui_->Details_NewPath->text()));
    request.fileName = LocalText(ui_->NewFileNameEdit->text());
    const std::optional<std::string> chosen = dialogs_.OpenFile(request);
    if (!chosen) return;

    const std::size_t sep = chosen->find_last_of("/\\");
    const QString name = ShowLocal(sep == std::string::npos ? *chosen : chosen->substr(sep + 1));
    // Both go into the object file, the directory in its form through the
    // volume map: a character the set cannot hold refuses the whole choice
    // before anything changes.
    const std::optional<std::string> nameInSet = InSet(name);
    if (!nameInSet) return;
    const ObjectForm directory =
        ObjectFormOfLocalPath(context_.editor.settings,
                              sep == std::string::npos ? std::string() : chosen->substr(0, sep));
    const bool newDirectory = context_.editor.settings.ValidateFiles &&
                              Shown(directory.path) != ui_->Details_NewPath->text();
    if (newDirectory && directory.status == ObjectFormStatus::Unencodable) {
        Warn(RefusalMessage(directory.refused, TextSet()));
        return;
    }

    ui_->NewFileNameEdit->setText(name);
    if (newDirectory) {
        const std::string text = ChosenDirectoryText(directory.path);
        ui_->Details_NewPath->setText(Shown(text));
        record->NewDirectory = text;
        ui_->ResetButton2->setEnabled(true);
        ui_->Update->setEnabled(true);
    }
    ui_->Update->setEnabled(true);
    record->NewFileName = *nameInSet;
    ui_->ResetFileButton->setEnabled(!(record->NewFileName == record->OldFileName));

    if (IsTexture(*record)) {
        TakeTextureDescription(*record, *chosen);
        if (!(record->NewDescription == record->OldDescription))
            ui_->ResetDescButton->setEnabled(true);
    }
}

void TVANEForm::ResetFileButtonClick() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    record->NewFileName = record->OldFileName;
    ui_->NewFileNameEdit->setText(Shown(record->NewFileName));
    ui_->ResetFileButton->setEnabled(false);
    ui_->Update->setEnabled(true);
}

void TVANEForm::DescEditKeyDown() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    StoreDescription(*record);
    ui_->Details_NewPath->setFocus();
}

bool TVANEForm::StoreDescription(PathRecord& record) {
    std::string typed;
    if (!Typed(ui_->DescEdit, typed)) return false;
    record.NewDescription = typed;
    if (!(record.NewDescription == record.OldDescription)) ui_->ResetDescButton->setEnabled(true);
    return true;
}

void TVANEForm::ResetDescButtonClick() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr) return;
    record->NewDescription = record->OldDescription;
    ui_->DescEdit->setText(Shown(record->NewDescription));
    ui_->ResetDescButton->setEnabled(false);
    ui_->Update->setEnabled(true);
}

void TVANEForm::DeleteButtonClick() {
    if (CurrentRecord() == nullptr) return;
    const bool yes =
        AskYesNo(&dialogs_, context_.file.IsProject ? "Delete these Effects/Objects ? "
                                                    : "Delete these Textures/Brushes ? ");
    if (!yes) return;

    QTableWidget* grid = ui_->PathDetailList;
    int top = grid->currentRow();
    int bottom = top;
    const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
    if (!ranges.isEmpty()) {
        top = ranges.first().topRow();
        bottom = ranges.first().bottomRow();
        for (const QTableWidgetSelectionRange& range : ranges) {
            top = std::min(top, range.topRow());
            bottom = std::max(bottom, range.bottomRow());
        }
    }
    for (int i = top; i <= bottom; ++i)
        RemovePathRecord(context_.file, static_cast<std::size_t>(top) + 1);
    // The records left are numbered anew.
    linkMarks_.clear();

    const std::size_t left = context_.file.Paths.Count();
    {
        const QSignalBlocker block(grid);
        grid->clearSelection();
        grid->setCurrentCell(std::min<int>(top, std::max<int>(0, static_cast<int>(left) - 1)), 0);
    }
    FillDetailGrid();
    if (left == 0) {
        DisableEditingControls();
        {
            const QSignalBlocker block(ui_->SummaryList);
            ui_->SummaryList->clear();
        }
        for (QLineEdit* field :
             {ui_->Details_NewPath, ui_->Summary_NewPath, ui_->NewFileNameEdit, ui_->DescEdit}) {
            field->clear();
        }
        ui_->Details_OldPath->clear();
        ui_->Details_OldPath->setToolTip(QString());
        return;
    }
    if (const PathRecord* record = CurrentRecord()) {
        ShowRecordFields(*record, true);
        SetResetButtons(*record, true);
    }
}

}  // namespace tessvane
