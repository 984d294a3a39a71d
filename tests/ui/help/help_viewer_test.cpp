// The help viewer: one page per window by context number, the links between
// the pages, and F1 from a modal window that stays on top.
#include "ui/qt_app.h"

#include "engine/runtime/program_state.h"
#include "ui/help/help_viewer.h"

#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

QTextBrowser *Browser()
{
    QWidget *viewer = HelpViewerWindow();
    return viewer ? viewer->findChild<QTextBrowser *>() : nullptr;
}

QString ShownPage()
{
    QTextBrowser *browser = Browser();
    return browser ? browser->source().fileName() : QString();
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        SetProgramFolders(std::string(KYT_TEST_PROGRAM_DIR) + "/");
    }
    void TearDown() override { delete HelpViewerWindow(); }
};

} // namespace

TEST_F(HelpTest, EachContextShowsThePageOfItsWindow)
{
    const std::map<int, QString> titles = {
        {HelpMainWindow, "Main window"},
        {HelpSatelliteSelector, "Satellite Selector"},
        {HelpObserverLocation, "Location Selector"},
        {HelpStarPicker, "Transit Object - Star"},
        {HelpAnalysis, "Satellite Analysis"},
        {HelpPrediction, "Satellite Pass Prediction"},
        {HelpSunMoonData, "Sun Rise/Set Data"},
        {HelpNamesEditor, "Satellite Magnitude"},
        {HelpOptions, "Options"},
        {HelpSatelliteInfo, "Satellite Information"},
        {HelpDownload, "Space Track Download"},
        {999, "KYT Help"},
    };
    for (const auto &[context, title] : titles) {
        SCOPED_TRACE(context);
        ShowHelp(context);
        ASSERT_NE(Browser(), nullptr);
        EXPECT_EQ(Browser()->documentTitle(), title);
        EXPECT_EQ(ShownPage(), context == 999 ? "index.html" : QString::number(context) + ".html");
    }
}

TEST_F(HelpTest, EveryLinkBetweenThePagesResolvesAndEachPageLeadsToTheContents)
{
    const std::filesystem::path folder = std::filesystem::path(KYT_TEST_SOURCE_DIR) / "help";
    const QRegularExpression link("href=\"([^\"#]*)(#[^\"]*)?\"");
    int pages = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".html")
            continue;
        ++pages;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const QString text = QString::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
        bool toContents = entry.path().filename() == "index.html";
        for (auto match = link.globalMatch(text); match.hasNext();) {
            const QString target = match.next().captured(1);
            if (target.contains(':'))
                continue; // a web address, opened by the desktop's browser
            EXPECT_TRUE(std::filesystem::exists(folder / target.toStdString())) << target.toStdString();
            toContents = toContents || target == "index.html";
        }
        EXPECT_TRUE(toContents);
    }
    EXPECT_EQ(pages, 12);
}

TEST_F(HelpTest, F1InAModalWindowShowsItsPageInAViewerTheModalityDoesNotBlock)
{
    QDialog dialog;
    dialog.setWindowTitle("Observer Location");
    // A window that stays on top gets its help in front of it.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    SetHelpContext(&dialog, HelpObserverLocation);
    bool checked = false;
    const auto check = [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QWidget *viewer = HelpViewerWindow();
        ASSERT_NE(viewer, nullptr);
        EXPECT_EQ(viewer->parentWidget(), &dialog);
        EXPECT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(ShownPage(), "310.html");
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
        // A click through the window system, as a user's would come.
        QPushButton *contents = nullptr;
        for (QPushButton *button : viewer->findChildren<QPushButton *>())
            if (button->text() == "Contents")
                contents = button;
        ASSERT_NE(contents, nullptr);
        const QPoint at = contents->mapTo(viewer, contents->rect().center());
        QTest::mouseClick(viewer->windowHandle(), Qt::LeftButton, {}, at);
        EXPECT_EQ(ShownPage(), "index.html");
        checked = true;
    };
    // The dialog closes whatever the checks found.
    QTimer::singleShot(0, &dialog, [&] {
        check();
        dialog.reject();
    });
    dialog.exec();
    EXPECT_TRUE(checked);
}
