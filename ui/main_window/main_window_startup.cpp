// Start-up and shutdown: the program's entry, the main window's creation,
// the start-up task and the closing steps.
#include "ui/main_window/main_window.h"

#include "engine/astronomy/astro_time.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/files/data_files.h"
#include "engine/astronomy/de_reader.h"
#include "engine/downloads/download_settings.h"
#include "engine/files/element_files.h"
#include "engine/files/favorite_files.h"
#include "engine/files/main_set.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"
#include "ui/downloads/info_download_window.h"
#include "ui/main_window/day_count.h"
#include "ui/prediction/prediction_window.h"
#include "ui/widgets/glyphary.h"
#include "ui/widgets/window_size.h"
#include "ui/analysis/analysis_window.h"
#include "ui/hooks_install.h"
#include "ui/program_main.h"
#include "ui/main_window/shutdown_signals.h"
#include "ui/main_window/time_step.h"
#include "ui/window_glue.h"
#include "views/ground_track.h"
#include "views/view_setup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <chrono>

namespace {

// Shutdown waits at most this long for the window's own tasks.
constexpr auto TaskWaitLimit = std::chrono::seconds(5);
// Shutdown waits at most this long for the prediction window's search, which
// stops at its next satellite or pass when told.
constexpr auto PredictionWaitLimit = std::chrono::milliseconds(1500);

constexpr ThreadTag StartupTaskTag = 1;

// The program's exit status when it cannot start: scripts and desktop
// launchers tell a failed start from a normal end by it.
constexpr int StartFailedExitCode = 1;

constexpr const char *EphemerisFile = "de_files/1957_2050.423";

void Tell(const std::string &text)
{
    ShowUserMessage(text, "KYT", MessageKind::Error);
}

} // namespace

TfrMainWnd::TfrMainWnd(const std::string &programDir) : programDir_(programDir)
{
    setWindowTitle("KYT -");
    // On a small screen the window with its title bar still fits, so that its
    // status bar stays in sight.
    setMinimumSize(QSize(800, 600).boundedTo(ScreenRoom(this)));
    BuildMenus();
    BuildToolbar();
    BuildControls();
    BuildStatusBar();
    ConnectCommands();
    switches_ = {menu_displaynumber, menu_tracks, menu_sat_vis, menu_startohorizon, menu_showskysat,
                 menu_sky_tools_orientation_normal, menu_sky_tools_orientation_inverted,
                 menu_sky_tools_orientation_mirror_ew, menu_sky_tools_orientation_mirror_ns,
                 menu_skyviewfixsatellite, menu_skyviewradec, menu_skyviewaltaz,
                 menu_skyviewfixradec, menu_skyviewfixaltaz, menu_showsatellitemag, menu_starames,
                 menu_constellations, menu_constellationNames, menu_showLabel, menu_grids,
                 menu_loc_vis};
    frMainWnd = this;
    // A logout, a shutdown or Ctrl+C closes the window as Exit does.
    new ShutdownSignals(this, [this] { close(); });
    FormCreate();
    // The download progress box lives as long as the main window.
    frInfoDownloadWnd = new TfrInfoDownloadWnd();
}

TfrMainWnd::~TfrMainWnd()
{
    if (!closed_ && !endWithoutSave_)
        FormClose();
    if (frMainWnd == this)
        frMainWnd = nullptr;
}

void TfrMainWnd::FormCreate()
{
    // Numbers read and written by Qt use '.' and ',' whatever the user's locale.
    QLocale::setDefault(QLocale::c());
    ViewBusy = false;
    DownloadStop = false;
    // Nothing of the main set is read yet: closing now must not write it.
    SetMainSetSavable(false);
    SetProgramFolders(programDir_);
    // Saves cut short by a crash or a kill left their temporary files.
    for (const std::string &folder : {DataDir, FavoritesFolder(), ProgramDir + "tle/"})
        RemoveInterruptedSaves(folder);
    ToolbarImages().clear();
    setWindowIcon(QApplication::windowIcon());
    setWindowState(Qt::WindowMaximized);
    // The observer is not loaded yet: the pickers show UTC until it is.
    SetPickersToInstant(SystemClockDayCount());

    ClockTimer = new QTimer(this);
    ClockTimer->setInterval(1000);
    connect(ClockTimer, &QTimer::timeout, this, &TfrMainWnd::ClockTimerTick);

    OptionsViewState view = DefaultOptionsViewState();
    std::string error;
    bool settingsRead = true;
    if (!LoadOptions(view, &error, &settingsRead))
        Tell(error);
    for (int i = 0; i < DisplaySwitchCount; ++i)
        switches_[i]->setChecked(view.Switches[i]);
    MainView.CentreAlt = view.CentreAlt;
    MainView.CentreAz = view.CentreAz;
    menu_selectskyfile->setText(QString::fromStdString(SkyFileMenuCaption()));
    menu_selectiridiumfile->setText(QString::fromStdString(IridiumFileMenuCaption()));
    // A settings file this run could not read still holds the user's
    // settings: it is written over at exit only once they were changed from
    // the defaults that stand in for them.
    unreadSettings_ = settingsRead ? std::string() : OptionsToBytes(Options, CurrentOptionsView());

    if (Options.UtcTime) {
        Options.UtcTime = 0;
        menu_utctimeClick();
    }
    ShowMagnitudeLimit();
    // The clock starts one rung above half a second: one second a tick.
    Step = 500;
    ControlTimeStep(StepFaster);
    ConfigureViewControls();

    QString glyphError;
    if (!LoadGlyphary(QString::fromStdString(ProgramDir + "Glyphary.dll"), ToolbarImages(), glyphError)) {
        // The toolbar works without pictures; the sets named in the settings
        // are rebuilt at the next start.
        Tell(glyphError.toStdString());
        return;
    }
    ApplyToolbarImages();
    // The defaults name no source files: rebuilding from them would delete
    // the sets the unread settings name.
    if (!unreadSettings_.empty())
        return;
    // A source file that went missing leaves the old set file; nothing to
    // tell. Any other failure is told (an unreadable source keeps the setting).
    std::string skyError;
    if (!BuildSkyFile(&skyError) && !skyError.empty())
        Tell(skyError);
    BuildIridiumFile();
}

