// The main window's "Satellite List" and "Update Main List" commands, and the
// window and the selector on an 800 x 600 screen.
#include "main_window_fixture.h"

#include "engine/astronomy/constants.h"
#include "engine/program_folder_fixture.h"
#include "engine/satellite_test_support.h"
#include "engine/text/text_fields.h"
#include "ui/file_dialog_answer.h"
#include "ui/selector/sat_selector.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QStatusBar>

#include <thread>

namespace {

// As the program installs them: queued calls of worker tasks reach the
// window through the event loop, and the engine's refresh is the window's.
void InstallQueueHooks()
{
    Hooks().uiThread = std::this_thread::get_id();
    Hooks().runOnUiThread = [](std::function<void()> call) {
        QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
    };
    Hooks().refreshDisplay = [] { frMainWnd->RefreshDisplay(); };
}

void RemoveQueueHooks()
{
    Hooks().runOnUiThread = nullptr;
    Hooks().refreshDisplay = nullptr;
}

// In the open selector: "File" with path, then a double-click on each name.
void PickSatellites(TfrSatSelectorWnd &selector, const std::string &path, const std::vector<QString> &names)
{
    AnswerNextFileDialog(path);
    selector.bn_fileClick();
    ASSERT_TRUE(QTest::qWaitFor([&selector] { return !selector.Busy(); }, 30000));
    for (const QString &name : names) {
        selector.txt_search->setText(name);
        selector.bn_searchClick();
        const auto found = selector.ListBoxSatFile->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        selector.ListBoxSatFileDblClick(selector.ListBoxSatFile->row(found.front()));
    }
}

// The window lies with its frame on the screen's free area, and each of its
// visible controls lies whole within it.
void ExpectWholeOnScreen(const QWidget &window)
{
    const QRect screen = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.width() << "x" << frame.height() << "+" << frame.x() << "+"
                                        << frame.y();
    for (const QWidget *control : window.findChildren<QWidget *>()) {
        if (!control->isVisible() || control->isWindow())
            continue;
        EXPECT_TRUE(window.rect().contains(QRect(control->mapTo(&window, QPoint()), control->size())))
            << control->metaObject()->className();
    }
}

TleRecord Iss(const std::string &line2)
{
    TleRecord record = MakeSatellite(IssLine1, line2);
    record.Name.assign("ISS");
    record.Number.assign("25544");
    record.Selected = 1;
    return record;
}

} // namespace

TEST_F(MainWindowTest, SatellitesPickedFromTheDefaultElementFileReachTheBoxesAndTheSetFile)
{
    KYT_SETUP_FOLDER_OR_SKIP(setUpFolder, "tle/gpredict.tle");
    LinkSetUpFile("tle/gpredict.tle");
    LinkSetUpFile("data/qvnames.dat");
    InstallQueueHooks();
    TfrMainWnd &window = Start();
    EXPECT_EQ(window.menu_satellite->shortcut(), QKeySequence(Qt::Key_F2));
    const std::string path = (root_ / "tle" / "gpredict.tle").string();
    QTimer::singleShot(0, [path] {
        auto *selector = qobject_cast<TfrSatSelectorWnd *>(QApplication::activeModalWidget());
        ASSERT_NE(selector, nullptr);
        PickSatellites(*selector, path, {"ISS (ZARYA)", "NOAA 19"});
        // With its candidates shown the selector still fits this 800 x 600
        // screen.
        ExpectWholeOnScreen(*selector);
        selector->bn_closeClick();
    });
    window.tb_sat->trigger();
    ASSERT_EQ(window.cb_sat1->count(), 2);
    EXPECT_EQ(window.cb_sat1->itemText(0), "ISS (ZARYA)");
    EXPECT_EQ(window.cb_sat2->itemText(1), "NOAA 19");
    EXPECT_EQ(window.cb_sat1->currentIndex(), 0);

    // Maximised as the program shows it, the window and its status bar are
    // on the screen, each field wide enough for its text: the next pass, the
    // widest position and the satellite's speed and element age.
    window.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window.isMaximized(); }));
    QCoreApplication::processEvents();
    ASSERT_NE(window.Panel(1), "None");
    window.SetPanel(5, QString::fromStdString(FormatAngleDMS(true, 0, DegToRad(-179.99))));
    window.SetPanel(7, QString::fromStdString(FormatAngleDMS(true, 0, DegToRad(-89.99))));
    ASSERT_FALSE(window.Panel(9).isEmpty());
    QCoreApplication::processEvents();
    ExpectWholeOnScreen(window);
    // The window manager keeps the window no smaller than its minimum.
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE(window.minimumHeight() + frame.height(), window.screen()->availableGeometry().height());
    for (const QLabel *panel : window.statusBar()->findChildren<QLabel *>())
        EXPECT_GE(panel->width(), panel->minimumSizeHint().width()) << panel->text().toStdString();
    Close();
    EXPECT_EQ(std::filesystem::file_size(ResolvePath(DataFile("MainSat.bin"))), 2 * sizeof(TleRecord));
    RemoveQueueHooks();
}

TEST_F(MainWindowTest, UpdateMainListGivesTheBoxesTheNewerElementsPasses)
{
    const std::string newLine1 = WithField(IssLine1, 19, "08265.51782528");
    const std::string newLine2 = WithField(IssLine2, 18, "100.4627");
    const double instant = MakeSatellite(newLine1, newLine2).Elements.epoch - JulianDateOfDayZero + 0.1;
    // The next pass the window shows for the newer set itself.
    TleRecord newer = Iss(newLine2);
    ASSERT_GE(ParseSatElements(newLine1, newLine2, newer, true), 0);
    InitSatelliteModel(newer);
    WriteSatFile(DataFile("MainSat.bin"), {newer});
    Start();
    SetInstant(instant);
    const QString expected = window_->Panel(1);
    Close();

    InstallQueueHooks();
    WriteSatFile(DataFile("MainSat.bin"), {Iss(IssLine2)});
    std::ofstream(root_ / "tle" / "iss.tle") << "ISS (ZARYA)\r\n" << newLine1 << "\r\n" << newLine2 << "\r\n";
    TfrMainWnd &window = Start();
    SetInstant(instant);
    ASSERT_NE(window.Panel(1), expected);
    window.menu_updatemainlist->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Messages().empty(); }, 30000));
    // The elements are still years old, and the message says so.
    EXPECT_EQ(Messages().back().text.rfind("Satellites Updated Successfully\n\nThe newest element set is ", 0), 0u);
    EXPECT_EQ(Messages().back().caption, "Information");
    EXPECT_EQ(MainList[0].Elements.epoch, newer.Elements.epoch);
    EXPECT_EQ(MainList[0].Name.str(), "ISS");
    EXPECT_EQ(window.Panel(1), expected);
    RemoveQueueHooks();
}

