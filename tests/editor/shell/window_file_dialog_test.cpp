// The program's own open and save dialogs (Qt's, where the desktop has none
// of its own) show their detail columns whole.
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <functional>

#include "lists_test_dialogs.h"
#include "qt_dialog_service.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

TEST(FileDialogTest, SizeTypeAndDateColumnsAreShownWhole) {
    WindowTestApplication();
    TempDir dir;
    WriteFileBytes(dir.File("a-rather-long-name-for-an-imagine-object.iob"), Bytes(123456, 1));
    WriteFileBytes(dir.File("b.iob"), Bytes(10, 1));
    QtDialogService service;
    FileDialogRequest request;
    request.title = "Select Imagine Object File";
    request.filter = "All Files|*.*|Object Files|*.iob";
    request.directory = dir.Dir();
    const std::vector<std::pair<const char*, std::function<void()>>> dialogs = {
        {"open", [&] { service.OpenFile(request); }},
        {"open several", [&] { service.OpenFiles(request); }},
        {"save", [&] { service.SaveFile(request); }},
    };
    for (const auto& [kind, open] : dialogs) {
        bool looked = false;
        WhenShown<QFileDialog>([&, kind = kind](QFileDialog& dialog) {
            auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(view, nullptr) << kind;
            ASSERT_TRUE(QTest::qWaitFor([view] {
                return view->model()->rowCount(view->rootIndex()) == 2;
            })) << kind;
            QApplication::processEvents();
            QHeaderView* header = view->header();
            ASSERT_EQ(header->count(), 4) << kind;
            for (int column = 1; column < 4; ++column) {
                EXPECT_GE(header->sectionSize(column),
                          static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column))
                    << kind << " column " << column;
                EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column))
                    << kind << " column " << column;
            }
            EXPECT_LE(header->length(), view->viewport()->width())
                << kind << ": the columns fit the view";
            looked = true;
            dialog.reject();
        });
        open();
        EXPECT_TRUE(looked) << kind;
    }
    ExpectEveryAnswerTaken();
}

}  // namespace
}  // namespace tessvane::testing
