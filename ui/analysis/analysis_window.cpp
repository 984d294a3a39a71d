#include "ui/analysis/analysis_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "engine/files/names_file.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/reports/transit_report.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/day_count.h"
#include "ui/widgets/glyphary.h"
#include "ui/widgets/report_box.h"
#include "ui/widgets/time_pickers.h"
#include "ui/widgets/window_size.h"
#include "ui/window_glue.h"

TfrAnalysisWnd *frAnalysisWnd = nullptr;

namespace {

constexpr int DefaultTarget = 9; // "Sun"

QSpinBox *SpinEdit(QWidget *parent, int low, int high, int step, int value, bool arrowsOnly)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setValue(value);
    // Arrows only: the edit inside the spin box takes no typing.
    if (auto *edit = spin->findChild<QLineEdit *>())
        edit->setReadOnly(arrowsOnly);
    return spin;
}

// The body code of an item of the target box: the ephemeris numbering
// without the Earth.
int TargetCode(int index) { return index < 2 ? index + 1 : index + 2; }

} // namespace

TfrAnalysisWnd::TfrAnalysisWnd(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle("Satellite Analysis");
    BuildControls();
    BuildMenus();
    BuildToolbar();
    SetHelpContext(this, HelpAnalysis);
    FitWindowToScreen(this, QSize(760, 600), QSize(760, 488));
    FormCreate();
}

void TfrAnalysisWnd::BuildControls()
{
    auto *panel = new QWidget(this);
    auto *grid = new QGridLayout;
    auto label = [panel](const char *text) { return new QLabel(text, panel); };

    dt_an_date = MakeDatePicker(panel, " yyyy  MMM  dd");
    dt_an_hour = MakeTimePicker(panel, "HH:mm:ss ", "Set time");
    stxt_time = new QToolButton(panel);
    stxt_time->setText("UTC");
    stxt_time->setAutoRaise(true);
    stxt_time->setToolTip("Click to change time from Local to UTC");

    nm_minrevs = SpinEdit(panel, 0, 20, 1, 14, true);
    nm_maxrevs = SpinEdit(panel, 0, 20, 1, 18, true);
    nm_minaz = SpinEdit(panel, 0, 360, 5, 0, true);
    nm_maxaz = SpinEdit(panel, 0, 360, 5, 360, true);
    nm_minalt = SpinEdit(panel, 0, 90, 5, 10, true);
    nm_maxAlt = SpinEdit(panel, 0, 90, 5, 90, true);

    grid->addWidget(label("Start Date                Time"), 0, 0, 1, 2);
    grid->addWidget(dt_an_date, 1, 0);
    grid->addWidget(dt_an_hour, 1, 1);
    grid->addWidget(stxt_time, 1, 2);
    const struct {
        const char *caption;
        QSpinBox *spin;
    } filters[] = {{"Rev  >", nm_minrevs}, {"Rev  <", nm_maxrevs}, {"Az  >", nm_minaz},
                   {"Az  <", nm_maxaz},    {"Alt  >", nm_minalt}, {"Alt  <", nm_maxAlt}};
    for (int i = 0; i < 6; ++i) {
        grid->addWidget(label(filters[i].caption), 2 + i / 2, (i % 2) * 2);
        grid->addWidget(filters[i].spin, 2 + i / 2, (i % 2) * 2 + 1);
    }

    transitGroup = new QGroupBox("Transit Search", panel);
    auto *transit = new QGridLayout(transitGroup);
    nm_st_min = SpinEdit(transitGroup, 1, 240, 5, 60, false);
    nm_sep = SpinEdit(transitGroup, 15, 300, 5, 30, true);
    nm_Obj = SpinEdit(transitGroup, 5, 90, 5, 10, true);
    cb_object = new QComboBox(transitGroup);
    cb_object->addItems({"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto",
                         "Moon", "Sun", "Ra/Dec", "STAR"});
    cb_object->setCurrentIndex(DefaultTarget);
    ckb_daynight = new QCheckBox("Day / Night", transitGroup);
    transit->addWidget(new QLabel("Span", transitGroup), 0, 0);
    transit->addWidget(nm_st_min, 0, 1);
    transit->addWidget(new QLabel("Min", transitGroup), 0, 2);
    transit->addWidget(new QLabel("Radius", transitGroup), 1, 0);
    transit->addWidget(nm_sep, 1, 1);
    transit->addWidget(new QLabel("Arc Min", transitGroup), 1, 2);
    transit->addWidget(new QLabel("Transit Object", transitGroup), 0, 3);
    transit->addWidget(cb_object, 0, 4);
    transit->addWidget(new QLabel("Object", transitGroup), 1, 3);
    transit->addWidget(nm_Obj, 1, 4);
    transit->addWidget(new QLabel("Min Alt", transitGroup), 1, 5);
    transit->addWidget(ckb_daynight, 2, 4);
    grid->addWidget(transitGroup, 0, 4, 5, 1);
    grid->setColumnStretch(5, 1);

    analysisrichtext = MakeReportBox(panel);
    // The box fills the client area below the controls, 8 pixels in from the
    // sides and 10 from the bottom.
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(8, 8, 8, 10);
    column->addLayout(grid);
    column->addWidget(analysisrichtext, 1);
    setCentralWidget(panel);

    connect(stxt_time, &QToolButton::clicked, this, &TfrAnalysisWnd::menu_utcClick);
    connect(dt_an_date, &QDateEdit::dateChanged, this, &TfrAnalysisWnd::dt_an_dateChange);
    connect(nm_minrevs, &QSpinBox::valueChanged, this, &TfrAnalysisWnd::nm_minrevsChange);
    connect(nm_maxrevs, &QSpinBox::valueChanged, this, &TfrAnalysisWnd::nm_maxrevsChange);
}

