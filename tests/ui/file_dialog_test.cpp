// The program's two file dialogs: their titles, filters and starting places,
// and the empty path a cancel gives.
#include "qt_app.h"

#include "engine/files/settings.h"
#include "ui/window_glue.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

namespace {

struct SeenDialog {
    std::string title, filters, folder, suffix, proposed;
    bool saving = false;
};

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
        dialog->reject();
    });
    SelectFile(kind, fileName);
    return fileName;
}

} // namespace

TEST(SelectFile, OpenDialogStartsInTheUpdateFolderAndACancelGivesNoPath)
{
    const std::string folder = QDir::tempPath().toStdString();
    Options.UpdateFolder.assign(folder + "/");
    SeenDialog seen;
    EXPECT_EQ(CancelledDialog(1, seen), "");
    EXPECT_EQ(seen.title, "Select a File");
    EXPECT_EQ(seen.filters, "SAT Files (*.tle *.txt)");
    EXPECT_EQ(seen.folder, QDir(QString::fromStdString(folder)).absolutePath().toStdString());
    EXPECT_FALSE(seen.saving);
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
