#pragma once

#include <QRect>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <filesystem>

class QTextBrowser;

namespace tessvane {

// The help viewer: a window of its own that shows the HTML help document
// and jumps to a topic by its anchor name. Asking for another topic reuses
// it. Escape and Ctrl+W close it.
//
// The main window keeps it without a parent, so a message box, which blocks
// only the window it belongs to, never blocks the help asked for from it.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    // `document` defaults to the running program's help document.
    explicit HelpWindow(QWidget* parent = nullptr, QUrl document = DefaultDocument());

    // The help document of a program in `executableDirectory`: the installed
    // file <prefix>/share/tessvane/help/Tessvane.html when the program is
    // installed and the file is there, else the copy built into the program
    // (a build tree, a program copied alone, an installed file gone missing).
    static QUrl DocumentFor(const std::filesystem::path& executableDirectory);
    // DocumentFor(the running program's directory).
    static QUrl DefaultDocument();
    // Where `document` is, for a person: its file name, or "built into the program".
    static QString Describe(const QUrl& document);

    // Opens the document at its contents, then at `topic`; shows, raises
    // and activates the window. A document that cannot be read shows a short
    // notice naming it instead.
    void ShowTopic(const QString& topic);

    // Moves the window beside `owner` (see HelpWindowGeometry) on the screen
    // that shows it.
    void PlaceBeside(const QWidget& owner);

    // The anchor currently shown; empty before the first ShowTopic.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
    QUrl document_;
};

// Where a help window of `size` goes beside a window whose frame is `owner`,
// within `available` (the screen less its panels): right of the owner when
// it fits there, else left of it; when neither side has room for the whole
// width, on the side with more room, narrowed to that room down to a
// readable width, and only then over the owner as little as possible. Its
// top is level with the owner's, moved up or down to stay on the screen.
QRect HelpWindowGeometry(const QRect& owner, const QSize& size, const QRect& available);

}  // namespace tessvane
