// The program's main window: the live view, its clock, the selected
// satellite's data and the view switches.
#pragma once

#include <QMainWindow>
#include <QImage>
#include <QPoint>
#include <QLabel>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "engine/files/main_set.h"
#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"
#include "engine/runtime/worker_tasks.h"
#include "views/sky_view.h"
#include "ui/widgets/click_label.h"

class QAction;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;

class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

// The image control that shows the view bitmap.
class ViewImage : public QWidget {
    Q_OBJECT
public:
    explicit ViewImage(QWidget *parent = nullptr);
    void SetPicture(const QImage &picture);
    const QImage &Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage picture_;
};

class TfrMainWnd : public QMainWindow {
    Q_OBJECT
public:
    // programDir is the folder of the program file, with a trailing '/'.
    explicit TfrMainWnd(const std::string &programDir);
    ~TfrMainWnd() override;

    // Start-up and shutdown.
    void FormCreate();
    // Starts the start-up task (once, after creation).
    void StartInitialization();
    void menu_exitClick();
    // Set when the program ends without saving (the ephemeris is missing).
    bool ClosingWithoutSave() const { return endWithoutSave_; }
    // Ends the program without saving anything (the ephemeris is missing).
    void EndWithoutSaving();

    // Clock and time control.
    void ClockTimerTick();
    void RecomputeAndDraw();
    void RefreshDisplay();
    void ShowCurrentTime();
    void ControlTimeStep(int32_t code);
    void bn_stopClick();
    void menu_forwardClick();
    void bn_timebackwardClick();
    void bn_plusClick();
    void bn_minusClick();
    void menu_utctimeClick();
    void menu_settimelocalClick();
    void menu_setusertimeClick();
    void dt_main_dateChange();
    // Puts the pickers on the given instant, shown as the observer's local time.
    void SetPickersToInstant(double instant);
    // The offset added to UTC instants for display: 0 in UTC mode, else the
    // observer's zone offset.
    double DisplayOffset() const;

    // Selected satellite.
    void cb_sat1Change();
    void cb_sat2Change();
    void ShowSelectedSatelliteData();
    void ClearSatelliteData();
    void UpdateNextPass();
    // Whether the standing next-pass prediction, or the search under way,
    // describes the current or the next pass at the instant.
    bool PredictionCovers(double instant) const;
    // Whether a next-pass search runs on its task, the panels waiting for it.
    bool NextPassSearching() const { return nextPass_ == NextPassState::Searching; }
    // How long a selection, place change or clock step waits for its
    // next-pass search before leaving it to its task, so that the window
    // never stands still for longer.
    std::chrono::milliseconds NextPassWaitLimit{100};

    // "Prediction Passes": the prediction window, created once.
    void menu_linetabularClick();
    // The satellite list and the main list update.
    void menu_satelliteClick();
    void menu_updatemainlistClick();

    // Views and display switches.
    void menu_mapClick();
    void menu_skyClick();
    void menu_globeClick();
    void ClearStarStreams();
    void ConfigureViewControls();
    void CenterSkyOnBody(int index);
    void CenterSkyOnAzimuth(double azimuth);
    void menu_zenithClick();
    void menu_magClick();
    void tb_plusClick();
    void tb_minusClick();
    // The magnitude limit as the user typed it.
    void SetMagnitudeLimit(const std::string &answer);
    // menu_mag's caption for the limit in force, the same after setting it
    // and after a restart.
    void ShowMagnitudeLimit();
    // Whether none of the window's own tasks still runs.
    bool OwnTasksEnded() const;

    // Downloads: the download window, refused while a download runs.
    void menu_webupdateClick();

    // Status bar panel text (0..11).
    void SetPanel(int index, const QString &text);
    QString Panel(int index) const;

    // The observer location window (F3).
    void menu_locationClick();

    // After the observer changed (location window, Reset default, home set
    // with the mouse): the horizon correction, the caption, the date and time
    // pickers here and in the analysis window, and a refresh.
    void ObserverChanged();

    // Runs fn on the user-interface thread (at once when already there).
    void OnUiThread(std::function<void()> fn);

    // Mouse and zoom on the view image (pixel coordinates of MainImage).
    void MainImageMouseDown(Qt::MouseButton button, bool shift, int x, int y);
    void MainImageMouseMove(int x, int y);
    void MainImageMouseUp(Qt::MouseButton button, bool shift, int x, int y);
    void DrawZoomFrame(int x, int y);

    // Commands of the tools and help menus, and the layout after a resize.
    void menu_conversionClick();
    void menu_selectiridiumfileClick();
    void menu_selectskyfileClick();
    void menu_resetClick();
    void menu_contentsClick();
    void FormResize();