void TfrAnalysisWnd::BuildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *selector = bar->addMenu("&Selector");
    menu_satselector = selector->addAction("Satellite &File", QKeySequence(Qt::Key_F2));
    menu_loc = selector->addAction("&Location", QKeySequence(Qt::Key_F3));
    menu_close = selector->addAction("&Close", QKeySequence(Qt::ALT | Qt::Key_F4));
    menu_utc = bar->addMenu("&Time")->addAction("Set Time to LOC");
    QMenu *predictions = bar->addMenu("&Predictions");
    menu_visible = predictions->addAction("Satellites Visible");
    menu_transit = predictions->addAction("Transit");
    menu_decay = predictions->addAction("Decayed");
    QMenu *tools = bar->addMenu("&Tools");
    menu_print = tools->addAction("&Print");
    menu_save = tools->addAction("&Save");

    connect(menu_satselector, &QAction::triggered, this, &TfrAnalysisWnd::menu_satselectorClick);
    connect(menu_close, &QAction::triggered, this, &TfrAnalysisWnd::menu_closeClick);
    connect(menu_utc, &QAction::triggered, this, &TfrAnalysisWnd::menu_utcClick);
    connect(menu_visible, &QAction::triggered, this, &TfrAnalysisWnd::menu_visibleClick);
    connect(menu_transit, &QAction::triggered, this, &TfrAnalysisWnd::menu_transitClick);
    connect(menu_decay, &QAction::triggered, this, &TfrAnalysisWnd::menu_decayClick);
    connect(menu_print, &QAction::triggered, this, &TfrAnalysisWnd::menu_printClick);
    connect(menu_save, &QAction::triggered, this, &TfrAnalysisWnd::menu_saveClick);
    connect(menu_loc, &QAction::triggered, this, &TfrAnalysisWnd::menu_locClick);
}

void TfrAnalysisWnd::BuildToolbar()
{
    toolbar = addToolBar("Analysis");
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(32, 32));
    const QList<QIcon> &images = ToolbarImages();
    const struct {
        QAction *item;
        const char *hint;
        int image;
        bool separatorAfter;
    } buttons[] = {
        {menu_satselector, "Select a satellite file", 34, false},
        {menu_loc, "Select observing location", 1, true},
        {menu_utc, "Set result in UTC or LOCAL times", 9, true},
        {menu_visible, "Show visible satellites", 25, false},
        {menu_transit, "Search for satellite transit predictions", 26, false},
        {menu_decay, "Search satellite file for decayed time ", 28, true},
        {menu_print, "Print result to local printer", 31, false},
        {menu_save, "Save result to file", 33, true},
        {menu_close, "Close window", 12, false},
    };
    for (const auto &button : buttons) {
        QAction *action = toolbar->addAction(button.item->text());
        action->setToolTip(button.hint);
        if (button.image < images.size())
            action->setIcon(images[button.image]);
        connect(action, &QAction::triggered, button.item, &QAction::trigger);
        if (auto *widget = toolbar->widgetForAction(action))
            widget->setFixedSize(39, 39);
        if (button.separatorAfter)
            toolbar->addSeparator();
    }
}

