#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "list_entry_dialog.h"

namespace Ui {
class TDefTextureForm;
}

namespace tessvane {

// What the texture-pair dialog needs from its surroundings (filled by the
// window from its dialog service and the texture module query).
struct DefTextureFormServices {
    // The file open dialog (no filter) titled `title`, starting in
    // `directory` with `fileName` in its name field; the chosen file's full
    // path, or nothing when cancelled.
    std::function<std::optional<QString>(const QString& title, const QString& directory,
                                         const QString& fileName)>
        openTexture;
    // The description an Imagine texture module gives for itself; empty when
    // it has none or cannot be loaded.
    std::function<QString(const QString& module_path)> inquireDescription;
    // Whether a field's text can be stored; false after telling the user why
    // (ListEntryDialog::SetTextCheck).
    std::function<bool(const QString& text)> storable;
};

// "Select Textures": an old texture file name, the name that replaces it and
// a description. Used to add and edit entries of the texture default list,
// and by the batch run to ask for a texture that is not on the list (old
// field locked). No field is validated; Enter only moves the focus on.
class TDefTextureForm : public ListEntryDialog {
    Q_OBJECT

  public:
    explicit TDefTextureForm(QWidget* parent = nullptr);
    ~TDefTextureForm() override;

    void SetServices(DefTextureFormServices services);

    void SetFields(const QString& old_texture, const QString& new_texture,
                   const QString& description);
    QString OldTexture() const;
    QString NewTexture() const;
    QString Description() const;

    // The directory in which the texture file dialog starts; a pick moves it
    // to the picked file's directory, so the caller reads it back afterwards.
    void SetTextureDirectory(const QString& directory);
    QString TextureDirectory() const { return textureDirectory_; }

    // Locks the old-name field and its browse button (the batch prompt fixes
    // the texture being asked for), or unlocks them again.
    void SetOldTextureLocked(bool locked) { SetOldFieldLocked(locked); }

  private slots:
    void OldTexButtonClick();
    void NewTexButtonClick();

  private:
    // Enter only moves the focus on; nothing is checked.
    void OldTexEditKeyDown();
    void NewTexEditKeyDown();
    void TexDescriptionEditKeyDown();
    // Opens the file dialog; returns the chosen path and moves the texture
    // directory to it.
    std::optional<QString> PickTexture(const QString& title, const QString& fileName);

    std::unique_ptr<Ui::TDefTextureForm> ui_;
    DefTextureFormServices services_;
    QString textureDirectory_;
};

// Splits a path chosen in the system's file dialog into its directory and its
// file-name part, at the system's own separators. The directory keeps no
// trailing separator except at a root ("/", or "C:\" on Windows).
struct SplitFilePath {
    QString directory;
    QString fileName;
};
SplitFilePath SplitChosenFile(const QString& path);

}  // namespace tessvane
