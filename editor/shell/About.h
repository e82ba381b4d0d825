#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TAboutBox;
}

namespace tessvane {

// The about box: a fixed 399 x 321 box with the program's picture, two
// credit lines and "Ok". Made on demand, shown modally and dropped after.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

  private slots:
    void Button1Click();

  private:
    std::unique_ptr<Ui::TAboutBox> ui_;
};

}  // namespace tessvane
