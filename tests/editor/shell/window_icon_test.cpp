// The program's icon: the committed files are the ones the generator draws,
// and the window, its dialogs and the help show it.
#include <QFile>
#include <QMessageBox>

#include "About.h"
#include "DirUnit.h"
#include "help_window.h"
#include "program_icon.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

const QString kIcons = QStringLiteral(TESSVANE_ICONS_DIR "/");
const char* const kRemake = "run tessvane_make_icons editor/shell/icons";

QImage Committed(int size) {
    return QImage(kIcons + ProgramIconPngPath(size)).convertToFormat(QImage::Format_ARGB32);
}

TEST(ProgramIconTest, CommittedFilesAreWhatTheGeneratorDraws) {
    WindowTestApplication();
    for (const int size : kProgramIconSizes) {
        const QImage committed = Committed(size);
        ASSERT_FALSE(committed.isNull())
            << ProgramIconPngPath(size).toStdString() << ": " << kRemake;
        EXPECT_EQ(committed.size(), QSize(size, size));
        EXPECT_TRUE(committed == DrawProgramIcon(size))
            << ProgramIconPngPath(size).toStdString() << " is out of date: " << kRemake;
    }
    QFile svg(kIcons + ProgramIconSvgPath());
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << kRemake;
    EXPECT_EQ(svg.readAll(), ProgramIconSvg()) << "the SVG is out of date: " << kRemake;
}

TEST(ProgramIconTest, SmallSizesKeepTheVaneOnASkyWithTransparentCorners) {
    WindowTestApplication();
    for (const int size : kProgramIconSizes) {
        const QImage icon = DrawProgramIcon(size);
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size << ": rounded corners";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
        // The gold of the arrow is there at every size.
        int gold = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QColor c = icon.pixelColor(x, y);
                if (c.red() > 200 && c.green() > 140 && c.blue() < 110) ++gold;
            }
        }
        EXPECT_GT(gold, size * size / 40) << size;
    }
}

using IconWindowTest = WindowTest;

TEST_F(IconWindowTest, WindowDialogsAndHelpShowTheProgramIcon) {
    Start();
    const QImage want = Committed(32);
    const auto shows = [&](const QWidget& w) {
        return w.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32) ==
               want;
    };
    EXPECT_TRUE(shows(*window));
    TAboutBox about(window.get());
    EXPECT_TRUE(shows(about));
    TDirectorySelect chooser(window.get());
    EXPECT_TRUE(shows(chooser));
    QMessageBox box(window.get());
    EXPECT_TRUE(shows(box));
    Click("HelpButton");
    ASSERT_NE(window->Help(), nullptr);
    EXPECT_TRUE(shows(*window->Help()));
}

}  // namespace
}  // namespace tessvane::testing