void TfrMainWnd::menu_exitClick()
{
    if (DownloadRunning) {
        ShowUserMessage("Download in Progress please wait......", "KYT", MessageKind::Information);
        return;
    }
    close();
}

void TfrMainWnd::closeEvent(QCloseEvent *event)
{
    if (!closed_ && !endWithoutSave_)
        FormClose();
    event->accept();
}

void TfrMainWnd::EndWithoutSaving()
{
    endWithoutSave_ = true;
    ShutdownSignals::Closing();
    Ready = false;
    ClockTimer->stop();
    hide();
    WaitForOwnTasks();
    QApplication::exit(StartFailedExitCode);
}

void TfrMainWnd::WaitForOwnTasks()
{
    const auto deadline = std::chrono::steady_clock::now() + TaskWaitLimit;
    for (const WorkerHandle &task : tasks_)
        if (task.Started())
            task.exitCode.wait_until(deadline);
}

bool TfrMainWnd::OwnTasksEnded() const
{
    for (const WorkerHandle &task : tasks_)
        if (task.Started()
            && task.exitCode.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
    return true;
}

WorkerHandle TfrMainWnd::StartTask(ThreadTag tag, std::function<void()> procedure, RunningFlag *running,
                                   std::function<void()> onFailure)
{
    // Ended tasks are forgotten so the list stays short over a long run.
    std::erase_if(tasks_, [](const WorkerHandle &task) {
        return !task.Started()
            || task.exitCode.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    tasks_.push_back(StartWorkerThread(
        tag,
        [this, tag, procedure = std::move(procedure), onFailure = std::move(onFailure)] {
            try {
                procedure();
            } catch (...) {
                OnUiThread([why = TaskFailureText(tag), onFailure] {
                    Tell(why);
                    if (onFailure)
                        onFailure();
                });
            }
        },
        running));
    return tasks_.back();
}

void TfrMainWnd::FormClose()
{
    closed_ = true;
    ShutdownSignals::Closing();
    Ready = false;
    hide();
    bn_stopClick();
    // A running download ends its transfer within a second.
    DownloadStop = true;
    std::string error;
    const OptionsViewState view = CurrentOptionsView();
    if ((unreadSettings_.empty() || OptionsToBytes(Options, view) != unreadSettings_) && !SaveOptions(view, &error))
        Tell(error);
    // Closed while the start-up task still loads, MainList is not the file's
    // set yet, and a file that could not be read whole still holds what the
    // user had: either is written over only once the user changed the set.
    if (MainSetSavable())
        SaveMainSet();
    delete frInfoDownloadWnd;
    frInfoDownloadWnd = nullptr;
    DeleteDataFile(DataDir + "KYT_Google_Tracks.kml");
    const bool analysisEnded = ReleaseAnalysisWindow(TaskWaitLimit);
    // The ephemeris is freed only when none of the window's tasks can still
    // read it; otherwise it stays loaded until the process ends.
    const bool predictionEnded = ReleasePredictionWindow(PredictionWaitLimit);
    WaitForOwnTasks();
    if (OwnTasksEnded() && analysisEnded && predictionEnded)
        FreeDEFile();
    ToolbarImages().clear();
    QApplication::quit();
}

OptionsViewState TfrMainWnd::CurrentOptionsView() const
{
    OptionsViewState view;
    for (int i = 0; i < DisplaySwitchCount; ++i)
        view.Switches[i] = switches_[i]->isChecked();
    view.CentreAlt = MainView.CentreAlt;
    view.CentreAz = MainView.CentreAz;
    return view;
}

void TfrMainWnd::StartInitialization()
{
    // The observer and the horizon correction are shared state: they are set
    // here, on the user-interface thread, before the task starts.
    std::string error;
    if (!LoadObserver(&error))
        Tell(error);
    SetHorizonCorrection();
    TrackPoints.clear();
    // Without its data the program cannot go on.
    StartTask(StartupTaskTag, [this] { LoadStartupDataThread(); }, nullptr, [this] {
        if (!closed_)
            EndWithoutSaving();
    });
}

void TfrMainWnd::SetHorizonCorrection()
{
    MainView.HorizonAltitude = CalcHorizonAltitude(Observer.Height);
}

void TfrMainWnd::ObserverChanged()
{
    // The horizon correction first: the refresh draws the sky's horizon and
    // searches the next pass from the new place.
    SetHorizonCorrection();
    setWindowTitle(QString::fromStdString(Observer.Name.str()));
    // The pickers show the clock in the place's zone: left on the old zone,
    // SET would move the clock by the difference of the two offsets.
    SetPickersToInstant(CurrentTime);
    if (frAnalysisWnd)
        frAnalysisWnd->ObserverChanged();
    RefreshDisplay();
}

void TfrMainWnd::LoadStartupDataThread()
{
    // The long loads run here; everything that touches the window or the
    // shared state follows on the user-interface thread.
    const std::string ephemeris = ProgramDir + EphemerisFile;
    std::string error;
    if (!LoadDEFile(ephemeris, &error)) {
        // The set-up command makes the default file only where there is
        // none: a file that is there but unusable has to be moved away first.
        const std::string setUp = "the set-up command \"bash tools/setup.sh run\" of the README makes the default "
                                  "file there.";
        const std::string why = error.empty() ? "Tried \"" + ephemeris + "\"; " + setUp
                                              : error + ". Move it away; then " + setUp;
        OnUiThread([this, why] {
            ShowUserMessage("Failed to load DE FILE :  1957_2050.423, Program will EXIT!\n" + why,
                            "Start ERROR", MessageKind::Information);
            EndWithoutSaving();
        });
        EndWorkerThread(StartupTaskTag);
        return;
    }
    MainSetReading mainSet = ReadMainSetFile();
    OnUiThread([this, mainSet = std::move(mainSet)]() mutable { FinishStartup(std::move(mainSet)); });
    EndWorkerThread(StartupTaskTag);
}

void TfrMainWnd::FinishStartup(MainSetReading mainSet)
{
    if (closed_)
        return;
    CopySwitchesToViews();
    const std::string mapProblem = InitGraphics(MainImage->width(), MainImage->height());
    if (!mapProblem.empty())
        Tell(mapProblem);
    ApplyOrientation();
    // The instant is real UTC; the pickers show it as the observer's time.
    CurrentTime = SystemClockDayCount();
    SetPickersToInstant(CurrentTime);
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    TrackStart = TrackEnd = AosTime = CurrentTime;
    LosTime = AosTime;
    DistanceFactor = Options.Metric ? 1.0 : 0.621371;
    MainList = std::move(mainSet.records);
    SetMainSetSavable(mainSet.whole);
    if (!mainSet.problem.empty())
        Tell(mainSet.problem);
    ClampMainSet(MainList);
    FillMainSatelliteCombos();
    // The start rule of the first search asks whether the satellite is up now.
    UpdateSelectedSatellites();
    setWindowTitle(QString::fromStdString(Observer.Name.str()));
    UpdateNextPass();
    Ready = true;
    txt_info1->setText(QString::fromStdString(ApplyViewOptions()));
    switch (Options.ViewMode) {
    case ViewModeMap: menu_mapClick(); break;
    case ViewModeSky: menu_skyClick(); break;
    case ViewModeGlobe: menu_globeClick(); break;
    default: break;
    }
    if (Options.AutoDownload)
        StartAutoDownload();
}

void TfrMainWnd::SaveMainSet()
{
    std::string error;
    if (!SaveSatFile(MainList, MainSetPath(), &error))
        Tell(error);
}

int ProgramMain(int &argc, char **argv)
{
    // Never deleted: worker tasks still running at the end may hand results
    // to it (they are then dropped with the process).
    auto *application = new QApplication(argc, argv);
    QApplication::setApplicationName("Sidrela");
    InstallUiHooks(application);
    if (!InitProgramFolders())
        SetProgramFolders(QCoreApplication::applicationDirPath().toStdString() + "/");
    auto *window = new TfrMainWnd(ProgramDir);
    StartInitialization();
    // Without a window manager a maximised window keeps its own size, so it
    // starts out as large as the screen allows.
    ShowMaximisedInScreenRoom(window);
    return QApplication::exec();
}

void StartInitialization()
{
    frMainWnd->StartInitialization();
}