void TfrAnalysisWnd::FormCreate()
{
    utcMode_ = true;
    pickerOffset_ = 0.0;
    dt_an_hour->setDateTime(DayCountToDateTime(CurrentTime));
    dt_an_date->setDate(dt_an_hour->date());
    target_.BodyId = BodySun;
    if (!Options.UtcTime)
        menu_utcClick();
    nm_maxrevs->setMinimum(nm_minrevs->value());
    nm_maxAlt->setMinimum(nm_minalt->value());
    nm_maxaz->setMinimum(nm_minaz->value());
    auto names = std::make_shared<std::vector<std::string>>();
    std::string error;
    // Without the names file every satellite takes the standard magnitude of
    // an unknown one; the window is still usable.
    if (!LoadNamesFile(*names, &error))
        ShowUserMessage(error + " Magnitudes are taken as 8.0.", "File", MessageKind::Warning);
    names_ = std::move(names);
    cb_objectChange();
    // Every pick, also of the item already shown, so "Ra/Dec" or "STAR"
    // picked again asks for the point or star again.
    connect(cb_object, &QComboBox::activated, this, &TfrAnalysisWnd::cb_objectChange);
}

void TfrAnalysisWnd::menu_utcClick()
{
    utcMode_ = !utcMode_;
    menu_utc->setText("Set Time to " + stxt_time->text());
    stxt_time->setText(utcMode_ ? "UTC" : "LOC");
    FollowZone();
}

void TfrAnalysisWnd::ObserverChanged() { FollowZone(); }

void TfrAnalysisWnd::FollowZone()
{
    const double offset = utcMode_ ? 0.0 : Observer.UtcOffset;
    ShiftPickedTime(dt_an_hour, dt_an_date, offset - pickerOffset_);
    pickerOffset_ = offset;
}

void TfrAnalysisWnd::dt_an_dateChange() { CopyPickedDate(dt_an_date, dt_an_hour); }

void TfrAnalysisWnd::nm_minrevsChange()
{
    nm_maxrevs->setMinimum(nm_minrevs->value() + 1);
    nm_maxrevsChange();
}

void TfrAnalysisWnd::nm_maxrevsChange()
{
    if (nm_minrevs->value() >= nm_maxrevs->value())
        nm_maxrevs->setValue(nm_minrevs->value() + 1);
}

void TfrAnalysisWnd::cb_objectChange()
{
    target_.BodyId = TargetCode(cb_object->currentIndex());
    targetName_ = cb_object->currentText().toStdString();
    const QTime time = dt_an_hour->time();
    targetChosen_ = SelectTransitTarget(target_, targetName_, time.hour(), time.minute());
}

double TfrAnalysisWnd::GetAnalysisTime() const
{
    return DateTimeToDayCount(dt_an_hour->dateTime()) - pickerOffset_;
}

AnalysisInputs TfrAnalysisWnd::Snapshot() const
{
    AnalysisInputs inputs;
    inputs.Instant = GetAnalysisTime();
    inputs.InstantShown = DateTimeToDayCount(dt_an_hour->dateTime());
    inputs.UtcMode = utcMode_;
    inputs.DistanceFactor = DistanceFactor;
    inputs.MinRevs = nm_minrevs->value();
    inputs.MaxRevs = nm_maxrevs->value();
    inputs.MinAzimuth = nm_minaz->value();
    inputs.MaxAzimuth = nm_maxaz->value();
    inputs.MinElevation = nm_minalt->value();
    inputs.MaxElevation = nm_maxAlt->value();
    inputs.SpanMinutes = nm_st_min->value();
    inputs.RadiusArcMinutes = nm_sep->value();
    inputs.MinTargetAltitude = nm_Obj->value();
    inputs.DayOrNight = ckb_daynight->isChecked();
    inputs.Observer = Observer;
    inputs.Target = target_;
    inputs.TargetName = targetName_;
    inputs.Elements = elements_;
    inputs.Names = names_;
    return inputs;
}

void TfrAnalysisWnd::SetWaitCursor(bool waiting)
{
    for (QWidget *widget : {static_cast<QWidget *>(this), static_cast<QWidget *>(toolbar)}) {
        if (waiting)
            widget->setCursor(Qt::WaitCursor);
        else
            widget->unsetCursor();
    }
}

