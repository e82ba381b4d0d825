#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "list_entry_dialog.h"

class QLineEdit;

namespace Ui {
class TDefDirSelect;
}

namespace tessvane {

// What the directory-pair dialog needs from its surroundings. The window
// fills these from its dialog service and the path rules, so the dialog
// itself knows neither the settings nor how messages are shown.
struct DefDirSelectServices {
    // True when a directory confirmed with Enter may stay in its field.
    // Left empty, every text is kept (validation off).
    std::function<bool(const QString& directory)> directoryAcceptable;
    // A warning with one OK button.
    std::function<void(const QString& text)> warn;
    // The directory chooser titled `title`, started for the field text
    // `current`; the chosen directory, or nothing when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& current)>
        chooseDirectory;
    // Whether a field's text can be stored; false after telling the user why
    // (ListEntryDialog::SetTextCheck).
    std::function<bool(const QString& text)> storable;
};

// "Select Directories": an old directory and the directory that replaces it.
// Used to add and edit entries of the directory default list, and by the
// batch run to ask for a directory that is not on the list (old field locked).
// Accept closes with QDialog::Accepted without checking anything: texts never
// confirmed with Enter are taken as they stand. Cancel and Escape reject.
class TDefDirSelect : public ListEntryDialog {
    Q_OBJECT

  public:
    explicit TDefDirSelect(QWidget* parent = nullptr);
    ~TDefDirSelect() override;

    void SetServices(DefDirSelectServices services);

    // Fills both fields; texts longer than 255 characters are cut.
    void SetFields(const QString& old_directory, const QString& new_directory);
    QString OldDirectory() const;
    QString NewDirectory() const;

    // Locks the old-directory field and its browse button (the batch prompt
    // fixes the directory being asked for), or unlocks them again.
    void SetOldDirectoryLocked(bool locked) { SetOldFieldLocked(locked); }

  private slots:
    void OldDirButtonClick();
    void NewDirButtonClick();

  private:
    void OldDirEditKeyDown();
    void NewDirEditKeyDown();
    // Enter in a field: a text that fails validation is refused with a
    // warning and emptied; true when it may stay.
    bool ConfirmDirectory(QLineEdit* field);
    void Browse(QLineEdit* field, const QString& title);

    std::unique_ptr<Ui::TDefDirSelect> ui_;
    DefDirSelectServices services_;
};

}  // namespace tessvane
