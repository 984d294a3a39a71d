// The download window offscreen: its settings, list editing, the download
// task's guards and hand-over, and the main window's command.
#include "engine/downloads/download_fixture.h"
#include "ui/main_window/main_window_fixture.h"
#include "ui/qt_app.h"

#include "engine/files/internet_info.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "ui/downloads/add_entry_dialog.h"
#include "ui/downloads/info_download_window.h"
#include "ui/downloads/web_window.h"
#include "ui/hooks_install.h"
#include "ui/message_box_answer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

class WebWindowTest : public DownloadTest {
protected:
    void SetUp() override
    {
        DownloadTest::SetUp();
        TestApplication();
        Options.UpdateFolder.assign(updateFolder_);
        Options.AutoDownload = 0;
        Hooks().uiThread = std::this_thread::get_id();
        Hooks().runOnUiThread = [](std::function<void()> call) {
            QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
        };
        frInfoDownloadWnd = new TfrInfoDownloadWnd();
    }

    void TearDown() override
    {
        window_.reset();
        delete frInfoDownloadWnd;
        frInfoDownloadWnd = nullptr;
        Hooks().runOnUiThread = nullptr;
        DownloadTest::TearDown();
    }

    TfrWebWnd &Open()
    {
        window_ = std::make_unique<TfrWebWnd>();
        window_->show();
        return *window_;
    }

    void WaitForDownload()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window_->Downloading(); }, 20000));
        EXPECT_TRUE(QTest::qWaitFor([] { return !DownloadRunning; }, 5000));
    }

    std::vector<std::string> ListFile() const
    {
        std::vector<std::string> lines;
        LoadDownloadList(lines);
        return lines;
    }

    std::unique_ptr<TfrWebWnd> window_;
};

} // namespace

TEST_F(WebWindowTest, WithoutAListItOpensShowsTheSettingsAndSavesThemAtClose)
{
    WriteFile(DataDir + "InternetInfo.ini",
              "[InternetInfo]\nuser=me\npassword=pw\nperiod=200\ntime=45000.5\nupdatemain=1\ndownloaded=1\n");
    Options.AutoDownload = 1;
    TfrWebWnd &window = Open();
    ASSERT_TRUE(window.Opened());
    EXPECT_EQ(window.clb_tle->count(), 0);
    EXPECT_EQ(window.txt_username->text(), "me");
    EXPECT_TRUE(window.cb_savelogin->isChecked());
    EXPECT_FALSE(window.txt_password->isEnabled());
    EXPECT_EQ(window.txt_lasttime->text(), "2023-03-15 12:00:00");
    EXPECT_EQ(window.nm_dwperiod->value(), 96);
    EXPECT_TRUE(window.ckb_autodownload->isChecked());
    EXPECT_TRUE(window.ckb_autoupdatemain->isChecked());
    EXPECT_EQ(window.txt_dwnldfolder->text().toStdString(), updateFolder_);

    window.cb_savelogin->click();
    EXPECT_TRUE(window.txt_password->isEnabled());
    window.bn_close->click();
    EXPECT_FALSE(window.isVisible());
    web_t saved;
    ASSERT_TRUE(LoadInternetInfo(saved));
    EXPECT_EQ(saved.user, "");
    EXPECT_EQ(saved.period, 96);
    EXPECT_NE(ReadFile(DataDir + "InternetInfo.ini").find("user= \r\npassword= \r\n"), std::string::npos);
    // The list was not changed: nothing is written.
    EXPECT_FALSE(std::filesystem::exists(DataDir + "dwnlist.dat"));
}

TEST_F(WebWindowTest, EscapeLeavesUnchangedAndTooLargeFilesUntouched)
{
    const std::string info = DataDir + "InternetInfo.ini", list = DataDir + "dwnlist.dat";
    // Settings the window would write otherwise (other line ends, its own
    // number form): only opened and closed, it writes nothing.
    const std::string readable = "[InternetInfo]\nuser=me\npassword=pw\nperiod=48\ntime=45000.50\ndownloaded=1\n";
    WriteFile(info, readable);
    QTest::keyClick(&Open(), Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(ReadFile(info), readable);
    EXPECT_TRUE(Messages().empty());

    const std::string oversized = "[InternetInfo]\nuser=me\n" + std::string(SmallFileLimit, ';') + "\n";
    const std::string entry = "1 0  (Tv) Stations            http://example.org/stations.txt\r\n";
    WriteFile(info, oversized);
    WriteFile(list, entry);
    TfrWebWnd &window = Open();
    ASSERT_TRUE(window.Opened());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ReadFile(info), oversized);
    EXPECT_EQ(ReadFile(list), entry);

    WriteFile(list, entry + std::string(SmallFileLimit, '#'));
    TfrWebWnd &shut = Open();
    EXPECT_FALSE(shut.Opened());
    QTest::keyClick(&shut, Qt::Key_Escape);
    EXPECT_EQ(ReadFile(list), entry + std::string(SmallFileLimit, '#'));
    EXPECT_EQ(ReadFile(info), oversized);
}

