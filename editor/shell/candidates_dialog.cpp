#include "candidates_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tessvane {

TCandidatesForm::TCandidatesForm(const QString& part, const QString& missing,
                                 const std::vector<CandidateRow>& rows, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CandidatesForm"));
    setWindowTitle(QStringLiteral("Choose the File"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(
        (part.isEmpty() ? QString() : part + QStringLiteral(": ")) + missing +
            QStringLiteral(" is missing. A file of that name lies in each of these places; the "
                           "best match, sharing the most directory names with the old path, "
                           "comes first. Choose the one to use:"),
        this);
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    layout->addWidget(note);

    grid_ = new QTableWidget(int(rows.size()), 3, this);
    grid_->setObjectName(QStringLiteral("CandidateGrid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("File Here"), QStringLiteral("New Path"),
                                      QStringLiteral("Shared Directories")});
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto cell = [](const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setToolTip(text);
            return item;
        };
        grid_->setItem(int(i), 0, cell(rows[i].local));
        grid_->setItem(int(i), 1, cell(rows[i].objectPath));
        grid_->setItem(int(i), 2, cell(QString::number(rows[i].sharedDirectories)));
    }
    grid_->resizeColumnsToContents();
    grid_->horizontalHeader()->setStretchLastSection(true);
    if (!rows.empty()) grid_->selectRow(0);
    layout->addWidget(grid_, 1);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* use = new QPushButton(QStringLiteral("&Use This File"), this);
    use->setObjectName(QStringLiteral("OkButton"));
    use->setDefault(true);
    auto* skip = new QPushButton(QStringLiteral("&Leave It"), this);
    skip->setObjectName(QStringLiteral("CancelButton"));
    skip->setAutoDefault(false);
    connect(use, &QPushButton::clicked, this, &QDialog::accept);
    connect(skip, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(use);
    buttons->addWidget(skip);
    layout->addLayout(buttons);
    resize(760, 300);
}

std::optional<std::size_t> TCandidatesForm::Picked() const {
    const int row = grid_->currentRow();
    if (row < 0 || row >= grid_->rowCount()) return std::nullopt;
    return std::size_t(row);
}

}  // namespace tessvane
