// Start-up and shutdown of the main window on its own program folder.
#include "main_window_fixture.h"

#include "engine/downloads/download_settings.h"
#include "engine/files/download_list.h"
#include "engine/files/internet_info.h"
#include "engine/satellite_test_support.h"
#include "ui/downloads/info_download_window.h"
#include "ui/hooks_install.h"
#include "ui/message_box_answer.h"
#include "ui/widgets/window_size.h"
#include "ui/window_glue.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <new>
#include <unistd.h>

namespace {

// While set, every allocation of at least this many bytes fails as it does
// when memory runs out.
std::atomic<std::size_t> FailingAllocation{0};

TleRecord SelectedSatellite(const std::string &name)
{
    TleRecord record = MakeSatellite(IssLine1, IssLine2);
    record.Name.assign(name);
    record.Number.assign("25544");
    record.Selected = 1;
    return record;
}

// Starts the program and runs its event loop until the start fails and ends
// it; the status the loop ended with (-99: it did not end within a minute).
int RunUntilTheStartEnds(TfrMainWnd &window)
{
    window.show();
    window.StartInitialization();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(-99); });
    guard.start(60000);
    return QApplication::exec();
}

} // namespace

void *operator new(std::size_t size)
{
    const std::size_t failing = FailingAllocation.load(std::memory_order_relaxed);
    if (failing != 0 && size >= failing)
        throw std::bad_alloc();
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

// What the replaced operator new takes from malloc goes back to free.
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }

TEST_F(MainWindowTest, FirstStartWithAnEmptyDataFolderShowsDefaultsAndSavesAtClose)
{
    TfrMainWnd &window = Start();
    ASSERT_TRUE(window.Ready);
    EXPECT_EQ(window.windowTitle().toStdString(), Observer.Name.str());
    EXPECT_NE(window.windowTitle(), "KYT -");
    EXPECT_EQ(window.stxt_step->text(), "1 Sec");
    EXPECT_NE(window.stxt_step->styleSheet().indexOf("#ff0000"), -1);
    EXPECT_NE(window.txt_time->styleSheet().indexOf("#ff0000"), -1);
    EXPECT_FALSE(window.ClockTimer->isActive());
    EXPECT_EQ(window.cb_sat1->count(), 0);
    EXPECT_EQ(window.cb_sat2->count(), 0);
    EXPECT_EQ(window.Panel(1), "None");
    EXPECT_EQ(window.Panel(3), "None");
    EXPECT_EQ(window.txt_ra->text(), "00h 00m 00s");
    EXPECT_EQ(window.txt_dec->text(), "00d 00m 00s");
    EXPECT_EQ(window.txt_rng->text(), "00.0");
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
    EXPECT_FALSE(std::filesystem::exists(DataFile("Options.bin")));

    Close();
    EXPECT_EQ(std::filesystem::file_size(DataFile("Options.bin")), OptionsFileSize);
    ASSERT_TRUE(std::filesystem::exists(DataFile("MainSat.bin")));
    EXPECT_EQ(std::filesystem::file_size(DataFile("MainSat.bin")), 0u);
    EXPECT_TRUE(Messages().empty());
}

// Shown maximised as the program shows it, the window is restored (the title
// bar's double click) to a size that keeps its frame, title bar and all, on
// the screen, and as large as the screen allows.
TEST_F(MainWindowTest, TheWindowRestoredFromMaximisedKeepsItsFrameOnTheScreenAtEveryScreenSize)
{
    window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
    ShowMaximisedInScreenRoom(window_.get());
    window_->StartInitialization();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window_->Ready && !window_->ViewBusy; }, 60000));
    ASSERT_TRUE(window_->isMaximized());
    const QRect screen = window_->screen()->availableGeometry();
    const QRect outer = window_->frameGeometry(), inner = window_->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    ASSERT_FALSE(frame.isNull());
    const QRect restored = window_->normalGeometry();
    const QRect restoredFrame = restored.marginsAdded(frame);
    EXPECT_TRUE(screen.contains(restoredFrame))
        << restoredFrame.width() << "x" << restoredFrame.height() << "+" << restoredFrame.x() << "+"
        << restoredFrame.y() << " on " << screen.width() << "x" << screen.height();
    EXPECT_GE(restored.width(), screen.width() - 16);
    EXPECT_GE(restored.height(), screen.height() - 48);
}

