#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace tessvane {

// The help viewer: a window of its own that shows the HTML help document
// and jumps to a topic by its anchor name. It stays open beside the main
// window; asking for another topic reuses it.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    // `document` defaults to the help document built into the program.
    explicit HelpWindow(QWidget* parent = nullptr, QUrl document = DefaultDocument());

    static QUrl DefaultDocument();

    // Opens the document at its contents, then at `topic`; shows, raises
    // and activates the window. A document that cannot be read shows a short
    // notice naming it instead.
    void ShowTopic(const QString& topic);

    // The anchor currently shown; empty before the first ShowTopic.
    QString CurrentTopic() const;
    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
    QUrl document_;
};

}  // namespace tessvane
