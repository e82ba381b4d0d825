// What the two default-list dialogs (TDefDirSelect, TDefTextureForm) have in
// common: a modal tool window with Accept and Cancel, text fields in which
// Enter confirms and moves on instead of pressing a button, an "old" field
// with its browse button that the batch prompts lock, and a check that every
// field's text can be stored.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QAbstractButton;
class QLineEdit;

namespace tessvane {

class ListEntryDialog : public QDialog {
  public:
    // Puts the focus where typing starts: the old field, or the field after
    // it while the old one is locked.
    void FocusFirstField();

    // Whether a field's text can be stored at all; it returns false after
    // telling the user why. Enter in a field asks it first and goes no further
    // on false; Accept asks it for every field and stays open, with the focus
    // on the first field refused. Left empty, every text can be stored.
    void SetTextCheck(std::function<bool(const QString& text)> storable);

    // Accept: closes with QDialog::Accepted once every field passed the text
    // check.
    void accept() override;

  protected:
    explicit ListEntryDialog(QWidget* parent);

    // Called once the form's widgets exist. Accept closes with
    // QDialog::Accepted without checking anything beyond the text check;
    // Cancel (and Escape) rejects. `old_field` and `old_button` are what a prompt locks;
    // `next_field` is where typing starts then.
    void WireEntryDialog(QAbstractButton* accept, QAbstractButton* cancel, QLineEdit* old_field,
                         QAbstractButton* old_button, QLineEdit* next_field);

    // Enter (either key) in `field` calls `handler` and goes no further.
    void OnEnter(QLineEdit* field, std::function<void()> handler);

    // Disables or enables the old field and its browse button together.
    void SetOldFieldLocked(bool locked);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* oldField_ = nullptr;
    QAbstractButton* oldButton_ = nullptr;
    QLineEdit* nextField_ = nullptr;
    std::function<bool(const QString&)> storable_;
    std::vector<std::pair<QLineEdit*, std::function<void()>>> enterHandlers_;
};

}  // namespace tessvane
