// TVANEForm: the Tools menu. "Volumes..." edits the volume map; "Find
// Missing Files" looks for every file the held object file names, marks the
// Details rows of those that are not here and offers the places where a file
// of the same name lies.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTableWidget>
#include <filesystem>

#include "VANEMain.h"
#include "candidates_dialog.h"
#include "core/missing_files.h"
#include "ui_VANEMain.h"
#include "volumes_dialog.h"
#include "window_text.h"

namespace tessvane {

namespace {

// How a row of a file that is not here looks.
const QColor kMissingColour(176, 0, 0);

// Shows a busy cursor while a search reads directory trees.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

void TVANEForm::ConnectToolsMenu() {
    connect(ui_->Volumes1, &QAction::triggered, this, &TVANEForm::Volumes1Click);
    connect(ui_->FindMissingFiles1, &QAction::triggered, this, &TVANEForm::FindMissingFiles1Click);
}

void TVANEForm::Volumes1Click() {
    VolumesDialogServices services;
    services.chooseDirectory = [this](const std::string& start) {
        DirectoryRequest request;
        request.title = "Select Directory";
        request.start = start;
        request.form = DirectoryForm::Local;
        return dialogs_.ChooseDirectory(request);
    };
    services.detect = [this] {
        const BusyCursor busy;
        return DetectEmulatorVolumes(emulatorPlaces_ ? *emulatorPlaces_ : EmulatorPlacesOfUser());
    };
    services.warn = [this](const std::string& text) { Warn(text); };
    TVolumesForm dialog(context_.editor.settings.Volumes, TextSet(), std::move(services), this);
    if (dialog.exec() != QDialog::Accepted) return;
    context_.editor.settings.Volumes = dialog.Volumes();
    // What was found or missing may be elsewhere now.
    ClearLinkMarks();
}

void TVANEForm::ClearLinkMarks() {
    if (linkMarks_.empty()) return;
    linkMarks_.clear();
    if (FileHeld()) FillDetailGrid();
}

void TVANEForm::MarkDetailRow(int row, const PathRecord& record) {
    const auto mark = linkMarks_.find(record.ChunkOrdinal);
    if (mark == linkMarks_.end()) return;
    QTableWidget* grid = ui_->PathDetailList;
    for (int column = 0; column < grid->columnCount(); ++column) {
        if (QTableWidgetItem* item = grid->item(row, column)) {
            item->setForeground(kMissingColour);
            item->setToolTip(mark->second);
        }
    }
}

void TVANEForm::FindMissingFiles1Click() {
    if (!FileHeld() || context_.file.Paths.Count() == 0) return;
    // A path typed and not yet entered is the one to look for.
    if (!EnterTypedTexts()) return;
    const Settings& settings = context_.editor.settings;

    std::vector<RecordLink> links;
    {
        const BusyCursor busy;
        const FileIndex index = FileIndex::Build(SearchRoots(settings, {}));
        links = CheckRecordLinks(settings, context_.file, &index);
    }

    linkMarks_.clear();
    std::size_t unmapped = 0;
    std::vector<const RecordLink*> lost;
    for (const RecordLink& link : links) {
        if (link.status == LinkStatus::Found) continue;
        lost.push_back(&link);
        if (link.status == LinkStatus::NotMappable) ++unmapped;
        const PathRecord& record = context_.file.Paths.Record(link.record);
        linkMarks_[record.ChunkOrdinal] =
            QString::fromStdString("Not found by Find Missing Files: " +
                                   DescribeResolvedPath(link.path, link.resolved, TextSet()));
    }
    FillDetailGrid();

    if (lost.empty()) {
        ShowInformation(&dialogs_, "All " + Plural(links.size(), "file", "files") +
                                       " named in the object file were found.");
        return;
    }
    std::string report = std::to_string(lost.size()) + " of " + std::to_string(links.size()) +
                         " files named in the object file " +
                         (lost.size() == 1 ? "is missing" : "are missing") +
                         "; the Details page shows them in red.";
    if (unmapped > 0)
        report += "\n" + Plural(unmapped, "lies", "lie") +
                  " on a volume that is not mapped (Tools, Volumes...) or is relative with no "
                  "Imagine Directory.";
    std::size_t withCandidates = 0;
    for (const RecordLink* link : lost) withCandidates += link->candidates.empty() ? 0 : 1;
    if (settings.Volumes.empty())
        report += "\nNo volume is mapped, so there is nowhere to search for them.";
    else if (withCandidates == 0)
        report += "\nNo file of the same name lies under the mapped volumes.";
    ShowWarning(&dialogs_, report);

    std::size_t relinked = 0;
    for (const RecordLink* link : lost) {
        if (link->candidates.empty()) continue;
        const std::optional<std::string> chosen = ChooseCandidate(*link);
        if (!chosen) continue;
        if (chosen->empty()) break;  // the user stopped the search
        const RelinkOutcome outcome = RelinkRecord(context_, link->record, *chosen);
        if (outcome.status != RelinkStatus::Relinked) {
            Warn(outcome.message);
            continue;
        }
        ++relinked;
        linkMarks_.erase(context_.file.Paths.Record(link->record).ChunkOrdinal);
    }
    if (withCandidates == 0) return;
    FillDetailGrid();
    if (const PathRecord* record = CurrentRecord()) {
        ShowRecordFields(*record, true);
        SetResetButtons(*record, true);
    }
    if (relinked > 0) ui_->Update->setEnabled(true);
    ShowInformation(&dialogs_, Plural(relinked, "file was", "files were") + " given a new path; " +
                                   Plural(lost.size() - relinked, "is", "are") + " still missing.");
}

std::optional<std::string> TVANEForm::ChooseCandidate(const RecordLink& link) {
    const Settings& settings = context_.editor.settings;
    const PathRecord& record = context_.file.Paths.Record(link.record);
    const QString part = Shown(record.PartName);
    const QString missing = Shown(link.path);
    const auto objectDirectory = [&](const std::string& local) {
        const ObjectForm form =
            ObjectFormOfLocalPath(settings, std::filesystem::path(local).parent_path().string());
        if (form.status == ObjectFormStatus::Mapped) return Shown(form.path);
        if (form.status == ObjectFormStatus::Unencodable)
            return QString::fromStdString(RefusalMessage(form.refused, TextSet()));
        return QStringLiteral("(on no mapped volume)");
    };

    if (link.candidates.size() == 1) {
        const std::string& local = link.candidates.front().local;
        const QString name = QFileInfo(ShowLocal(local)).fileName();
        const QString current = Shown(record.NewFileName);
        QString offer = (part.isEmpty() ? QString() : part + ": ") + missing +
                        " is missing.\nA file of that name lies at " + ShowLocal(local) +
                        "\n\nNew Path: " + objectDirectory(local);
        if (name != current && name.compare(current, Qt::CaseInsensitive) == 0)
            offer += "\nNew FileName: " + name;
        offer += "\n\nUse it?";
        switch (AskYesNoCancel(&dialogs_, offer.toStdString())) {
            case MessageAnswer::Yes:
                return local;
            case MessageAnswer::No:
                return std::nullopt;
            default:
                return std::string();
        }
    }

    std::vector<CandidateRow> rows;
    for (const Candidate& candidate : link.candidates)
        rows.push_back({ShowLocal(candidate.local), objectDirectory(candidate.local),
                        int(candidate.sharedDirectories)});
    TCandidatesForm dialog(part, missing, rows, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const std::optional<std::size_t> picked = dialog.Picked();
    if (!picked) return std::nullopt;
    return link.candidates[*picked].local;
}

}  // namespace tessvane
