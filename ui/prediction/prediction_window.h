// The prediction window: the working set of satellites, the inputs of the
// pass, flare, transit and ground-track searches, their report and the pass
// list the pass chart and the KML export read.
//
// Every search runs through StartSearch: it applies the start refusals,
// takes one snapshot of the inputs (PredictionInputs) and runs an engine
// search function on a worker task. The result comes back to the user-
// interface thread in one piece: the passes, then the report lines, then
// Busy is cleared. Each search command is one call, for example
//     StartSearch(42, SearchIridiumFlares, SearchKind::Flares);
#pragma once

#include <QMainWindow>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "engine/runtime/worker_tasks.h"
#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolBar;
class ClickLabel;

class TfrPredictionWnd : public QMainWindow {
    Q_OBJECT
public:
    TfrPredictionWnd();
    ~TfrPredictionWnd() override;

    // What a search's start does besides the refusals every start shares
    // (Busy, a span that CheckPredictionPeriod refuses).
    enum class SearchKind {
        Passes,       // the working set's qualifying records; a new pass list;
                      // "Sky Charts" when a pass was found
        Flares,       // the Iridium set (refused without one); a new pass list;
                      // "Sky Charts" and "Show Google Earth" when a flare was found
        Transits,     // the working set's qualifying records; the pass list is kept;
                      // refused, with a message, while the sky point or star
                      // was not chosen
        GroundTracks, // as Transits; "Show Google Earth" when a track row was written
    };
    using PredictionSearch =
        std::function<PredictionResult(const PredictionInputs &inputs, const SearchControl &control)>;

    // Starts `search` as worker task `tag` unless a start refusal applies
    // (the refusals are silent but for CheckPredictionPeriod's, the missing
    // Iridium set's and the missing sky point's or star's messages). True
    // when the task started.
    bool StartSearch(ThreadTag tag, PredictionSearch search, SearchKind kind);

    // Gives up the running search: it stops at its next satellite or pass,
    // and its result is dropped. Waits at most `limit` for its task; true
    // when no task of the window still runs.
    bool EndSearches(std::chrono::milliseconds limit);

    // The inputs every search reads when it starts: the minimum elevation and
    // the Sun altitude (rad) and the span in UTC.
    bool GetPredictionSpan(double &minElevation, double &sunAltitude, double &end, double &start) const;
    // The snapshot of everything a search of this kind reads.
    PredictionInputs TakeInputs(SearchKind kind) const;

    // Reloads the working set from the main set (an empty main set leaves it).
    void CopyMainListToPrediction();

    // Sets nm_track's maximum and label for the display unit (DistanceFactor).
    void ShowTrackUnit();

    // Commands.
    // "Select Satellites": the working set through the satellite selector;
    // refused while Busy, since a search reads the working set.
    void menu_satselectorClick();
    void menu_locselectorClick();
    void menu_mainlistClick();
    void menu_closeClick();
    void menu_utcClick();
    void menu_noneClick();
    void menu_allClick();
    void menu_lineClick();
    void menu_tabularClick();
    void menu_trsClick();
    void menu_trkClick();
    void menu_flareClick();
    void menu_printClick();
    void menu_saveClick();
    void cklb_linetabClickCheck(QListWidgetItem *item);
    void cb_irid_dayClick();
    void cb_objectChange();
    void dt_predict_date1Change();
    void dt_predict_date2Change();
    // "Sky Charts": nothing while Busy; with no passes it says so; otherwise
    // OpenPassChart.
    void bn_chartwndClick();
    // "Show Google Earth": nothing while Busy; writes the KML file of the
    // last flare or ground-track result and opens it with the desktop.
    void bn_googleClick();

    // Set by the pass chart window's owner; until then "Sky Charts" stays
    // disabled.
    std::function<void()> OpenPassChart;
    // Set by the KML export's owner; until then "Show Google Earth" stays
    // disabled.
    std::function<void()> ShowGoogleEarth;

    // Results and state other windows read.
    PassList Passes;                  // in the order found; owned here
    std::atomic<bool> Busy{false};    // a search of this window runs
    bool UtcMode = true;              // times entered and shown in UTC
    bool FlareResult = false;         // the last search started was the flare search
    std::string ResultDistanceUnit = "km"; // of the distances in the result text
    TargetState TransitTarget{};
    std::string TargetName;
    tlearray PredictionList;          // the working set
    tlearray IridiumList;             // the Iridium set

    // Controls.
    QToolBar *PredictionToolbar = nullptr;
    QListWidget *cklb_linetab = nullptr;
    QSpinBox *nm_sunalt = nullptr, *nm_satalt = nullptr, *nm_revs = nullptr, *nm_steps = nullptr;
    QSpinBox *nm_mag = nullptr, *nm_transit = nullptr, *nm_track = nullptr;
    QCheckBox *ckb_sunlite = nullptr, *ckb_day_night = nullptr, *cb_irid_day = nullptr;
    QComboBox *cb_object = nullptr;
    QLabel *lb_track = nullptr;
    QDateEdit *dt_predict_date1 = nullptr, *dt_predict_date2 = nullptr;
    QDateTimeEdit *dt_predict_hour1 = nullptr, *dt_predict_hour2 = nullptr;
    ClickLabel *stxt_time1 = nullptr, *stxt_time2 = nullptr;
    QPushButton *bn_chartwnd = nullptr, *bn_google = nullptr;
    QPlainTextEdit *PredictRichText = nullptr;

    QMenu *menu_linetab_selector = nullptr, *menu_linetab_time = nullptr, *menu_linetab_tools = nullptr;
    QAction *menu_satselector = nullptr, *menu_locselector = nullptr, *menu_mainlist = nullptr;
    QAction *menu_close = nullptr, *menu_utc = nullptr, *menu_none = nullptr, *menu_all = nullptr;
    QAction *menu_line = nullptr, *menu_tabular = nullptr, *menu_trs = nullptr, *menu_trk = nullptr;
    QAction *menu_flare = nullptr, *menu_print = nullptr, *menu_save = nullptr;

    // The result box's lines.
    std::vector<std::string> ResultLines() const;

private:
    struct SearchRun;

    void BuildMenus();
    void BuildToolbar();
    void BuildControls();
    void FillCheckList();
    // Loads the data folder's "IridSat.bin" into IridiumList; false when
    // there is none.
    bool LoadIridiumSet();
    // The instant shown by a time picker, and the instant a time picker
    // shows, as day counts in the window's time mode.
    static double PickerInstant(const QDateTimeEdit *picker);
    static void SetPicker(QDateEdit *date, QDateTimeEdit *hour, double instant);
    // The passes and lines of a search that ended, on the user-interface
    // thread; a report with no satellite searched ends with nothingSearched.
    void FinishSearch(SearchKind kind, PredictionResult result, const std::string &nothingSearched);

    std::shared_ptr<SearchRun> run_;
    // False while "Ra/Dec" or "STAR" is chosen but its picker chose nothing:
    // the target then has no direction of the user's, so transit and
    // ground-track searches are refused.
    bool targetChosen_ = true;
};

// The prediction window, once the main window's "Prediction Passes" created it.
extern TfrPredictionWnd *frPredictionWnd;

// At the program's end: gives up the window's search, waiting at most
// `limit` for its task, and frees the window. True when no task of it still
// runs (the ephemeris may then be freed).
bool ReleasePredictionWindow(std::chrono::milliseconds limit);
