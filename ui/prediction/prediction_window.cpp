// The prediction window's controls, working set, time mode and commands.
#include "ui/prediction/prediction_window.h"

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"
#include "engine/files/element_files.h"
#include "engine/reports/report_output.h"
#include "engine/reports/transit_report.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/searches/flare_search.h"
#include "engine/searches/ground_track_search.h"
#include "engine/searches/line_pass_search.h"
#include "engine/searches/tabular_pass_search.h"
#include "engine/searches/transit_search.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/day_count.h"
#include "ui/widgets/click_label.h"
#include "ui/pass_chart/pass_chart_window.h"
#include "ui/selector/sat_selector.h"
#include "ui/widgets/glyphary.h"
#include "ui/widgets/window_size.h"
#include "views/view_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

TfrPredictionWnd *frPredictionWnd = nullptr;

namespace {

const char *const Caption = "Satellite Pass Prediction";

QAction *AddItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

// A spin edit changed only by its arrows.
QSpinBox *SpinEdit(QWidget *parent, int minimum, int maximum, int value, int step = 1)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setSingleStep(step);
    if (auto *edit = spin->findChild<QLineEdit *>())
        edit->setReadOnly(true);
    return spin;
}

long long OffsetMilliseconds(double days) { return std::llround(days * 86400000.0); }

} // namespace

TfrPredictionWnd::TfrPredictionWnd()
{
    setWindowTitle(Caption);
    setWindowIcon(QApplication::windowIcon());
    BuildMenus();
    BuildToolbar();
    BuildControls();
    SetHelpContext(this, HelpPrediction);
    FitWindowToScreen(this, QSize(800, 600), QSize(800, 520));

    CopyMainListToPrediction();
    UtcMode = true;
    Busy = false;
    TransitTarget.BodyId = BodySun;
    SetPicker(dt_predict_date1, dt_predict_hour1, CurrentTime);
    SetPicker(dt_predict_date2, dt_predict_hour2, CurrentTime + 3.0);
    if (!Options.UtcTime)
        menu_utcClick();
    ShowTrackUnit();
    cb_objectChange();
    LoadIridiumSet();
    OpenPassChart = [this] { ShowPassChart(Passes, UtcMode, FlareResult, this); };
    ShowGoogleEarth = [this] { bn_googleClick(); };
}

TfrPredictionWnd::~TfrPredictionWnd()
{
    EndSearches(std::chrono::milliseconds(0));
    if (frPredictionWnd == this)
        frPredictionWnd = nullptr;
}

void TfrPredictionWnd::BuildMenus()
{
    QMenuBar *bar = menuBar();
    menu_linetab_selector = bar->addMenu("&Selector");
    menu_satselector = AddItem(menu_linetab_selector, "Select Satellites", QKeySequence(Qt::Key_F2));
    menu_locselector = AddItem(menu_linetab_selector, "Set Observer's Location", QKeySequence(Qt::Key_F3));
    menu_mainlist = AddItem(menu_linetab_selector, "Load Main List");
    menu_linetab_selector->addSeparator();
    menu_close = AddItem(menu_linetab_selector, "Close", QKeySequence(Qt::ALT | Qt::Key_F4));

    menu_linetab_time = bar->addMenu("Time");
    menu_utc = AddItem(menu_linetab_time, "Set Time to LOC");

    menu_linetab_tools = bar->addMenu("Tools");
    menu_none = AddItem(menu_linetab_tools, "Select None");
    menu_all = AddItem(menu_linetab_tools, "Select all");
    menu_linetab_tools->addSeparator();
    menu_line = AddItem(menu_linetab_tools, "Line Predictions");
    menu_tabular = AddItem(menu_linetab_tools, "Tabular Predictions ");
    menu_trs = AddItem(menu_linetab_tools, "Object Transit");
    menu_trk = AddItem(menu_linetab_tools, "Ground Track");
    menu_flare = AddItem(menu_linetab_tools, "Iridium Flares");
    menu_linetab_tools->addSeparator();
    menu_print = AddItem(menu_linetab_tools, "Print");
    menu_save = AddItem(menu_linetab_tools, "Save");

    connect(menu_satselector, &QAction::triggered, this, &TfrPredictionWnd::menu_satselectorClick);
    connect(menu_locselector, &QAction::triggered, this, &TfrPredictionWnd::menu_locselectorClick);
    connect(menu_mainlist, &QAction::triggered, this, &TfrPredictionWnd::menu_mainlistClick);
    connect(menu_close, &QAction::triggered, this, &TfrPredictionWnd::menu_closeClick);
    connect(menu_utc, &QAction::triggered, this, &TfrPredictionWnd::menu_utcClick);
    connect(menu_none, &QAction::triggered, this, &TfrPredictionWnd::menu_noneClick);
    connect(menu_all, &QAction::triggered, this, &TfrPredictionWnd::menu_allClick);
    connect(menu_line, &QAction::triggered, this, &TfrPredictionWnd::menu_lineClick);
    connect(menu_tabular, &QAction::triggered, this, &TfrPredictionWnd::menu_tabularClick);
    connect(menu_trs, &QAction::triggered, this, &TfrPredictionWnd::menu_trsClick);
    connect(menu_trk, &QAction::triggered, this, &TfrPredictionWnd::menu_trkClick);
    connect(menu_flare, &QAction::triggered, this, &TfrPredictionWnd::menu_flareClick);
    connect(menu_print, &QAction::triggered, this, &TfrPredictionWnd::menu_printClick);
    connect(menu_save, &QAction::triggered, this, &TfrPredictionWnd::menu_saveClick);
}

