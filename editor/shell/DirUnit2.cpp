#include "DirUnit2.h"

#include <QLineEdit>

#include "ui_DirUnit2.h"

namespace tessvane {

TDefDirSelect::TDefDirSelect(QWidget* parent)
    : ListEntryDialog(parent), ui_(std::make_unique<Ui::TDefDirSelect>()) {
    ui_->setupUi(this);
    WireEntryDialog(ui_->AcceptButton, ui_->CancelButton, ui_->OldDirEdit, ui_->OldDirButton,
                    ui_->NewDirEdit);
    OnEnter(ui_->OldDirEdit, [this] { OldDirEditKeyDown(); });
    OnEnter(ui_->NewDirEdit, [this] { NewDirEditKeyDown(); });
    connect(ui_->OldDirButton, &QPushButton::clicked, this, &TDefDirSelect::OldDirButtonClick);
    connect(ui_->NewDirButton, &QPushButton::clicked, this, &TDefDirSelect::NewDirButtonClick);
}

TDefDirSelect::~TDefDirSelect() = default;

void TDefDirSelect::SetServices(DefDirSelectServices services) {
    services_ = std::move(services);
    SetTextCheck(services_.storable);
}

void TDefDirSelect::SetFields(const QString& old_directory, const QString& new_directory) {
    ui_->OldDirEdit->setText(old_directory);
    ui_->NewDirEdit->setText(new_directory);
}

QString TDefDirSelect::OldDirectory() const {
    return ui_->OldDirEdit->text();
}
QString TDefDirSelect::NewDirectory() const {
    return ui_->NewDirEdit->text();
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
