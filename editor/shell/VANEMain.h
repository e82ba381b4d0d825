// TVANEForm: the main window. Six pages in a tabbed notebook ("Summary",
// "Details", "Options", "Directory Defaults", "Texture Filenames", "Batch"),
// a row of command buttons and a menu bar. It works on the one CoreContext of
// the program and shows every dialog through the DialogService it is given;
// neither is owned.
//
// Handlers are named after their control and event, as in the form.
// VANEMain.cpp holds the window's own handlers: creating and closing it,
// Load, Save and Save As, the page change, and the text helpers the pages
// share. The rest lives in files of its own:
//   VANEMain_summary.cpp   the Summary page
//   VANEMain_details.cpp   the Details page
//   VANEMain_options.cpp   the Options page
//   VANEMain_defaults.cpp  the grids of the Directory Defaults and Texture
//                          Filenames pages
//   VANEMain_lists.cpp     those two pages' buttons, keys, sorting and
//                          "Update Now"
//   VANEMain_batch.cpp     the Batch page
//   VANEMain_tools.cpp     the Tools menu: volumes and missing files
//   VANEMain_help.cpp      help, context help and printing
//   VANEMain_unsaved.cpp   what keeps the user's work from being dropped unasked
#pragma once

#include <QMainWindow>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PrtList.h"
#include "core/batch.h"
#include "core/core_context.h"
#include "core/emulator_volumes.h"
#include "dialog_service.h"
#include "state/character_set.h"

class QComboBox;
class QLineEdit;

namespace Ui {
class TVANEForm;
}

namespace tessvane {

class HelpWindow;
struct RecordLink;
class TDefDirSelect;
class TDefTextureForm;

// Window titles.
inline constexpr const char* kProgramTitle = "Tessvane v2.2.1";
// Filter of the object-file dialog, also used for settings files.
inline constexpr const char* kObjectFileFilter =
    "All Files|*.*|Object Files|*.iob|Project Files|*.ist";

// The pages of the notebook, numbered by their tab index.
enum class Page : int {
    Summary = 0,
    Details = 1,
    Options = 2,
    DirectoryDefaults = 3,
    TextureFilenames = 4,
    Batch = 5,
};

// The notebook's tab index of page.
constexpr int TabIndex(Page page) {
    return static_cast<int>(page);
}

// The page at tab index; none outside the notebook (the notebook reports -1
// while it has no current tab).
constexpr std::optional<Page> PageAtTab(int index) {
    if (index < 0 || index > TabIndex(Page::Batch)) return std::nullopt;
    return static_cast<Page>(index);
}

class TVANEForm : public QMainWindow {
    Q_OBJECT

  public:
    // Runs the start of the program (FormCreate): reads the settings file in
    // the program directory and shows the settings on every page. A missing
    // settings file shows "Unable to load settings." through `dialogs`.
    TVANEForm(CoreContext& context, DialogService& dialogs, QWidget* parent = nullptr);
    ~TVANEForm() override;

    // Reads CurrentFileDirectory + CurrentFileName and refreshes every page.
    void LoadTDDDFile();
    // Loads the file at `path` as Load does once its dialog has answered with
    // it (the command line's FILE). A file that cannot be read is reported as
    // Load reports it, and the window then holds no file.
    void OpenFile(const std::string& path);
    // Shows every setting in the controls of all pages.
    void SetOptionDisplay();
    // Refill the two default-list grids and their buttons.
    void SetDefDirectoryList();
    void SetDefTextureList();

    // The file the settings are written to when the window closes.
    const std::string& SettingsFile() const { return settingsFile_; }

    // Help (VANEMain_help.cpp): the help window at a topic of the help
    // document, or at the topic of a context number (message boxes' Help;
    // while a message box is open the topic opens in a viewer it owns).
    void ShowHelpTopic(const QString& topic);
    void ShowHelpContext(int context);
    // The help window once help has been asked for; null before.
    HelpWindow* Help() const { return help_.get(); }

    // Batch page: where the run's log lines take their time and date from.
    void SetBatchClock(std::unique_ptr<BatchClock> clock) { batchClock_ = std::move(clock); }
    const BatchList& Batch() const { return batchList_; }

    // Tools, Volumes..., Detect: where the emulators' configurations are
    // looked for; the current user's places unless set.
    void SetEmulatorPlaces(EmulatorPlaces places) { emulatorPlaces_ = std::move(places); }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    // Window, menu and buttons (VANEMain.cpp).
    void FormShow();
    void LoadbuttonClick();
    void SaveButtonClick();
    void SaveAs1Click();
    void CloseButtonClick();
    void AboutButtonClick();
    void TabbedNotebook1Change(int index);
    void PromptListChange(int item);

    // Summary page (VANEMain_summary.cpp).
    void SummaryListClick();
    void Summary_NewPathKeyDown();
    void SelectPath1Click();
    void ResetButton1Click();
    void UpdateClick();

