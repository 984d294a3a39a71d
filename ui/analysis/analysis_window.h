// The analysis window: an element file of the user's choice, and the
// satellites of it that are visible at one instant, their transits across a
// body, a sky point or a star, and their expected decays. Created once by the
// main window and only hidden when closed.
#pragma once

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/runtime/worker_tasks.h"
#include "engine/searches/analysis_listings.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QGroupBox;
class QPlainTextEdit;
class QSpinBox;
class QToolBar;
class QToolButton;

// Task codes of the window's work.
enum AnalysisTask : ThreadTag {
    LoadAnalysisElementsTask = 60,
    ListVisibleSatellitesTask = 61,
    SearchAnalysisTransitsTask = 62,
    ListDecayedSatellitesTask = 63,
};

class TfrAnalysisWnd : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrAnalysisWnd(QWidget *parent = nullptr);

    void FormCreate();
    void menu_satselectorClick();
    void menu_locClick();
    void menu_utcClick();
    void menu_visibleClick();
    void menu_transitClick();
    void menu_decayClick();
    void menu_printClick();
    void menu_saveClick();
    void menu_closeClick();
    void cb_objectChange();
    void nm_minrevsChange();
    void nm_maxrevsChange();
    void dt_an_dateChange();

    // The observer's place changed: in local time the picker shows the same
    // instant in the new place's zone, as the main window's pickers do.
    void ObserverChanged();

    // The analysis instant in UTC.
    double GetAnalysisTime() const;
    // The window's inputs as a listing reads them.
    AnalysisInputs Snapshot() const;
    // Starts loading the element file (task 60); refused while busy.
    void LoadElementFile(const std::string &fileName);

    bool Busy() const { return *busy_; }
    // Waits until the running task (if any) has ended or the deadline has
    // passed; true when no task of the window still runs.
    bool WaitForTask(std::chrono::steady_clock::time_point deadline) const;

    std::shared_ptr<const ElementList> AnalysisElements() const { return elements_; }
    const TargetState &AnalysisTarget() const { return target_; }
    const std::string &AnalysisTargetName() const { return targetName_; }
    bool UtcMode() const { return utcMode_; }

    // Controls.
    QSpinBox *nm_minrevs = nullptr, *nm_maxrevs = nullptr;
    QSpinBox *nm_minaz = nullptr, *nm_maxaz = nullptr;
    QSpinBox *nm_minalt = nullptr, *nm_maxAlt = nullptr;
    QSpinBox *nm_st_min = nullptr, *nm_sep = nullptr, *nm_Obj = nullptr;
    QComboBox *cb_object = nullptr;
    QCheckBox *ckb_daynight = nullptr;
    QDateEdit *dt_an_date = nullptr;
    QDateTimeEdit *dt_an_hour = nullptr;
    QToolButton *stxt_time = nullptr;
    QPlainTextEdit *analysisrichtext = nullptr;
    QGroupBox *transitGroup = nullptr;
    QToolBar *toolbar = nullptr;

    QAction *menu_satselector = nullptr, *menu_loc = nullptr, *menu_close = nullptr;
    QAction *menu_utc = nullptr;
    QAction *menu_visible = nullptr, *menu_transit = nullptr, *menu_decay = nullptr;
    QAction *menu_print = nullptr, *menu_save = nullptr;

private:
    // What a task hands to the window on the user-interface thread.
    using Finish = std::function<void(TfrAnalysisWnd &)>;

    void BuildControls();
    void BuildMenus();
    void BuildToolbar();
    void StartListing(ThreadTag tag, std::vector<std::string> (*listing)(const AnalysisInputs &));
    // Runs work on a worker unless a task runs (refused silently), then its
    // result on the user-interface thread; the window stays busy until then.
    void RunTask(ThreadTag tag, std::function<Finish()> work);
    void SetWaitCursor(bool waiting);
    // Shows the picker's instant in the time mode's zone.
    void FollowZone();

    // Shared with the running task, so the task never reaches into a window
    // that may be gone when it ends.
    std::shared_ptr<RunningFlag> busy_ = std::make_shared<RunningFlag>(false);
    WorkerHandle task_;
    bool utcMode_ = true;
    // Days the time picker runs ahead of UTC: 0, or the offset of the zone
    // it was last shown in.
    double pickerOffset_ = 0.0;
    std::shared_ptr<const ElementList> elements_ = std::make_shared<ElementList>();
    std::string fileName_;
    TargetState target_{};
    std::string targetName_;
    // False while "Ra/Dec" or "STAR" is chosen but its picker chose nothing:
    // the transit listing is then refused.
    bool targetChosen_ = true;
    std::shared_ptr<const std::vector<std::string>> names_ =
        std::make_shared<std::vector<std::string>>();
};

// The window while it exists (created by the main window's command).
extern TfrAnalysisWnd *frAnalysisWnd;

// Releases the window at the program's end, after waiting at most `limit`
// for its running task; true when no task of it still runs (the ephemeris
// may then be freed).
bool ReleaseAnalysisWindow(std::chrono::milliseconds limit);