TEST_F(MainWindowTest, AStartThatCannotLoadItsEphemerisEndsWithoutSavingAnything)
{
    std::filesystem::remove(root_ / "de_files" / "1957_2050.423");
    // The program's own event loop, which the failed start ends with a
    // status that scripts and launchers can tell from a normal end.
    window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
    EXPECT_EQ(RunUntilTheStartEnds(*window_), 1);
    TfrMainWnd &window = *window_;
    EXPECT_TRUE(window.ClosingWithoutSave());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Ready);
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Failed to load DE FILE :  1957_2050.423, Program will EXIT!\n"
                                "Tried \"" + ProgramFolder() + "de_files/1957_2050.423\"; the set-up command "
                                "\"bash tools/setup.sh run\" of the README makes the default file there.");
    EXPECT_EQ(messages[0].caption, "Start ERROR");
    window_.reset();
    EXPECT_FALSE(std::filesystem::exists(DataFile("Options.bin")));
    EXPECT_FALSE(std::filesystem::exists(DataFile("MainSat.bin")));

    // The ephemeris is there, but there is no memory to read it into: the
    // start-up task fails, and the program ends as it does without the file.
    LinkSetUpFile("de_files/1957_2050.423");
    const std::size_t ephemerisSize = std::filesystem::file_size(root_ / "de_files" / "1957_2050.423");
    window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
    FailingAllocation = ephemerisSize;
    EXPECT_EQ(RunUntilTheStartEnds(*window_), 1);
    FailingAllocation = 0;
    EXPECT_TRUE(window_->ClosingWithoutSave());
    EXPECT_FALSE(window_->Ready);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1].text, "Task 1 could not finish (not enough memory); its work was abandoned.");
    window_.reset();
    EXPECT_FALSE(std::filesystem::exists(DataFile("Options.bin")));
    EXPECT_FALSE(std::filesystem::exists(DataFile("MainSat.bin")));
}

// The set-up command makes the default ephemeris only where there is none: a
// file that is there but cut short or too large is named with what is wrong
// with it, and the advice to move it away first.
TEST_F(MainWindowTest, AnEphemerisThatIsThereButUnusableIsToldWithWhatMendsIt)
{
    const std::filesystem::path ephemeris = root_ / "de_files" / "1957_2050.423";
    const std::string whole = ReadFile(ephemeris.string());
    ASSERT_GT(whole.size(), 100000u);
    const auto failedStart = [this] {
        window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
        EXPECT_EQ(RunUntilTheStartEnds(*window_), 1);
        EXPECT_TRUE(window_->ClosingWithoutSave());
        window_.reset();
        const auto messages = Messages();
        return messages.empty() ? std::string() : messages.back().text;
    };
    const std::string failed = "Failed to load DE FILE :  1957_2050.423, Program will EXIT!\n";
    const std::string moveAway = "Move it away; then the set-up command \"bash tools/setup.sh run\" of the README "
                                 "makes the default file there.";

    std::filesystem::remove(ephemeris);
    {
        std::ofstream cut(ephemeris, std::ios::binary);
        cut.write(whole.data(), static_cast<std::streamsize>(whole.size() / 2));
    }
    EXPECT_EQ(failedStart(), failed + "\"" + ephemeris.string() +
                                 "\" is damaged: cut short, or not a DE ephemeris file. " + moveAway);

    std::filesystem::resize_file(ephemeris, EphemerisLimit + 1);
    const std::string tooLarge = failedStart();
    EXPECT_NE(tooLarge.find("the file is too large"), std::string::npos) << tooLarge;
    EXPECT_NE(tooLarge.find(moveAway), std::string::npos) << tooLarge;
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(DataFile("Options.bin")));
}

// The start-up's download tells its end after its progress box has gone,
// when the active window may be any or none: its message opens in front of
// the main window, which started the run, not of whatever else is active.
TEST_F(MainWindowTest, TheStartUpDownloadTellsItsEndInFrontOfTheMainWindow)
{
    SetProgramFolders(ProgramFolder());
    OptionsRecord options = DefaultOptions();
    options.AutoDownload = 1;
    std::ofstream(DataFile("Options.bin"), std::ios::binary) << OptionsToBytes(options, DefaultOptionsViewState());
    web_t web;
    web.period = 24;
    web.time = 45000.0;
    web.downloaded = true;
    ASSERT_TRUE(SaveInternetInfo(web));
    // Never fetched: the computer has no connection.
    ASSERT_TRUE(SaveDownloadList({"1 0  (Ot) stations http://127.0.0.1/stations.txt"}));
    const DownloadSettings savedSettings = DownloadConfig();
    DownloadConfig().connected = [] { return false; };
    DownloadConfig().localNow = [] { return 45010.0; };
    // The program's own message boxes, not the recorder.
    const UiHooks recorder = Hooks();
    InstallUiHooks(qApp);

    MessageBoxAnswer box;
    // The user is in another window, one that stays on top, when the
    // download ends.
    window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
    TfrMainWnd &window = *window_;
    window.show();
    QWidget other(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.StartInitialization();
    EXPECT_TRUE(box.Answered(20000));
    EXPECT_TRUE(QTest::qWaitFor([] { return !DownloadRunning; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Ready && !window.ViewBusy; }, 60000));
    Hooks() = recorder;
    DownloadConfig() = savedSettings;
    EXPECT_EQ(box.text, "Failed to Connect to The INTERNET");
    EXPECT_EQ(box.owner, &window);
    EXPECT_FALSE(box.progressShown);
    EXPECT_TRUE(window.isEnabled());
}

TEST_F(MainWindowTest, MainSetSavedAtCloseIsTheOneReadAtTheNextStart)
{
    // As earlier versions wrote it: read, and saved over without a second file.
    WriteSatFile(DataFile("mainsat.bin"), {SelectedSatellite("FIRST"), SelectedSatellite("SECOND")});
    Start();
    ASSERT_EQ(window_->cb_sat1->count(), 2);
    MainList[1].Selected = 0; // as the satellite selector would leave it
    Close();

    Start();
    ASSERT_EQ(MainList.size(), 2u);
    ASSERT_EQ(window_->cb_sat1->count(), 1);
    EXPECT_EQ(window_->cb_sat1->itemText(0), "FIRST");
    EXPECT_EQ(window_->cb_sat2->count(), 1);
    EXPECT_EQ(SatStates.size(), 1u);
    Close();
    EXPECT_TRUE(std::filesystem::exists(DataFile("mainsat.bin")));
    EXPECT_FALSE(std::filesystem::exists(DataFile("MainSat.bin")));
}

TEST_F(MainWindowTest, ATerminateSignalClosesAndSavesAsExitDoes)
{
    WriteSatFile(DataFile("MainSat.bin"), {SelectedSatellite("FIRST"), SelectedSatellite("SECOND")});
    Start();
    SwitchView(&TfrMainWnd::menu_globeClick);
    MainList[1].Selected = 0;
    MainSetChanged();
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window_->isVisible(); }, 5000));
    window_.reset();

    OptionsRecord saved{};
    OptionsViewState view = DefaultOptionsViewState();
    OptionsFromBytes(ReadFile(DataFile("Options.bin")), saved, view);
    EXPECT_EQ(saved.ViewMode, ViewModeGlobe);
    tlearray set;
    ASSERT_TRUE(LoadSatFile(set, DataFile("MainSat.bin")));
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set[1].Selected, 0);
}

