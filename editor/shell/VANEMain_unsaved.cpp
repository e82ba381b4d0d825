// TVANEForm: the user's work is never dropped unasked. What was typed and
// not confirmed is entered before it could be lost, Summary changes not yet
// applied are offered, and a held file that differs from what was read or
// last written is offered for saving before the window closes, another file
// is loaded or a batch run replaces it.
#include "VANEMain.h"
#include "core/path_rules.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {
namespace {

// Everything of the held file that the editor changes: each record's texts
// in file order (a deleted record shortens the list) and the number of chunks.
std::vector<std::string> EditState(const ObjectFile& file) {
    std::vector<std::string> state;
    state.reserve(file.Paths.Count() + 1);
    state.push_back(std::to_string(file.Chunks.size()));
    for (const PathRecord& r : file.Paths.Records) {
        std::string texts;
        for (std::string_view text :
             {r.OldDirectory.view(), r.OldFileName.view(), r.NewDirectory.view(),
              r.NewFileName.view(), r.NewDescription.view()}) {
            texts += text;
            texts += '\0';
        }
        state.push_back(std::move(texts));
    }
    return state;
}

// Whether the field shows something other than `stored`, compared as Enter
// would store it (in the Character Set, cut to the stored length). A text the
// set cannot hold differs: entering it shows the refusal.
template <std::size_t Max>
bool Differs(const QLineEdit* field, const CountedText<Max>& stored, CharacterSet set) {
    if (!field->isEnabled()) return false;
    const TypedText typed = ReadTyped(field->text(), set);
    return !typed.ok() || !(CountedText<Max>(typed.bytes) == stored);
}

}  // namespace

void TVANEForm::RememberSavedState() {
    savedState_ = FileHeld() ? EditState(context_.file) : std::vector<std::string>();
}

bool TVANEForm::HasUnsavedChanges() const {
    return FileHeld() && EditState(context_.file) != savedState_;
}

void TVANEForm::RememberAppliedSummary() {
    appliedSummary_.clear();
    for (const SummaryEntry& entry : context_.file.Summary)
        appliedSummary_.push_back(entry.NewDirectory.str());
}

bool TVANEForm::SummaryChangesPending() const {
    const SummaryEntries& entries = context_.file.Summary;
    // With every record deleted there is nothing left to apply them to.
    if (context_.file.Paths.Count() == 0 || entries.size() != appliedSummary_.size()) return false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!(entries[i].NewDirectory == appliedSummary_[i])) return true;
    }
    return false;
}

bool TVANEForm::EnterTypedTexts() {
    return EnterTypedRecordTexts() && EnterTypedSummaryText();
}

bool TVANEForm::EnterTypedRecordTexts() {
    PathRecord* record = CurrentRecord();
    if (record == nullptr || context_.file.Paths.Count() == 0) return true;
    const bool directory = Differs(ui_->Details_NewPath, record->NewDirectory, TextSet());
    const bool name = Differs(ui_->NewFileNameEdit, record->NewFileName, TextSet());
    const bool description = Differs(ui_->DescEdit, record->NewDescription, TextSet());
    // The directory first: a new file name is looked for in the new directory.
    if (directory && !StoreDetailsNewPath(*record)) return false;
    // A texture's new name may bring its module's description into the
    // description field; what the user typed there is entered after it.
    const QString typedDescription = ui_->DescEdit->text();
    if (name && !StoreNewFileName(*record)) return false;
    if (description) {
        ui_->DescEdit->setText(typedDescription);
        if (!StoreDescription(*record)) return false;
    }
    return true;
}

bool TVANEForm::EnterTypedSummaryText() {
    SummaryEntry* entry = SelectedSummaryEntry();
    if (entry == nullptr || context_.file.Paths.Count() == 0) return true;
    if (!Differs(ui_->Summary_NewPath, entry->NewDirectory, TextSet())) return true;
    return StoreSummaryNewPath(*entry);
}

bool TVANEForm::OfferSummaryChanges() {
    if (!SummaryChangesPending()) return true;
    switch (AskYesNoCancel(&dialogs_,
                           "Apply the new directories of the Summary page (Update Details)?")) {
        case MessageAnswer::Yes:
            UpdateClick();
            return true;
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

bool TVANEForm::MayDropHeldFile() {
    if (!FileHeld()) return true;
    if (!EnterTypedTexts() || !OfferSummaryChanges()) return false;
    if (!HasUnsavedChanges()) return true;
    const std::string question =
        "Save changes to " + context_.editor.shell.CurrentFileName.str() + "?";
    switch (AskYesNoCancel(&dialogs_, question)) {
        case MessageAnswer::Yes:
            // As Save does; a save that fails keeps everything as it is.
            return SaveHeldFile();
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

}  // namespace tessvane