    // Details page (VANEMain_details.cpp).
    void PathDetailListClick();
    void PathDetailListSelectCell();
    void Details_NewPathKeyDown();
    void SelectPath2Click();
    void ResetButton2Click();
    void NewFileNameEditKeyDown();
    void NewFileNameButtonClick();
    void ResetFileButtonClick();
    void DescEditKeyDown();
    void ResetDescButtonClick();
    void DeleteButtonClick();

    // Options page (VANEMain_options.cpp).
    void PCRadioClick();
    void AmigaRadioClick();
    void DirValidationBoxClick(bool checked);
    void FileValidationBoxClick(bool checked);
    void TexComboChange(int item);
    void BrushComboChange(int item);
    void TexExtEditKeyDown();
    void BrushExtEditKeyDown();
    void UpdateSuffixButtonClick();
    void ImagineDirButtonClick();
    void ObjectDirButtonClick();
    void ImagineDirEditKeyDown();
    void LoadDirEditKeyDown();
    void SaveUpdateExit(bool checked);
    void truncatedirClick(bool checked);
    void SaveSettingClick(bool checked);
    void DefaultDirClick(bool checked);
    void TextureLoadClick(bool checked);
    void UpdateDescButtonClick(bool checked);
    void LoadSetButtonClick();
    void SaveSettingsButtonClick();
    void CharacterSetComboChange(int item);

    // Directory Defaults and Texture Filenames pages (VANEMain_lists.cpp).
    void AddDirButtonClick();
    void EditDirButtonClick();
    void DeleteDirButtonClick();
    void DirClearButtonClick();
    void UpdateDefPathsButtonClick();
    void AddTexButtonClick();
    void EditTexButtonClick();
    void DeleteTexButtonClick();
    void ClearButtonClick();
    void TexFNameUpdateButtonClick();
    void DefaultDirListMouseDown(int column);
    void TextureListMouseDown(int column);

    // Help and the printed list (VANEMain_help.cpp).
    void HelpButtonClick();
    void HelpTopics1Click();
    void ContextHelp();
    void PrintButtonClick();

    // Batch page (VANEMain_batch.cpp).
    void SelectFilesButtonClick();
    void ProcessButtonClick();
    void OriginalDirCheckClick(bool checked);
    void SaveDirButtonClick();
    void SaveDirKeyDown();

    // Tools menu (VANEMain_tools.cpp).
    void Volumes1Click();
    void FindMissingFiles1Click();

  private:
    void FormCreate();
    void ConnectWindow();
    void ConnectSummaryPage();
    void ConnectDetailsPage();
    void ConnectOptionsPage();

    // Reads the settings file at `path` and tells about a file that cannot be
    // opened; the caller shows the settings.
    void ReadSettingsFile(const std::string& path);

    // Whether a file is held: loaded, possibly with every record deleted since.
    bool FileHeld() const;

    // The user's work (VANEMain_unsaved.cpp). The held file counts as saved
    // right after it was read or written.
    void RememberSavedState();
    bool HasUnsavedChanges() const;
    // Summary entries given a new directory since "Update Details" last ran.
    bool SummaryChangesPending() const;
    void RememberAppliedSummary();
    // Texts typed into the Details fields or the Summary field and not yet
    // confirmed with Enter are entered as Enter would. False when one was
    // refused (its message was shown and the text stays in its field).
    bool EnterTypedTexts();
    bool EnterTypedRecordTexts();
    bool EnterTypedSummaryText();
    // Asks whether to apply pending Summary changes: Yes applies them, No
    // leaves them, Cancel returns false.
    bool OfferSummaryChanges();
    // Before the held file is dropped (window closed, another file loaded, a
    // batch run): enters typed texts, offers pending Summary changes and asks
    // "Save changes to <file>?" when the file differs from what was read or
    // last written. False when the command must stop: the user cancelled, a
    // typed text was refused or the save failed; nothing is dropped then.
    bool MayDropHeldFile();
    // Save's work: backs up and writes the held file to CurrentFilePath and
    // reads it again when "Reload after Save" is on. False when nothing was
    // written.
    bool SaveHeldFile();
    // Save, "&Save", "Save &As" and both list "Update Now" buttons after a load.
    void SetFileCommands();
    // Writes the held file to `target`, keeping a backup of what was there.
    // False when nothing was written (failed, or overwriting declined).
    bool WriteHeldFile(const std::string& target);

    // Summary page.
    SummaryEntry* SelectedSummaryEntry();

    // Summary page: stores the text of Summary_NewPath into `entry` as Enter
    // does; false when it was refused.
    bool StoreSummaryNewPath(SummaryEntry& entry);