    // The modal windows of the selector, tools and help menus.
    void menu_satdataClick();
    void menu_infoClick();
    void menu_optionsClick();
    void menu_aboutClick();

    // Mouse state: a zoom drag in progress, its button and start, the half
    // height of its frame, and the sky or ground position under the cursor
    // (right ascension and declination, altitude and azimuth, latitude and
    // longitude; NoPosition where the pixel shows no sky).
    bool Dragging = false;
    bool DragZoomIn = false;
    QPoint DragStart;
    int DragSize = 0;
    Angles3 CursorRaDec;
    std::pair<double, double> CursorAltAz;
    Angles3 CursorGround;
    // The element file chosen for the two-line to three-line conversion.
    std::string ConvertFileName;

    // Window state other parts of the program read or set.
    std::atomic<bool> ViewBusy{false};
    std::atomic<bool> RedrawEnabled{false};
    std::atomic<bool> Ready{false};

    // Controls.
    QTimer *ClockTimer = nullptr;
    QToolBar *MainToolbar = nullptr;
    QLineEdit *txt_time = nullptr;
    QLabel *stxt_step = nullptr;
    ClickLabel *stxt_utc = nullptr;
    QDateEdit *dt_main_date = nullptr;
    QDateTimeEdit *dt_main_hour = nullptr;
    QPushButton *bn_set = nullptr, *bn_now = nullptr;
    QPushButton *bn_timebackward = nullptr, *bn_stop = nullptr, *bn_timeforward = nullptr;
    QPushButton *bn_minus = nullptr, *bn_plus = nullptr;
    QComboBox *cb_sat1 = nullptr, *cb_sat2 = nullptr;
    QLabel *stxt_2sat_range = nullptr;
    QLineEdit *txt_ra = nullptr, *txt_dec = nullptr, *txt_az = nullptr;
    QLineEdit *txt_alt = nullptr, *txt_hgt = nullptr, *txt_rng = nullptr;
    QLineEdit *txt_info1 = nullptr;
    ViewImage *MainImage = nullptr;

    // Menus (by their captions' roles).
    QMenu *menu_selector = nullptr, *menu_view = nullptr, *menu_sky = nullptr;
    QMenu *menu_globe = nullptr, *menu_mapmenu = nullptr, *menu_time = nullptr;
    QMenu *menu_predictions = nullptr, *menu_tools = nullptr, *menu_help = nullptr;

    QAction *menu_satellite = nullptr, *menu_location = nullptr, *menu_satdata = nullptr;
    QAction *menu_exit = nullptr;
    QAction *menu_map = nullptr, *menu_skymode = nullptr, *menu_globemode = nullptr;
    QAction *menu_sat_vis = nullptr, *menu_loc_vis = nullptr, *menu_tracks = nullptr;
    QAction *menu_grids = nullptr, *menu_displaynumber = nullptr, *menu_showLabel = nullptr;
    QAction *menu_displaycities = nullptr, *menu_displayhomelocation = nullptr;
    QAction *menu_globelocation = nullptr;
    QAction *menu_constellations = nullptr, *menu_constellationNames = nullptr;
    QAction *menu_starames = nullptr, *menu_startohorizon = nullptr;
    QAction *menu_showsatellitemag = nullptr, *menu_showskysat = nullptr;
    QAction *menu_skyviewradec = nullptr, *menu_skyviewaltaz = nullptr;
    QAction *menu_skyviewfixradec = nullptr, *menu_skyviewfixaltaz = nullptr;
    QAction *menu_skyviewfixsatellite = nullptr;
    QAction *menu_sky_tools_orientation_normal = nullptr;
    QAction *menu_sky_tools_orientation_inverted = nullptr;
    QAction *menu_sky_tools_orientation_mirror_ew = nullptr;
    QAction *menu_sky_tools_orientation_mirror_ns = nullptr;
    QAction *menu_skyzenith = nullptr, *menu_mag = nullptr;
    QAction *menu_utctime = nullptr, *menu_settimelocal = nullptr, *menu_setusertime = nullptr;
    QAction *menu_forward = nullptr, *menu_backward = nullptr, *menu_stop = nullptr;
    QAction *menu_linetabular = nullptr, *menu_analysis = nullptr, *menu_planets = nullptr;
    QAction *menu_conversion = nullptr, *menu_info = nullptr, *menu_webupdate = nullptr;
    QAction *menu_updatemainlist = nullptr, *menu_selectiridiumfile = nullptr;
    QAction *menu_selectskyfile = nullptr, *menu_reset = nullptr, *menu_options = nullptr;
    QAction *menu_contents = nullptr, *menu_about = nullptr;