void TfrPredictionWnd::BuildToolbar()
{
    PredictionToolbar = addToolBar("PredictionToolbar");
    PredictionToolbar->setMovable(false);
    PredictionToolbar->setIconSize(QSize(32, 32));
    const QList<QIcon> &images = ToolbarImages();
    // Each button is its menu item: hint, picture, enabled state, command.
    const auto button = [&](QAction *item, const QString &hint, int image) {
        QAction *action = PredictionToolbar->addAction(image < images.size() ? images[image] : QIcon(),
                                                       QString());
        action->setToolTip(hint);
        action->setEnabled(item->isEnabled());
        connect(item, &QAction::changed, action, [action, item] { action->setEnabled(item->isEnabled()); });
        connect(action, &QAction::triggered, item, &QAction::trigger);
    };
    button(menu_satselector, "Select satellites from a tle file", 34);
    button(menu_locselector, "Select observer location", 1);
    button(menu_mainlist, "Load satellites from the Main list", 22);
    PredictionToolbar->addSeparator();
    button(menu_utc, "Set results in UTC or LOCAL times", 9);
    button(menu_none, "Uncheck all satellites", 23);
    button(menu_all, "Check all satellites", 24);
    PredictionToolbar->addSeparator();
    button(menu_line, "Search and display satellite pass predictions in Line mode", 29);
    button(menu_tabular, "Search and display satellite pass predictions in Tabular mode", 30);
    button(menu_trs, "Search for transit on the object selected", 26);
    button(menu_trk, "Search for a ground track on the object selected", 27);
    button(menu_flare, "Searh for Iridium flare predictions", 32);
    PredictionToolbar->addSeparator();
    button(menu_print, "Print the result", 31);
    button(menu_save, "Save the result to a file", 33);
    button(menu_close, "Close the window", 12);
}

