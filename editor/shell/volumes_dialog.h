// The Volumes dialog (Tools, "Volumes..."): edits the volume map, which says
// where the drives, volumes and assigns of the machine that wrote the object
// files lie on this one. It works like the default-list pages: a grid of one
// entry a row, with Add, Edit and Delete, and Detect, which reads the drive
// definitions of the emulators of this machine and offers each mapping found
// for the user to pick; nothing found is applied unasked.
//
// The dialog edits a copy; OK hands it back (Volumes()), Cancel drops it.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/emulator_volumes.h"
#include "state/character_set.h"
#include "state/volumes.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tessvane {

// What the Volumes dialog needs from the window.
struct VolumesDialogServices {
    // The directory chooser for a local directory, starting at `start`;
    // nothing on Cancel.
    std::function<std::optional<std::string>(const std::string& start)> chooseDirectory;
    // The mappings the emulators of this machine define.
    std::function<std::vector<DetectedVolume>()> detect;
    // A warning box.
    std::function<void(const std::string& text)> warn;
};

class TVolumesForm : public QDialog {
    Q_OBJECT

  public:
    // `volumes` is the map to start from; names are bytes of `set`.
    TVolumesForm(VolumeList volumes, CharacterSet set, VolumesDialogServices services,
                 QWidget* parent = nullptr);

    // The map as edited.
    const VolumeList& Volumes() const { return volumes_; }

  private:
    void AddClick();
    void EditClick();
    void DeleteClick();
    void DetectClick();
    void FillGrid(int current);
    // The entry dialog with `name` and `directory` filled in; the entry
    // typed, its name as the map holds it, or nothing on Cancel.
    std::optional<VolumeMapping> AskEntry(const VolumeMapping& shown,
                                          std::optional<std::size_t> editing);

    VolumeList volumes_;
    CharacterSet set_;
    VolumesDialogServices services_;
    QTableWidget* grid_;
    QPushButton* editButton_;
    QPushButton* deleteButton_;
};

// One entry of the map: a volume name ("DH0:", "C:", "Imagine:") and the
// local directory it stands for, with a Browse button for the directory.
class TVolumeEntryForm : public QDialog {
    Q_OBJECT

  public:
    // `check` says whether a name and directory can be stored, after telling
    // the user why not; OK closes only when it agrees.
    using Check =
        std::function<std::optional<VolumeMapping>(const QString& name, const QString& directory)>;
    TVolumeEntryForm(Check check,
                     std::function<std::optional<std::string>(const std::string&)> chooseDirectory,
                     QWidget* parent = nullptr);

    void SetFields(const QString& name, const QString& directory);
    // After OK: the entry as checked.
    const VolumeMapping& Entry() const { return entry_; }

    void accept() override;

  private:
    Check check_;
    QLineEdit* name_;
    QLineEdit* directory_;
    VolumeMapping entry_;
};

// The mappings Detect found: one row each (volume, directory, where it was
// found), none ticked. OK gives the rows the user ticked.
class TDetectedVolumesForm : public QDialog {
    Q_OBJECT

  public:
    TDetectedVolumesForm(const std::vector<DetectedVolume>& found, const VolumeList& current,
                         QWidget* parent = nullptr);

    // The positions in `found` of the ticked rows.
    std::vector<std::size_t> Ticked() const;

  private:
    QTableWidget* grid_;
};

}  // namespace tessvane