void TfrAnalysisWnd::RunTask(ThreadTag tag, std::function<Finish()> work)
{
    bool idle = false;
    if (!busy_->compare_exchange_strong(idle, true))
        return;
    SetWaitCursor(true);
    QPointer<TfrAnalysisWnd> self(this);
    std::shared_ptr<RunningFlag> busy = busy_;
    task_ = StartWorkerThread(tag, [self, busy, tag, work = std::move(work)] {
        Finish finish;
        try {
            finish = work();
        } catch (...) {
            // A failed task hands over nothing; the window becomes free again.
            ShowUserMessage(TaskFailureText(tag), "KYT", MessageKind::Error);
        }
        // The window is free only once the result is in the box, so a new
        // listing can never clear the box before the last one arrived.
        QMetaObject::invokeMethod(
            qApp,
            [self, busy, finish = std::move(finish)] {
                if (self) {
                    if (finish)
                        finish(*self);
                    self->SetWaitCursor(false);
                }
                busy->store(false);
            },
            Qt::QueuedConnection);
        EndWorkerThread(tag);
    });
    if (!task_.Started()) {
        busy_->store(false);
        SetWaitCursor(false);
    }
}

void TfrAnalysisWnd::LoadElementFile(const std::string &fileName)
{
    if (Busy())
        return;
    fileName_ = fileName;
    RunTask(LoadAnalysisElementsTask, [fileName]() -> Finish {
        auto elements = std::make_shared<ElementList>();
        const bool loaded = LoadTleTextFile(*elements, fileName);
        return [elements, loaded](TfrAnalysisWnd &window) {
            window.elements_ = elements;
            if (!loaded)
                ShowUserMessage("Failed to Find Satellite Elements in Selected File", "File");
        };
    });
}

void TfrAnalysisWnd::StartListing(ThreadTag tag,
                                  std::vector<std::string> (*listing)(const AnalysisInputs &))
{
    if (Busy())
        return;
    analysisrichtext->clear();
    RunTask(tag, [inputs = Snapshot(), listing]() -> Finish {
        auto lines = listing(inputs);
        // Every listing goes through the element file's satellites: without
        // one its table stays empty, and the user is told why.
        if (!inputs.Elements || inputs.Elements->empty())
            lines.push_back("  No satellites: load an element file first (F2).");
        return [lines = std::move(lines)](TfrAnalysisWnd &window) {
            AppendReportLines(window.analysisrichtext, lines);
        };
    });
}

void TfrAnalysisWnd::menu_satselectorClick()
{
    if (Busy())
        return;
    std::string fileName;
    SelectFile(1, fileName);
    if (!fileName.empty())
        LoadElementFile(fileName);
}

void TfrAnalysisWnd::menu_locClick()
{
    if (const auto &showLocationSelector = Hooks().showLocationSelector)
        showLocationSelector();
}

void TfrAnalysisWnd::menu_visibleClick() { StartListing(ListVisibleSatellitesTask, ListVisibleSatellites); }

void TfrAnalysisWnd::menu_transitClick()
{
    if (targetChosen_)
        StartListing(SearchAnalysisTransitsTask, SearchAnalysisTransits);
    else
        ShowUserMessage(MissingTransitTargetText(target_.BodyId), "Satellite Analysis");
}

void TfrAnalysisWnd::menu_decayClick() { StartListing(ListDecayedSatellitesTask, ListDecayedSatellites); }

void TfrAnalysisWnd::menu_printClick() { PrintReportBox(analysisrichtext); }

void TfrAnalysisWnd::menu_saveClick() { SaveReportBox(analysisrichtext); }

void TfrAnalysisWnd::menu_closeClick() { close(); }

bool TfrAnalysisWnd::WaitForTask(std::chrono::steady_clock::time_point deadline) const
{
    return !task_.Started() || task_.exitCode.wait_until(deadline) == std::future_status::ready;
}

bool ReleaseAnalysisWindow(std::chrono::milliseconds limit)
{
    if (!frAnalysisWnd)
        return true;
    const bool ended = frAnalysisWnd->WaitForTask(std::chrono::steady_clock::now() + limit);
    delete frAnalysisWnd;
    frAnalysisWnd = nullptr;
    return ended;
}
