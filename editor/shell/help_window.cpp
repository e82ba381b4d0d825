#include "help_window.h"

#include <QFile>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "state/program_directory.h"

namespace tessvane {
namespace {

constexpr int kGap = 8;
// Narrower than this the help text wraps every few words.
constexpr int kReadableWidth = 360;

}  // namespace

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
    resize(560, 560);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
          QKeySequence(QKeySequence::Close)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    }
}

QUrl HelpWindow::DocumentFor(const std::filesystem::path& executableDirectory) {
    const std::filesystem::path data = InstalledDataDirectory(executableDirectory);
    if (!data.empty()) {
        const std::filesystem::path installed = data / "help" / "Tessvane.html";
        std::error_code ec;
        if (std::filesystem::is_regular_file(installed, ec))
            return QUrl::fromLocalFile(QFile::decodeName(installed.c_str()));
    }
    return QUrl(QStringLiteral("qrc:/help/Tessvane.html"));
}

QUrl HelpWindow::DefaultDocument() {
    return DocumentFor(ExecutableDirectory());
}

QString HelpWindow::Describe(const QUrl& document) {
    return document.isLocalFile() ? document.toLocalFile()
                                  : QStringLiteral("built into the program");
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

void HelpWindow::PlaceBeside(const QWidget& owner) {
    const QScreen* screen = owner.screen();
    if (screen == nullptr) return;
    const QRect place =
        HelpWindowGeometry(owner.frameGeometry(), size(), screen->availableGeometry());
    resize(place.size());
    move(place.topLeft());
}

QString HelpWindow::CurrentTopic() const {
    return browser_->source().fragment();
}

QRect HelpWindowGeometry(const QRect& owner, const QSize& size, const QRect& available) {
    const int height = std::min(size.height(), available.height());
    const int roomRight = available.right() - owner.right() - kGap;
    const int roomLeft = owner.left() - available.left() - kGap;
    int width = size.width();
    int x = 0;
    if (roomRight >= width) {
        x = owner.right() + 1 + kGap;
    } else if (roomLeft >= width) {
        x = owner.left() - kGap - width;
    } else if (std::max(roomRight, roomLeft) >= kReadableWidth) {
        width = std::max(roomRight, roomLeft);
        x = roomRight >= roomLeft ? owner.right() + 1 + kGap : available.left();
    } else {
        width = std::min(width, available.width());
        x = roomRight >= roomLeft ? available.right() + 1 - width : available.left();
    }
    const int y = std::clamp(owner.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - height));
    return QRect(x, y, width, height);
}

}  // namespace tessvane
