// The program's two file dialogs: their titles, filters and starting places,
// and the empty path a cancel gives.
#include "qt_app.h"

#include "engine/files/settings.h"
#include "ui/window_glue.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fnmatch.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SeenDialog {
    std::string title, filters, folder, suffix, proposed;
    bool saving = false;
    std::vector<std::string> listed; // files an open dialog shows, once it shows listedCount
    int listedCount = 0;
};

// Whether a pattern of the name filter matches name as the desktop's own
// dialogs (GTK, the portal) match their globs: case-sensitively.
bool DesktopGlobMatches(const std::string &filter, const std::string &name)
{
    const auto open = filter.rfind('('), close = filter.rfind(')');
    std::istringstream patterns(filter.substr(open + 1, close - open - 1));
    for (std::string pattern; patterns >> pattern;)
        if (::fnmatch(pattern.c_str(), name.c_str(), 0) == 0)
            return true;
    return false;
}

// Runs the dialog of the kind, notes what it shows and cancels it.
std::string CancelledDialog(int kind, SeenDialog &seen, std::string fileName = "previous")
{
    TestApplication();
    QTimer::singleShot(0, [&seen] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.title = dialog->windowTitle().toStdString();
        seen.filters = dialog->nameFilters().join("|").toStdString();
        seen.folder = dialog->directory().absolutePath().toStdString();
        seen.suffix = dialog->defaultSuffix().toStdString();
        seen.saving = dialog->acceptMode() == QFileDialog::AcceptSave;
        seen.proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName().toStdString();
        if (seen.listedCount > 0) {
            auto *model = dialog->findChild<QFileSystemModel *>();
            const QModelIndex folder = model->index(dialog->directory().absolutePath());
            EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) >= seen.listedCount; }, 5000));
            for (int row = 0; row < model->rowCount(folder); ++row)
                seen.listed.push_back(model->fileName(model->index(row, 0, folder)).toStdString());
            std::sort(seen.listed.begin(), seen.listed.end());
        }
        dialog->reject();
    });
    SelectFile(kind, fileName);
    return fileName;
}

} // namespace

TEST(SelectFile, OpenDialogStartsInTheUpdateFolderListsElementFilesOfAnyCaseAndACancelGivesNoPath)
{
    QTemporaryDir folder;
    for (const char *name : {"a.TLE", "b.Txt", "c.tle", "d.dat"})
        QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
    Options.UpdateFolder.assign(folder.path().toStdString() + "/");
    SeenDialog seen;
    seen.listedCount = 3;
    EXPECT_EQ(CancelledDialog(1, seen), "");
    EXPECT_EQ(seen.title, "Select a File");
    EXPECT_EQ(seen.folder, QDir(folder.path()).absolutePath().toStdString());
    EXPECT_FALSE(seen.saving);
    EXPECT_EQ(seen.listed, (std::vector<std::string>{"a.TLE", "b.Txt", "c.tle"}));
    for (const char *name : {"a.TLE", "b.Txt", "c.tle", "e.txt"})
        EXPECT_TRUE(DesktopGlobMatches(seen.filters, name)) << name << " in " << seen.filters;
    EXPECT_FALSE(DesktopGlobMatches(seen.filters, "d.dat"));
}

TEST(SelectFile, SaveDialogProposesATextFileAndACancelGivesNoPath)
{
    SeenDialog seen;
    EXPECT_EQ(CancelledDialog(2, seen), "");
    EXPECT_EQ(seen.title, "Save To File");
    EXPECT_EQ(seen.filters, "Text files (*.txt)");
    EXPECT_EQ(seen.suffix, "txt");
    EXPECT_EQ(seen.proposed, "KYT.txt"); // the proposed name with the default extension
    EXPECT_TRUE(seen.saving);
}

TEST(SelectFile, AnyOtherKindLeavesThePathAlone)
{
    std::string fileName = "kept.txt";
    SelectFile(3, fileName);
    EXPECT_EQ(fileName, "kept.txt");
}