TEST_F(WebWindowTest, TheAddDialogBuildsTheLineAndRefusesBlanksAndPathNames)
{
    ASSERT_TRUE(SaveDownloadList({"1 0  (Ot) stations            https://x/s"}));
    TfrWebWnd &window = Open();
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = window.findChild<TfrDwnAddWnd *>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->te_name->maxLength(), 16);
        dialog->bn_add->click();
        dialog->cb_type->setCurrentIndex(1);
        dialog->te_link->setText("https://x/a b");
        dialog->te_name->setText("../visual");
        dialog->bn_add->click();
        dialog->te_link->setText(" https://x/visual.txt ");
        dialog->bn_add->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->te_name->setText("visual");
        dialog->te_link->setText("ftp://x/visual.txt");
        dialog->bn_add->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->te_link->setText(" https://x/visual.txt ");
        dialog->bn_add->click();
        driven = true;
    });
    window.bn_dwn_addClick();
    ASSERT_TRUE(driven);
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "KYT: No Type Selected");
    EXPECT_EQ(messages[1], "KYT: No Spaces Allowed in Link or Space-Track Query");
    EXPECT_EQ(messages[2].rfind("KYT: Entry Name may hold only letters", 0), 0u);
    EXPECT_EQ(messages[3], "KYT: The Link must be a web address that starts with http:// or https://");
    ASSERT_EQ(window.clb_tle->count(), 2);
    EXPECT_EQ(window.clb_tle->item(1)->text(), "(Tv)visual");
    EXPECT_EQ(window.clb_tle->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(ListFile().back(), "0 0  (Tv) visual              https://x/visual.txt");
}

