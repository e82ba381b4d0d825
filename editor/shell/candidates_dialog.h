// The pick list of Find Missing Files: a file that is not where its record
// says was found in several places; the user picks the one to use, or none.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

class QTableWidget;

namespace tessvane {

// One place a missing file was found, as the list shows it.
struct CandidateRow {
    QString local;       // the file here
    QString objectPath;  // its directory in the object file's form, or why it has none
    int sharedDirectories = 0;
};

class TCandidatesForm : public QDialog {
    Q_OBJECT

  public:
    // `missing` is the record's path as the object file holds it; `rows`
    // are best first and the first is selected.
    TCandidatesForm(const QString& part, const QString& missing,
                    const std::vector<CandidateRow>& rows, QWidget* parent = nullptr);

    // After OK: the position of the row picked.
    std::optional<std::size_t> Picked() const;

  private:
    QTableWidget* grid_;
};

}  // namespace tessvane