void TfrPredictionWnd::BuildControls()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    auto *panel = new QWidget(central);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    const auto label = [panel](const QString &text) { return new QLabel(text, panel); };

    cklb_linetab = new QListWidget(panel);
    cklb_linetab->setMinimumWidth(170);

    nm_sunalt = SpinEdit(panel, -18, -1, -6);
    nm_satalt = SpinEdit(panel, 1, 45, 10);
    nm_revs = SpinEdit(panel, 1, 18, 13);
    nm_steps = SpinEdit(panel, 10, 300, 60, 10);
    nm_mag = SpinEdit(panel, -6, 2, 0);
    nm_transit = SpinEdit(panel, 5, 300, 30, 5);
    nm_track = SpinEdit(panel, 10, 160, 25, 5);
    ckb_sunlite = new QCheckBox("In Sun Light", panel);
    ckb_sunlite->setChecked(true);
    ckb_day_night = new QCheckBox("Day or Night", panel);
    cb_irid_day = new QCheckBox("Day Flares", panel);
    cb_object = new QComboBox(panel);
    cb_object->addItems({"Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto",
                         "Moon", "Sun", "Ra/Dec", "STAR"});
    lb_track = label("Track(km)");

    const QDate first(1957, 1, 1), last(2049, 12, 31);
    const auto datePicker = [&] {
        auto *date = new QDateEdit(panel);
        date->setTimeSpec(Qt::UTC);
        date->setDisplayFormat(" yyyy  MMM  dd");
        date->setDateRange(first, last);
        date->setCalendarPopup(true);
        return date;
    };
    const auto timePicker = [&] {
        auto *hour = new QDateTimeEdit(panel);
        hour->setTimeSpec(Qt::UTC);
        hour->setDisplayFormat("HH:mm:ss ");
        hour->setDateTimeRange(QDateTime(first, QTime(0, 0), Qt::UTC),
                               QDateTime(last, QTime(23, 59, 59), Qt::UTC));
        return hour;
    };
    dt_predict_date1 = datePicker();
    dt_predict_hour1 = timePicker();
    dt_predict_date2 = datePicker();
    dt_predict_hour2 = timePicker();
    stxt_time1 = new ClickLabel("UTC", panel);
    stxt_time2 = new ClickLabel("UTC", panel);
    for (ClickLabel *mode : {stxt_time1, stxt_time2}) {
        mode->setStyleSheet("color: red");
        mode->setCursor(Qt::PointingHandCursor);
    }
    bn_chartwnd = new QPushButton("Sky Charts", panel);
    bn_google = new QPushButton("Show Google Earth", panel);
    bn_chartwnd->setEnabled(false);
    bn_google->setEnabled(false);

    // Three bands of settings beside the satellite list, the span and the
    // result buttons under them: the window fits a screen 800 pixels wide.
    grid->addWidget(cklb_linetab, 0, 0, 6, 1);
    grid->addWidget(label("Sun  <"), 0, 1);
    grid->addWidget(nm_sunalt, 0, 2);
    grid->addWidget(label("Sat  >"), 1, 1);
    grid->addWidget(nm_satalt, 1, 2);
    grid->addWidget(label("Revs  >"), 2, 1);
    grid->addWidget(nm_revs, 2, 2);
    grid->addWidget(label("Steps(Sec)"), 3, 1);
    grid->addWidget(nm_steps, 3, 2);
    grid->addWidget(ckb_sunlite, 0, 3, 1, 2);
    grid->addWidget(ckb_day_night, 1, 3, 1, 2);
    grid->addWidget(label("Irid Mag >"), 2, 3);
    grid->addWidget(nm_mag, 2, 4);
    grid->addWidget(cb_irid_day, 3, 3, 1, 2);
    grid->addWidget(label("Transit Object"), 0, 5);
    grid->addWidget(cb_object, 0, 6, 1, 2);
    grid->addWidget(label("Radius"), 1, 5);
    grid->addWidget(nm_transit, 1, 6);
    grid->addWidget(label("Arc Min"), 1, 7);
    grid->addWidget(lb_track, 2, 5);
    grid->addWidget(nm_track, 2, 6);
    auto *span = new QGridLayout;
    span->addWidget(label("START TIME"), 0, 0);
    span->addWidget(dt_predict_date1, 0, 1);
    span->addWidget(dt_predict_hour1, 0, 2);
    span->addWidget(stxt_time1, 0, 3);
    span->addWidget(label("END TIME"), 1, 0);
    span->addWidget(dt_predict_date2, 1, 1);
    span->addWidget(dt_predict_hour2, 1, 2);
    span->addWidget(stxt_time2, 1, 3);
    span->setColumnStretch(4, 1);
    span->addWidget(bn_chartwnd, 0, 5);
    span->addWidget(bn_google, 1, 5);
    grid->addLayout(span, 4, 1, 2, 7);
    grid->setColumnStretch(8, 1);

    PredictRichText = new QPlainTextEdit(central);
    PredictRichText->setReadOnly(true);
    PredictRichText->setLineWrapMode(QPlainTextEdit::NoWrap);
    PredictRichText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    PredictRichText->setFont(fixed);

    column->addWidget(panel);
    column->addWidget(PredictRichText, 1);
    setCentralWidget(central);

    connect(cklb_linetab, &QListWidget::itemChanged, this, &TfrPredictionWnd::cklb_linetabClickCheck);
    connect(cb_irid_day, &QCheckBox::clicked, this, &TfrPredictionWnd::cb_irid_dayClick);
    connect(cb_object, &QComboBox::activated, this, &TfrPredictionWnd::cb_objectChange);
    connect(dt_predict_date1, &QDateEdit::dateChanged, this, &TfrPredictionWnd::dt_predict_date1Change);
    connect(dt_predict_date2, &QDateEdit::dateChanged, this, &TfrPredictionWnd::dt_predict_date2Change);
    connect(stxt_time1, &ClickLabel::clicked, this, &TfrPredictionWnd::menu_utcClick);
    connect(stxt_time2, &ClickLabel::clicked, this, &TfrPredictionWnd::menu_utcClick);
    connect(bn_chartwnd, &QPushButton::clicked, this, &TfrPredictionWnd::bn_chartwndClick);
    connect(bn_google, &QPushButton::clicked, this, [this] {
        if (ShowGoogleEarth)
            ShowGoogleEarth();
    });
}

