#include "About.h"

#include <QPixmap>

#include "about_picture.h"
#include "ui_About.h"

namespace tessvane {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutBox>()) {
    ui_->setupUi(this);
    // A title but no title-bar buttons: the box is closed with "Ok" or Escape.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(399, 321);
    ui_->ProgramPicture->setPixmap(QPixmap::fromImage(DrawAboutPicture(401, 321)));
    ui_->CreditPanel->setText(
        QStringLiteral("Tessvane v2.2.1 - retargets the paths in Imagine files\n"
                       "Written by the Tessvane team"));
    connect(ui_->Button1, &QPushButton::clicked, this, &TAboutBox::Button1Click);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::Button1Click() {
    accept();
}

}  // namespace tessvane
