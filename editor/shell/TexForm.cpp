#include "TexForm.h"

#include <QLineEdit>
#include <algorithm>

#include "ui_TexForm.h"

namespace tessvane {

SplitFilePath SplitChosenFile(const QString& path) {
    // The path comes from the system's file dialog, so only the system's own
    // separators divide it: on a POSIX host '\' and ':' are ordinary
    // characters of a file name.
#ifdef _WIN32
    const qsizetype cut =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
#else
    const qsizetype cut = path.lastIndexOf(u'/');
#endif
    if (cut < 0) return {QString(), path};
    SplitFilePath split{path.left(cut), path.mid(cut + 1)};
    // A root keeps its separator: "/" stays "/", "C:\" stays "C:\".
    if (path.at(cut) == u':' || split.directory.isEmpty() || split.directory.endsWith(u':'))
        split.directory = path.left(cut + 1);
    return split;
}

TDefTextureForm::TDefTextureForm(QWidget* parent)
    : ListEntryDialog(parent), ui_(std::make_unique<Ui::TDefTextureForm>()) {
    ui_->setupUi(this);
    WireEntryDialog(ui_->AcceptButton, ui_->CancelButton, ui_->OldTexEdit, ui_->OldTexButton,
                    ui_->NewTexEdit);
    OnEnter(ui_->OldTexEdit, [this] { OldTexEditKeyDown(); });
    OnEnter(ui_->NewTexEdit, [this] { NewTexEditKeyDown(); });
    OnEnter(ui_->TexDescriptionEdit, [this] { TexDescriptionEditKeyDown(); });
    connect(ui_->OldTexButton, &QPushButton::clicked, this, &TDefTextureForm::OldTexButtonClick);
    connect(ui_->NewTexButton, &QPushButton::clicked, this, &TDefTextureForm::NewTexButtonClick);
}

TDefTextureForm::~TDefTextureForm() = default;

void TDefTextureForm::SetServices(DefTextureFormServices services) {
    services_ = std::move(services);
    SetTextCheck(services_.storable);
}

void TDefTextureForm::SetFields(const QString& old_texture, const QString& new_texture,
                                const QString& description) {
    ui_->OldTexEdit->setText(old_texture);
    ui_->NewTexEdit->setText(new_texture);
    ui_->TexDescriptionEdit->setText(description);
}

QString TDefTextureForm::OldTexture() const {
    return ui_->OldTexEdit->text();
}
QString TDefTextureForm::NewTexture() const {
    return ui_->NewTexEdit->text();
}
QString TDefTextureForm::Description() const {
    return ui_->TexDescriptionEdit->text();
}

void TDefTextureForm::SetTextureDirectory(const QString& directory) {
    textureDirectory_ = directory;
}

void TDefTextureForm::OldTexEditKeyDown() {
    ui_->NewTexEdit->setFocus();
}
void TDefTextureForm::NewTexEditKeyDown() {
    ui_->TexDescriptionEdit->setFocus();
}
void TDefTextureForm::TexDescriptionEditKeyDown() {
    ui_->AcceptButton->setFocus();
}

std::optional<QString> TDefTextureForm::PickTexture(const QString& title, const QString& fileName) {
    if (!services_.openTexture) return std::nullopt;
    std::optional<QString> chosen = services_.openTexture(title, textureDirectory_, fileName);
    if (chosen) textureDirectory_ = SplitChosenFile(*chosen).directory;
    return chosen;
}

void TDefTextureForm::OldTexButtonClick() {
    if (const auto chosen = PickTexture(QStringLiteral("Select Old Texture"), QString()))
        ui_->OldTexEdit->setText(SplitChosenFile(*chosen).fileName);
}

void TDefTextureForm::NewTexButtonClick() {
    const auto chosen = PickTexture(QStringLiteral("Select New Texture"), ui_->NewTexEdit->text());
    if (!chosen) return;
    ui_->NewTexEdit->setText(SplitChosenFile(*chosen).fileName);
    ui_->TexDescriptionEdit->setText(
        services_.inquireDescription ? services_.inquireDescription(*chosen) : QString());
}

}  // namespace tessvane