// Working set.

void TfrPredictionWnd::CopyMainListToPrediction()
{
    if (!MainList.empty())
        PredictionList = MainList;
    FillCheckList();
}

void TfrPredictionWnd::FillCheckList()
{
    const QSignalBlocker quiet(cklb_linetab);
    cklb_linetab->clear();
    for (const TleRecord &record : PredictionList) {
        auto *item = new QListWidgetItem(QString::fromStdString(record.Name.str()), cklb_linetab);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(record.Selected ? Qt::Checked : Qt::Unchecked);
    }
}

void TfrPredictionWnd::menu_satselectorClick()
{
    if (Busy)
        return;
    PredictionList = TfrSatSelectorWnd::ChooseSatellites(PredictionList, this);
    FillCheckList();
}

void TfrPredictionWnd::menu_locselectorClick()
{
    if (const auto &showLocationSelector = Hooks().showLocationSelector)
        showLocationSelector();
}

void TfrPredictionWnd::menu_mainlistClick()
{
    if (!Busy)
        CopyMainListToPrediction();
}

void TfrPredictionWnd::menu_noneClick()
{
    for (TleRecord &record : PredictionList)
        record.Selected = 0;
    FillCheckList();
}

void TfrPredictionWnd::menu_allClick()
{
    for (TleRecord &record : PredictionList)
        record.Selected = 1;
    FillCheckList();
}

void TfrPredictionWnd::cklb_linetabClickCheck(QListWidgetItem *item)
{
    const int index = cklb_linetab->row(item);
    if (index >= 0 && static_cast<std::size_t>(index) < PredictionList.size())
        PredictionList[static_cast<std::size_t>(index)].Selected = item->checkState() == Qt::Checked ? 1 : 0;
}

bool TfrPredictionWnd::LoadIridiumSet()
{
    const std::string path = DataDir + "IridSat.bin";
    return CheckFileExists(path, false) && LoadSatFile(IridiumList, path);
}

// Time mode and pickers.

double TfrPredictionWnd::PickerInstant(const QDateTimeEdit *picker)
{
    return DateTimeToDayCount(picker->dateTime());
}

void TfrPredictionWnd::SetPicker(QDateEdit *date, QDateTimeEdit *hour, double instant)
{
    const QDateTime shown = DayCountToDateTime(instant);
    hour->setDateTime(shown);
    date->setDate(shown.date());
}

