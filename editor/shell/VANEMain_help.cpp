// TVANEForm: help for the page in front, the help contents, context help (F1)
// for the control with the focus, and the printed path list.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>

#include "PrtList.h"
#include "VANEMain.h"
#include "help_topics.h"
#include "help_window.h"
#include "ui_VANEMain.h"
#include "window_text.h"

namespace tessvane {

void TVANEForm::ConnectHelpAndPrint() {
    connect(ui_->HelpButton, &QPushButton::clicked, this, &TVANEForm::HelpButtonClick);
    connect(ui_->HelpTopics1, &QAction::triggered, this, &TVANEForm::HelpTopics1Click);
    connect(ui_->PrintButton, &QPushButton::clicked, this, &TVANEForm::PrintButtonClick);
    connect(ui_->Print1, &QAction::triggered, this, &TVANEForm::PrintButtonClick);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, &TVANEForm::ContextHelp);
}

void TVANEForm::ShowHelpTopic(const QString& topic) {
    if (!help_) {
        help_ = std::make_unique<HelpWindow>();
        help_->setWindowIcon(windowIcon());
    }
    // Beside this window, so the page the help talks about stays in sight;
    // once the user has it open, it stays where it was put.
    if (!help_->isVisible()) help_->PlaceBeside(*this);
    help_->ShowTopic(topic);
}

void TVANEForm::ShowHelpContext(int context) {
    QString topic = HelpTopicForContext(context);
    if (topic.isEmpty()) topic = QString::fromLatin1(kHelpContents);
    ShowHelpTopic(topic);
}

void TVANEForm::HelpButtonClick() {
    ShowHelpTopic(HelpTopicForPage(ui_->TabbedNotebook1->currentIndex()));
}

void TVANEForm::HelpTopics1Click() {
    ShowHelpTopic(QString::fromLatin1(kHelpContents));
}

void TVANEForm::ContextHelp() {
    // The nearest control, from the focus outwards, that carries a context
    // number; without one, the topic of the page in front.
    for (QWidget* widget = QApplication::focusWidget(); widget && widget != this;
         widget = widget->parentWidget()) {
        if (const int context = HelpContextOf(widget->objectName())) {
            ShowHelpContext(context);
            return;
        }
    }
    HelpButtonClick();
}

ReportContent TVANEForm::PathListReport() const {
    ReportContent content;
    const ObjectFile& file = context_.file;
    content.isProject = file.IsProject;
    content.fileName = ShowLocal(context_.editor.shell.CurrentFileName);
    content.date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const PathList& paths = file.Paths;
    content.rows.reserve(paths.Count());
    for (std::size_t position = 1; position <= paths.DisplayOrder.size(); ++position) {
        const PathRecord& record = paths.AtDisplay(position);
        content.rows.push_back({Shown(record.PartName), Shown(record.OldFileName),
                                ReportKindWord(record.Kind), Shown(record.OldDirectory)});
    }
    return content;
}

void TVANEForm::PrintButtonClick() {
    if (!FileHeld()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(1);
    printer.setPageOrientation(QPageLayout::Portrait);
    if (!dialogs_.SetupPrinter(printer)) return;
    TTDDDReport report;
    if (report.Print(printer, PathListReport()) == 0 && printer.printerState() == QPrinter::Error) {
        Warn("The path list could not be printed.");
    }
}

}  // namespace tessvane
