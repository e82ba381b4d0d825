#include "DirUnit2.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "ui_DirUnit2.h"

namespace tessvane {

namespace {

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TDefDirSelect::TDefDirSelect(QWidget* parent)
    : QDialog(parent, Qt::Tool), ui_(std::make_unique<Ui::TDefDirSelect>()) {
    ui_->setupUi(this);
    setModal(true);
    ui_->OldDirEdit->installEventFilter(this);
    ui_->NewDirEdit->installEventFilter(this);
    connect(ui_->OldDirButton, &QPushButton::clicked, this, &TDefDirSelect::OldDirButtonClick);
    connect(ui_->NewDirButton, &QPushButton::clicked, this, &TDefDirSelect::NewDirButtonClick);
    connect(ui_->AcceptButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TDefDirSelect::~TDefDirSelect() = default;

void TDefDirSelect::SetServices(DefDirSelectServices services) { services_ = std::move(services); }

void TDefDirSelect::SetFields(const QString& old_directory, const QString& new_directory) {
    ui_->OldDirEdit->setText(old_directory);
    ui_->NewDirEdit->setText(new_directory);
}

QString TDefDirSelect::OldDirectory() const { return ui_->OldDirEdit->text(); }
QString TDefDirSelect::NewDirectory() const { return ui_->NewDirEdit->text(); }

void TDefDirSelect::SetOldDirectoryLocked(bool locked) {
    ui_->OldDirEdit->setEnabled(!locked);
    ui_->OldDirButton->setEnabled(!locked);
}

void TDefDirSelect::FocusFirstField() {
    if (ui_->OldDirEdit->isEnabled())
        ui_->OldDirEdit->setFocus();
    else
        ui_->NewDirEdit->setFocus();
}

void TDefDirSelect::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FocusFirstField();
}

bool TDefDirSelect::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterKey(event)) {
        // Enter confirms a field; it must not also reach the dialog, where it
        // would press a button.
        if (watched == ui_->OldDirEdit) {
            OldDirEditKeyDown();
            return true;
        }
        if (watched == ui_->NewDirEdit) {
            NewDirEditKeyDown();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TDefDirSelect::ConfirmDirectory(QLineEdit* field) {
    if (!services_.directoryAcceptable || services_.directoryAcceptable(field->text())) return true;
    if (services_.warn) services_.warn(QStringLiteral("Directory does not exist"));
    field->clear();
    return false;
}

void TDefDirSelect::OldDirEditKeyDown() {
    if (ConfirmDirectory(ui_->OldDirEdit)) ui_->NewDirEdit->setFocus();
}

void TDefDirSelect::NewDirEditKeyDown() {
    if (ConfirmDirectory(ui_->NewDirEdit)) ui_->AcceptButton->setFocus();
}

void TDefDirSelect::Browse(QLineEdit* field, const QString& title) {
    if (!services_.chooseDirectory) return;
    if (const std::optional<QString> chosen = services_.chooseDirectory(title, field->text()))
        field->setText(*chosen);
}

void TDefDirSelect::OldDirButtonClick() {
    Browse(ui_->OldDirEdit, QStringLiteral("Select Old Directory"));
}

void TDefDirSelect::NewDirButtonClick() {
    Browse(ui_->NewDirEdit, QStringLiteral("Select New Directory"));
}

}  // namespace tessvane