    // Toolbar buttons.
    QAction *tb_sat = nullptr, *tb_loc = nullptr, *tb_map = nullptr, *tb_sky = nullptr;
    QAction *tb_globe = nullptr, *tb_linetab = nullptr, *tb_analysis = nullptr;
    QAction *tb_info = nullptr, *tb_time = nullptr, *tb_planets = nullptr;
    QAction *tb_satvis = nullptr, *tb_locvis = nullptr, *tb_track = nullptr, *tb_grids = nullptr;
    QAction *tb_const = nullptr, *tb_starname = nullptr, *tb_constname = nullptr;
    QAction *tb_plus = nullptr, *tb_minus = nullptr, *tb_reset = nullptr, *tb_exit = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Connects the commands above and routes the view image's mouse and
    // resize events to their handlers.
    void ConnectCommands();
    void ConnectDialogCommands();
    void ShowCursorPosition(int x, int y);
    void MapMouseUp(Qt::MouseButton button, bool shift);
    void SkyMouseUp(Qt::MouseButton button, int x, int y);
    void GlobeMouseUp();
    void BuildMenus();
    void BuildToolbar();
    void BuildControls();
    void BuildStatusBar();
    void ApplyToolbarImages();
    void SetClockColour(const QColor &colour);
    // A display switch: toggled by its menu item, then the extra effect and
    // a full refresh.
    void DisplaySwitchChanged(QAction *item);
    void SkyModeChosen(QAction *item);
    void OrientationChosen(QAction *item);
    void FormClose();
    // The settings as they stand now, for "Options.bin".
    OptionsViewState CurrentOptionsView() const;
    void LoadStartupDataThread();
    void SetHorizonCorrection();
    void FinishStartup(MainSetReading mainSet);
    void SaveMainSet();
    // Starts one of the window's own tasks. A task that fails (an exception,
    // memory) is told, and onFailure then puts the window right on the
    // user-interface thread. The handle tells when the task has ended.
    WorkerHandle StartTask(ThreadTag tag, std::function<void()> procedure, RunningFlag *running = nullptr,
                           std::function<void()> onFailure = {});
    // The automatic download task (start-up, when the settings ask for it).
    void StartAutoDownload();
    void WaitForOwnTasks();

    // The observer's latitude, longitude and height.
    static Angles3 ObserverPlace();
    // The next pass: a fresh search asked for from the current instant (the
    // search under way, if any, is dropped), a search started on its task,
    // and its result shown unless it has gone stale meanwhile.
    struct NextPassSearch;
    void RequestNextPass();
    void StartNextPassSearch(const TleRecord &record);
    void ShowNextPass(const NextPassSearch &search);
    // Whether the prediction was made for these elements from the observer's place.
    bool PredictionIsFor(const TleRecord &record) const;
    const TleRecord *SelectedRecord() const;
    const TargetState *SelectedState() const;
    void ShowSatelliteRange();
    void TurnViewToSelected();
    // A sky zoomed out past its widest view comes back to the widest.
    void KeepSkyWithinWidestView();

    void SwitchView(std::int32_t mode);
    void FinishMapView();
    void FinishGlobeView();
    void PrepareSkyViewThread(bool wantSkySet);
    void FinishSkyView(bool wantSkySet, bool skySetRead, tlearray skySet, StarCatalogue catalogue);
    void ShowCheckedView();
    void CopySkySwitchesToView();
    void CopySwitchesToViews();
    bool LoadSkySet();
    void ApplyOrientation();
    void DrawMainView();

    std::string programDir_;
    // The stored display switches, in the settings file's order.
    std::array<QAction *, DisplaySwitchCount> switches_{};
    std::vector<WorkerHandle> tasks_;
    std::array<QLabel *, 12> panels_{};
    // Where the next-pass prediction stands: asked for, searched on a task,
    // or shown and standing until the clock passes its set.
    enum class NextPassState { Requested, Searching, Standing };
    NextPassState nextPass_ = NextPassState::Requested;
    // The search under way; the result of any other is stale.
    std::shared_ptr<NextPassSearch> nextPassSearch_;
    // The earliest instant the next-pass prediction describes: the instant
    // searched from, then the pass's rise when that is earlier.
    double passSearchStart_ = 0.0;
    // The elements and the observer's place the standing prediction was
    // searched for.
    element_set predictedElements_{};
    Angles3 predictedPlace_{};
    // The settings image at start when "Options.bin" could not be read (it
    // is then written only when the settings differ); empty otherwise.
    std::string unreadSettings_;
    bool endWithoutSave_ = false;
    bool closed_ = false;
};

// The main window of the running program (null before it is created).
extern TfrMainWnd *frMainWnd;