    // Details page.
    PathRecord* CurrentRecord();
    // What Enter stores from each field into `record`; false when the text
    // was refused (its message shown, nothing stored).
    bool StoreDetailsNewPath(PathRecord& record);
    bool StoreNewFileName(PathRecord& record);
    bool StoreDescription(PathRecord& record);
    // The description a texture module gave for `path`, stored into `record`
    // when its chunk has room for a description.
    void TakeTextureDescription(PathRecord& record, const std::string& path);
    // Reset buttons of the Summary and Details pages for what they show.
    void SetResetButtonsForShownItems();
    void FillDetailGrid();
    void ShowRecordFields(const PathRecord& record, bool withDescription);
    void ShowOldPath(const PathText& directory);
    void SetResetButtons(const PathRecord& record, bool withDescription);
    void SortByHeading(int column);
    void DisableEditingControls();

    // Default-list pages.
    void ConnectDefaultListPages();
    void SortDirectoryDefaults(int column);
    void SortTextureDefaults(int column);
    std::unique_ptr<TDefDirSelect> MakeDefDirSelect();
    std::unique_ptr<TDefTextureForm> MakeDefTextureForm();

    // Help and the printed list.
    void ConnectHelpAndPrint();
    ReportContent PathListReport() const;

    // Batch page.
    void ConnectBatchPage();
    void SetBatchPromptControls();
    void ShowBatchList();
    // After a batch run: no file is held; the pages and commands say so.
    void ShowNoFileHeld();

    // Tools menu.
    void ConnectToolsMenu();
    // Find Missing Files: the place to use for a file of `link` that is not
    // here: one of its candidates; nothing to leave it alone; an empty path
    // when the user stops the search.
    std::optional<std::string> ChooseCandidate(const RecordLink& link);
    // Colour and tool tip of Details row `row` when `record` was missing.
    void MarkDetailRow(int row, const PathRecord& record);
    // Drops the marks of the last Find Missing Files.
    void ClearLinkMarks();

    // Options page.
    void ShowSuffixField(int selection, const SuffixText& suffix, bool texture);
    void AddCharacterSetChoice();
    // Shows the held file's texts again, as the Character Set now reads them.
    void ShowFileTexts();

    // Where the directory chooser starts for a directory typed in a field:
    // the field's text in the object file's form when it is found here
    // (through the volume map, or under the Imagine Directory), else the
    // Imagine Directory.
    std::string StartDirectory(const QString& fieldText) const;
    // "Directory does not exist", and on the next line why, when the map
    // cannot say where `directory` would be (an unmapped volume, a relative
    // directory without an Imagine Directory).
    std::string DirectoryMissingMessage(std::string_view directory) const;
    // The chosen directory as it goes into a field: relative to the Imagine
    // directory when "Truncate Imagine Sub-directories" is on.
    std::string ChosenDirectoryText(const std::string& chosen) const;
    void Warn(const std::string& text);

    // Texts of the other machine as the window shows them, decoded with the
    // Character Set (window_text.h); local file names as the system has them.
    CharacterSet TextSet() const;
    QString Shown(std::string_view bytes) const;
    // `text` as bytes of the Character Set; nothing, after a message that
    // names it, when the set cannot hold one of its characters.
    std::optional<std::string> InSet(const QString& text);
    // The text of `field` as bytes of the Character Set. False when the set
    // cannot hold one of its characters: the message names it, the field keeps
    // the focus and the text, and the caller stores nothing.
    bool Typed(QLineEdit* field, std::string& bytes);

    CoreContext& context_;
    DialogService& dialogs_;
    std::unique_ptr<Ui::TVANEForm> ui_;
    bool aboutShown_ = false;
    // What the object-file dialog's name field held last time.
    std::string loadDialogFileName_ = "*.*";
    // The current settings file in full. SettingsDirectory and
    // SettingsFileName hold it cut to their lengths (255 and 32), which would
    // name another file when the real name is longer.
    std::string settingsFile_;
    // Where the default-list dialogs' directory chooser was left last.
    std::shared_ptr<std::string> listChooserDirectory_;
    // Without a parent: see help_window.h.
    std::unique_ptr<HelpWindow> help_;
    // The held file as last read or written (RememberSavedState).
    std::vector<std::string> savedState_;
    // The Summary entries' new directories when they were last applied.
    std::vector<std::string> appliedSummary_;
    // The page in front before the last page change.
    std::optional<Page> shownPage_ = Page::Summary;
    // Options page: "Character Set", one item per offered set.
    QComboBox* characterSetCombo_ = nullptr;
    BatchList batchList_;
    // Find Missing Files: the records not found, by chunk ordinal, with the
    // tool tip that says why. Dropped when the records or the map change.
    std::map<std::int32_t, QString> linkMarks_;
    std::optional<EmulatorPlaces> emulatorPlaces_;
    std::unique_ptr<BatchClock> batchClock_ = std::make_unique<SystemBatchClock>();
};

}  // namespace tessvane
