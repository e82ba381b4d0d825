#include "help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tessvane {

HelpWindow::HelpWindow(QWidget* parent, QUrl document)
    : QWidget(parent, Qt::Window),
      browser_(new QTextBrowser(this)),
      document_(std::move(document)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tessvane Help"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

QUrl HelpWindow::DefaultDocument() {
    return QUrl(QStringLiteral("qrc:/help/Tessvane.html"));
}

void HelpWindow::ShowTopic(const QString& topic) {
    const QString local = document_.scheme() == QLatin1String("qrc")
                              ? QStringLiteral(":") + document_.path()
                              : document_.toLocalFile();
    if (!QFile::exists(local)) {
        browser_->setHtml(QStringLiteral("<p>The help document %1 could not be found.</p>")
                              .arg(document_.toDisplayString().toHtmlEscaped()));
    } else {
        if (browser_->source().adjusted(QUrl::RemoveFragment) != document_)
            browser_->setSource(document_);
        QUrl at = document_;
        at.setFragment(topic);
        browser_->setSource(at);
        browser_->scrollToAnchor(topic);
    }
    show();
    raise();
    activateWindow();
}

QString HelpWindow::CurrentTopic() const {
    return browser_->source().fragment();
}

}  // namespace tessvane