TEST_F(WebWindowTest, DeleteTakesTheCheckedItemsOwnLinesAndStatesAreStoredInPlace)
{
    ASSERT_TRUE(SaveDownloadList({"1 0 (Ot) a l1", "0 0 (Ot) a l2", "a short line", "1 0 (Ot) b l3"}));
    TfrWebWnd &window = Open();
    ASSERT_EQ(window.clb_tle->count(), 3);
    window.clb_tle->item(0)->setCheckState(Qt::Unchecked);
    window.clb_tle->item(1)->setCheckState(Qt::Checked);
    window.clb_tle->item(2)->setCheckState(Qt::Unchecked);
    window.bn_dwn_delete->click();
    EXPECT_EQ(ListFile(), (std::vector<std::string>{"1 0 (Ot) a l1", "a short line", "1 0 (Ot) b l3"}));
    ASSERT_EQ(window.clb_tle->count(), 2);
    EXPECT_EQ(window.clb_tle->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(window.clb_tle->item(1)->checkState(), Qt::Unchecked);
    window.clb_tle->item(1)->setCheckState(Qt::Checked);
    window.close();
    EXPECT_EQ(ListFile(), (std::vector<std::string>{"0 0 (Ot) a l1", "a short line", "1 0 (Ot) b l3"}));
}

TEST_F(WebWindowTest, ACancelledFolderDialogChangesNothing)
{
    TfrWebWnd &window = Open();
    const auto cwd = std::filesystem::current_path();
    window.chooseFolder = [](QWidget *, const QString &) { return QString(); };
    window.bn_setFolder->click();
    EXPECT_EQ(Options.UpdateFolder.str(), updateFolder_);
    EXPECT_EQ(window.txt_dwnldfolder->text().toStdString(), updateFolder_);
    window.chooseFolder = [](QWidget *, const QString &) { return QString("/srv/elements"); };
    window.bn_setFolder->click();
    EXPECT_EQ(Options.UpdateFolder.str(), "/srv/elements/");
    EXPECT_EQ(std::filesystem::current_path(), cwd);
}

TEST_F(WebWindowTest, DownloadUsesTheTypedLoginAndLocksTheWindowUntilItEnds)
{
    ServeFile("spacetrack.tle", IssText);
    ServeFile("plain.txt", IssText);
    Serve({.tls = true, .user = "me", .password = "secret"});
    ASSERT_TRUE(SaveDownloadList({Line("iss", 0, "/basicspacedata/query/x", "(ST)"), Line("plain", 0, "/plain.txt")}));
    now_ = 45100.75;
    TfrWebWnd &window = Open();
    ASSERT_FALSE(window.cb_savelogin->isChecked());
    // No download yet: no time to show.
    EXPECT_TRUE(window.txt_lasttime->text().isEmpty());
    // Nothing checked, then no password: one message each.
    for (int row : {0, 1})
        window.clb_tle->item(row)->setCheckState(Qt::Unchecked);
    window.bn_download->click();
    EXPECT_FALSE(window.Downloading());
    for (int row : {0, 1})
        window.clb_tle->item(row)->setCheckState(Qt::Checked);
    window.bn_download->click();
    WaitForDownload();
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], "Download: No File Selected - check the entries to download, then press \"Download\".");
    EXPECT_EQ(Messages()[1].rfind("Connection: Failed - Missing Username or Password", 0), 0u);

    window.txt_username->setText(" me ");
    window.txt_password->setText("secret");
    window.bn_download->click();
    EXPECT_TRUE(window.Downloading());
    for (QPushButton *button : {window.bn_download, window.bn_close, window.bn_dwn_add, window.bn_dwn_delete})
        EXPECT_FALSE(button->isEnabled());
    window.close();
    EXPECT_TRUE(window.isVisible());
    WaitForDownload();
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_EQ(Messages()[2], "Download: Downloaded and Processed 2 File(s)");
    EXPECT_EQ(window.txt_lasttime->text(), "2023-06-23 18:00:00");
    EXPECT_TRUE(window.bn_close->isEnabled());
    EXPECT_FALSE(frInfoDownloadWnd->isVisible());
    EXPECT_EQ(frInfoDownloadWnd->lb_dwninfo->text(), TfrInfoDownloadWnd::IdleText);
    window.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WebWindowTest, StopOnTheProgressBoxEndsTheDownloadWithinASecondAndKeepsTheOldFile)
{
    Serve();
    DownloadConfig().lowSpeedTime = std::chrono::seconds(60);
    WriteFile(updateFolder_ + "hung.tle", "OLD");
    ASSERT_TRUE(SaveDownloadList({Line("hung", 0, "/hang")}));
    TfrWebWnd &window = Open();
    window.bn_download->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return frInfoDownloadWnd->isVisible(); }, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frInfoDownloadWnd));
    QTest::qWait(200);
    ASSERT_TRUE(window.Downloading());
    const auto start = std::chrono::steady_clock::now();
    // A click through the window system, which the modal download window
    // must not keep from the box.
    QPushButton *stop = frInfoDownloadWnd->bn_stop;
    QTest::mouseClick(frInfoDownloadWnd->windowHandle(), Qt::LeftButton, {},
                      stop->mapTo(frInfoDownloadWnd, stop->rect().center()));
    WaitForDownload();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(frInfoDownloadWnd->isVisible());
    EXPECT_TRUE(window.bn_close->isEnabled());
    EXPECT_EQ(ReadFile(updateFolder_ + "hung.tle"), "OLD");
    EXPECT_TRUE(Messages().empty());
    // The stop was for that run only.
    EXPECT_FALSE(DownloadStop);
}

TEST_F(WebWindowTest, ASlowFailureIsToldInFrontOfTheWindowAfterTheProgressBox)
{
    // The program's own message boxes, not the recorder.
    const UiHooks recorder = Hooks();
    InstallUiHooks(qApp);
    Serve();
    DownloadConfig().lowSpeedTime = std::chrono::seconds(2);
    ASSERT_TRUE(SaveDownloadList({Line("slow", 0, "/hang")}));
    TfrWebWnd &window = Open();
    window.activateWindow();
    window.bn_download->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return frInfoDownloadWnd->isVisible(); }, 5000));

    MessageBoxAnswer box;
    EXPECT_TRUE(box.Answered(20000));
    Hooks() = recorder;
    EXPECT_EQ(box.owner, &window);
    EXPECT_EQ(box.transientParent, window.windowHandle());
    EXPECT_EQ(box.text, "Selected File(s) Failed to Download\n\n(Ot)slow: no answer for 2 s");
    EXPECT_FALSE(box.progressShown);
    WaitForDownload();
    // Answered, the box lets Close work again.
    window.bn_close->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, InternetFileDownloadIsRefusedWhileADownloadRuns)
{
    TfrMainWnd &window = Start();
    ASSERT_NE(frInfoDownloadWnd, nullptr);
    EXPECT_FALSE(frInfoDownloadWnd->isVisible());
    DownloadRunning = true;
    window.menu_webupdate->trigger();
    DownloadRunning = false;
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "Download in Progress, try later.");
    Close();
    EXPECT_EQ(frInfoDownloadWnd, nullptr);
}