TEST_F(MainWindowTest, MissingToolbarImagesAreReportedOnceAndTheProgramCarriesOn)
{
    std::filesystem::remove(root_ / "Glyphary.dll");
    TfrMainWnd &window = Start();
    EXPECT_TRUE(window.Ready);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(window.tb_map->icon().isNull());
}

TEST_F(MainWindowTest, ExitIsRefusedWhileADownloadRuns)
{
    TfrMainWnd &window = Start();
    DownloadRunning = true;
    window.menu_exitClick();
    DownloadRunning = false;
    EXPECT_TRUE(window.isVisible());
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Download in Progress please wait......");
    EXPECT_FALSE(std::filesystem::exists(DataFile("Options.bin")));
}

TEST_F(MainWindowTest, ClosingRemovesTheWrittenTrackFile)
{
    Start();
    std::ofstream(DataFile("KYT_Google_Tracks.kml")) << "<kml/>";
    Close();
    EXPECT_FALSE(std::filesystem::exists(DataFile("KYT_Google_Tracks.kml")));
}

TEST(ClampMainSet, KeepsTheFirstFifteenSelectionsAndCutsDamagedNames)
{
    tlearray set(20);
    for (TleRecord &record : set)
        record.Selected = 1;
    set[3].Selected = 0;
    set[5].Name.length = 200;
    set[6].Number.length = 9;
    EXPECT_EQ(ClampMainSet(set), 4u);
    std::size_t selected = 0;
    for (std::size_t i = 0; i < set.size(); ++i) {
        selected += set[i].Selected;
        if (i > 15) {
            EXPECT_EQ(set[i].Selected, 0) << i;
        }
    }
    EXPECT_EQ(selected, 15u);
    EXPECT_EQ(set[5].Name.length, 20);
    EXPECT_EQ(set[6].Number.length, 5);
}

TEST_F(MainWindowTest, AMainSetWithTooManySelectionsFillsFifteenBoxEntries)
{
    tlearray set;
    for (int i = 0; i < 18; ++i)
        set.push_back(SelectedSatellite("SAT " + std::to_string(i)));
    // A name's length byte beyond the field is cut to the field.
    set[2].Name.assign("SATELLITE NUMBER TWO");
    set[2].Name.length = 255;
    WriteSatFile(DataFile("MainSat.bin"), set);
    Start();
    EXPECT_EQ(window_->cb_sat1->count(), 15);
    EXPECT_EQ(SatStates.size(), 15u);
    EXPECT_EQ(window_->cb_sat1->itemText(14), "SAT 14");
    EXPECT_EQ(window_->cb_sat1->itemText(2).size(), 20);
}

TEST_F(MainWindowTest, ClosingWhileTheStartUpTaskLoadsKeepsTheStoredMainSet)
{
    WriteSatFile(DataFile("MainSat.bin"), {SelectedSatellite("KEPT")});
    const std::string stored = ReadFile(DataFile("MainSat.bin"));
    window_ = std::make_unique<TfrMainWnd>(ProgramFolder());
    window_->show();
    window_->StartInitialization();
    Close();
    EXPECT_EQ(ReadFile(DataFile("MainSat.bin")), stored);
    EXPECT_EQ(std::filesystem::file_size(DataFile("Options.bin")), OptionsFileSize);
    // The start-up task's hand-over after the close changes nothing.
    QTest::qWait(200);
    EXPECT_EQ(ReadFile(DataFile("MainSat.bin")), stored);
}