void TfrPredictionWnd::menu_utcClick()
{
    UtcMode = !UtcMode;
    menu_utc->setText("Set Time to " + stxt_time1->text());
    // Shifted by whole milliseconds, so going there and back returns to the
    // same instants.
    const long long shift = (UtcMode ? -1 : 1) * OffsetMilliseconds(Observer.UtcOffset);
    stxt_time1->setText(UtcMode ? "UTC" : "LOC");
    for (QDateTimeEdit *hour : {dt_predict_hour1, dt_predict_hour2})
        hour->setDateTime(hour->dateTime().addMSecs(shift));
    dt_predict_date1->setDate(dt_predict_hour1->date());
    dt_predict_date2->setDate(dt_predict_hour2->date());
    stxt_time2->setText(stxt_time1->text());
}

void TfrPredictionWnd::dt_predict_date1Change()
{
    QDateTime start = dt_predict_hour1->dateTime();
    start.setDate(dt_predict_date1->date());
    dt_predict_hour1->setDateTime(start);
    if (start > dt_predict_hour2->dateTime()) {
        dt_predict_hour2->setDateTime(start);
        dt_predict_date2->setDate(dt_predict_date1->date());
    }
}

void TfrPredictionWnd::dt_predict_date2Change()
{
    QDateTime end = dt_predict_hour2->dateTime();
    end.setDate(dt_predict_date2->date());
    dt_predict_hour2->setDateTime(end);
}

// Other controls.

void TfrPredictionWnd::cb_irid_dayClick()
{
    nm_mag->setValue(cb_irid_day->isChecked() ? -5 : 0);
}

void TfrPredictionWnd::cb_objectChange()
{
    // Item 2 on skips code 3, the Earth.
    const int item = cb_object->currentIndex();
    TransitTarget.BodyId = item < 2 ? item + 1 : item + 2;
    TransitTarget.RaDec = MainView.Centre;
    TargetName = cb_object->currentText().toStdString();
    // The star picker gets the start instant as whole days and milliseconds of the day.
    const double start = PickerInstant(dt_predict_hour1);
    const double days = std::floor(start);
    targetChosen_ = SelectTransitTarget(TransitTarget, TargetName, static_cast<int>(days),
                                        static_cast<int>(std::llround((start - days) * 86400000.0)));
}

void TfrPredictionWnd::ShowTrackUnit()
{
    const bool miles = DistanceFactor != 1.0;
    nm_track->setMaximum(miles ? 100 : 160);
    lb_track->setText(miles ? "Track(mi)" : "Track(km)");
}

void TfrPredictionWnd::bn_chartwndClick()
{
    if (Busy)
        return;
    if (Passes.empty()) {
        ShowUserMessage(" No Prediction found, Sky Trails not available. ", Caption);
        return;
    }
    if (OpenPassChart)
        OpenPassChart();
}

void TfrPredictionWnd::menu_closeClick()
{
    close();
}

std::vector<std::string> TfrPredictionWnd::ResultLines() const
{
    std::vector<std::string> lines;
    if (PredictRichText->document()->isEmpty())
        return lines;
    for (const QString &line : PredictRichText->toPlainText().split('\n'))
        lines.push_back(line.toStdString());
    return lines;
}

void TfrPredictionWnd::menu_printClick()
{
    PrintReport(ResultLines());
}

void TfrPredictionWnd::menu_saveClick()
{
    const auto &selectFile = Hooks().selectFile;
    const std::string path = selectFile ? selectFile(2) : std::string();
    if (path.empty())
        return;
    std::string text;
    for (const std::string &line : ResultLines())
        text += line + "\n";
    std::string error;
    if (!SaveFileAtomically(path, text, &error))
        ShowUserMessage(error, Caption, MessageKind::Error);
}

void TfrPredictionWnd::menu_lineClick()
{
    StartSearch(40, SearchLinePasses, SearchKind::Passes);
}

void TfrPredictionWnd::menu_tabularClick()
{
    StartSearch(41, SearchTabularPasses, SearchKind::Passes);
}

void TfrPredictionWnd::menu_trsClick()
{
    StartSearch(51, SearchObjectTransits, SearchKind::Transits);
}

void TfrPredictionWnd::menu_trkClick()
{
    StartSearch(50, SearchGroundTracks, SearchKind::GroundTracks);
}

void TfrPredictionWnd::menu_flareClick()
{
    StartSearch(42, SearchIridiumFlares, SearchKind::Flares);
}
