// The main window's controls, menus, toolbar and status bar.
#include "ui/main_window/main_window.h"

#include "ui/widgets/glyphary.h"
#include "ui/analysis/analysis_window.h"
#include "ui/sun_moon_data/data_window.h"
#include "ui/widgets/tool_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

TfrMainWnd *frMainWnd = nullptr;

ViewImage::ViewImage(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ViewImage::SetPicture(const QImage &picture)
{
    picture_ = picture;
    update();
}

void ViewImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!picture_.isNull())
        painter.drawImage(0, 0, picture_);
}

namespace {

QAction *AddItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut = {},
                 bool checkable = false, bool checked = false)
{
    QAction *action = menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setCheckable(checkable);
    action->setChecked(checked);
    return action;
}

// Room a field's frame and margins take beside its text.
constexpr int FieldPadding = 12;

// A read-only data field of `width` pixels that gives up what its widest text
// (`widest`) does not need when the window is narrow.
QLineEdit *DataField(QWidget *parent, int width, const QString &widest)
{
    auto *edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setMinimumWidth(std::min(width, edit->fontMetrics().horizontalAdvance(widest) + FieldPadding));
    edit->setMaximumWidth(width);
    return edit;
}

} // namespace

void TfrMainWnd::BuildMenus()
{
    QMenuBar *bar = menuBar();
    const auto ctrl = [](int key) { return QKeySequence(Qt::CTRL | key); };
    const auto ctrlAlt = [](int key) { return QKeySequence(Qt::CTRL | Qt::ALT | key); };

    menu_selector = bar->addMenu("&Selector");
    menu_satellite = AddItem(menu_selector, "Satellite List", QKeySequence(Qt::Key_F2));
    menu_location = AddItem(menu_selector, "Observer Location", QKeySequence(Qt::Key_F3));
    menu_satdata = AddItem(menu_selector, "Satellite Data", QKeySequence(Qt::Key_F4));
    menu_selector->addSeparator();
    menu_exit = AddItem(menu_selector, "Exit", QKeySequence(Qt::ALT | Qt::Key_F4));

    menu_view = bar->addMenu("&View");
    menu_map = AddItem(menu_view, "Map Mode", ctrl(Qt::Key_M), true);
    menu_skymode = AddItem(menu_view, "Sky Mode", ctrl(Qt::Key_S), true);
    menu_globemode = AddItem(menu_view, "Globe Mode", ctrl(Qt::Key_G), true);
    menu_view->addSeparator();
    menu_sat_vis = AddItem(menu_view, "Satellite Visibility Circle", {}, true, true);
    menu_loc_vis = AddItem(menu_view, "Location Visibility Circle", {}, true);
    menu_tracks = AddItem(menu_view, "Satellite Ground track", {}, true, true);
    menu_grids = AddItem(menu_view, "Map Grids", {}, true);
    menu_displaynumber = AddItem(menu_view, "Satellite Number", ctrl(Qt::Key_X), true);
    menu_showLabel = AddItem(menu_view, "Show Satellite Label", ctrl(Qt::Key_L), true, true);

    menu_sky = bar->addMenu("S&ky");
    menu_skyviewradec = AddItem(menu_sky, "Ra/Dec", ctrl(Qt::Key_R), true);
    menu_skyviewaltaz = AddItem(menu_sky, "Alt/Az", ctrl(Qt::Key_A), true);
    menu_sky->addSeparator();
    menu_skyviewfixradec = AddItem(menu_sky, "Fixed Ra/Dec", ctrlAlt(Qt::Key_R), true);
    menu_skyviewfixaltaz = AddItem(menu_sky, "Fixed Alt/Az", ctrlAlt(Qt::Key_A), true);
    menu_skyviewfixsatellite = AddItem(menu_sky, "Fixed Satellite", ctrlAlt(Qt::Key_T), true);
    menu_sky->addSeparator();
    QMenu *orientation = menu_sky->addMenu("Orientation");
    menu_sky_tools_orientation_normal = AddItem(orientation, "Uninverted", ctrl(Qt::Key_U), true);
    menu_sky_tools_orientation_inverted = AddItem(orientation, "Inverted", ctrl(Qt::Key_I), true);
    menu_sky_tools_orientation_mirror_ew = AddItem(orientation, "Mirror(E_W)", ctrl(Qt::Key_W), true);
    menu_sky_tools_orientation_mirror_ns = AddItem(orientation, "Mirror(N_S)", ctrl(Qt::Key_N), true);
    QMenu *go = menu_sky->addMenu("Goto");
    // Caption, shortcut and the BodyStates index of the sky view's ten bodies.
    const struct { const char *caption; QKeySequence key; int index; } bodies[] = {
        {"Sun", ctrl(Qt::Key_0), 9},      {"Moon", QKeySequence(Qt::ALT | Qt::Key_0), 8},
        {"Mercury", ctrl(Qt::Key_1), 0},  {"Venus", ctrl(Qt::Key_2), 1},
        {"Mars", ctrl(Qt::Key_4), 2},     {"Jupiter", ctrl(Qt::Key_5), 3},
        {"Saturn", ctrl(Qt::Key_6), 4},   {"Uranus", ctrl(Qt::Key_7), 5},
        {"Neptune", ctrl(Qt::Key_8), 6},  {"Pluto", ctrl(Qt::Key_9), 7},
    };
    for (const auto &body : bodies) {
        const int index = body.index;
        connect(AddItem(go, body.caption, body.key), &QAction::triggered, this,
                [this, index] { CenterSkyOnBody(index); });
    }
    go->addSeparator();
    const struct { const char *caption; QKeySequence key; double azimuth; } points[] = {
        {"North", ctrlAlt(Qt::Key_N), 0.0},
        {"South", ctrlAlt(Qt::Key_S), M_PI},
        {"East", ctrlAlt(Qt::Key_E), M_PI / 2},
        {"West", ctrlAlt(Qt::Key_W), 3 * M_PI / 2},
    };
    for (const auto &point : points) {
        const double azimuth = point.azimuth;
        connect(AddItem(go, point.caption, point.key), &QAction::triggered, this,
                [this, azimuth] { CenterSkyOnAzimuth(azimuth); });
    }
    menu_skyzenith = AddItem(go, "Zenith", ctrl(Qt::Key_Z));
    menu_sky->addSeparator();
    menu_constellations = AddItem(menu_sky, "Constellations", ctrl(Qt::Key_C), true, true);
    menu_constellationNames = AddItem(menu_sky, "Constellation Names", ctrlAlt(Qt::Key_C), true);
    menu_starames = AddItem(menu_sky, "Star Names", ctrl(Qt::Key_K), true);
    menu_startohorizon = AddItem(menu_sky, "Star to Horizon", ctrl(Qt::Key_H), true);
    menu_showsatellitemag = AddItem(menu_sky, "Show Satellite Magnitude", ctrlAlt(Qt::Key_M), true);
    menu_showskysat = AddItem(menu_sky, "Show Satellites", ctrl(Qt::Key_E), true);
    menu_sky->addSeparator();
    menu_mag = AddItem(menu_sky, "Set Max Magnitude =", ctrl(Qt::Key_Q));

    menu_globe = bar->addMenu("&Globe");
    menu_globelocation = AddItem(menu_globe, "Display Home Location", {}, true, true);

    menu_mapmenu = bar->addMenu("&Map");
    menu_displaycities = AddItem(menu_mapmenu, "Display Cities", {}, true, true);
    menu_displayhomelocation = AddItem(menu_mapmenu, "Display Home Location", {}, true, true);

    menu_time = bar->addMenu("&Time");
    menu_utctime = AddItem(menu_time, "Set Time to UTC");
    menu_time->addSeparator();
    menu_settimelocal = AddItem(menu_time, "Set System Time");
    menu_setusertime = AddItem(menu_time, "Set User Time");
    menu_time->addSeparator();
    menu_forward = AddItem(menu_time, "Time Forward     >");
    menu_backward = AddItem(menu_time, "Tme Backward   <");
    menu_stop = AddItem(menu_time, "Time Stop           []");

    menu_predictions = bar->addMenu("Predictions");
    menu_linetabular = AddItem(menu_predictions, "Prediction Passes", QKeySequence(Qt::Key_F5));
    menu_analysis = AddItem(menu_predictions, "Analysis Search", QKeySequence(Qt::Key_F6));
    menu_planets = AddItem(menu_predictions, "Solar / Moon - Data", QKeySequence(Qt::Key_F7));

    menu_tools = bar->addMenu("T&ools");
    menu_conversion = AddItem(menu_tools, "Convert 2LE to 3LE", ctrl(Qt::Key_F2));
    menu_info = AddItem(menu_tools, "Satellite Info", ctrl(Qt::Key_F3));
    menu_webupdate = AddItem(menu_tools, "Internet File Download...", ctrl(Qt::Key_F4));
    menu_tools->addSeparator();
    menu_updatemainlist = AddItem(menu_tools, "Update Main List");
    menu_tools->addSeparator();
    menu_selectiridiumfile = AddItem(menu_tools, "Iridium File =");
    menu_selectskyfile = AddItem(menu_tools, "Satellite File =");
    menu_tools->addSeparator();
    menu_reset = AddItem(menu_tools, "Reset default ...", QKeySequence(Qt::Key_F10));
    menu_tools->addSeparator();
    menu_options = AddItem(menu_tools, "Options ...", ctrl(Qt::Key_O));

    menu_help = bar->addMenu("&Help");
    menu_contents = AddItem(menu_help, "Help");
    menu_about = AddItem(menu_help, "About KYT", QKeySequence(Qt::SHIFT | Qt::Key_F10));

    connect(menu_satellite, &QAction::triggered, this, &TfrMainWnd::menu_satelliteClick);
    connect(menu_updatemainlist, &QAction::triggered, this, &TfrMainWnd::menu_updatemainlistClick);
    connect(menu_exit, &QAction::triggered, this, &TfrMainWnd::menu_exitClick);
    connect(menu_location, &QAction::triggered, this, &TfrMainWnd::menu_locationClick);
    connect(menu_map, &QAction::triggered, this, &TfrMainWnd::menu_mapClick);
    connect(menu_skymode, &QAction::triggered, this, &TfrMainWnd::menu_skyClick);
    connect(menu_globemode, &QAction::triggered, this, &TfrMainWnd::menu_globeClick);
    for (QAction *item : {menu_sat_vis, menu_loc_vis, menu_tracks, menu_grids, menu_displaynumber,
                          menu_showLabel, menu_displaycities, menu_displayhomelocation,
                          menu_globelocation, menu_constellations, menu_constellationNames,
                          menu_starames, menu_startohorizon, menu_showsatellitemag, menu_showskysat})
        connect(item, &QAction::triggered, this, [this, item] { DisplaySwitchChanged(item); });
    for (QAction *item : {menu_skyviewradec, menu_skyviewaltaz, menu_skyviewfixradec,
                          menu_skyviewfixaltaz, menu_skyviewfixsatellite})
        connect(item, &QAction::triggered, this, [this, item] { SkyModeChosen(item); });
    for (QAction *item : {menu_sky_tools_orientation_normal, menu_sky_tools_orientation_inverted,
                          menu_sky_tools_orientation_mirror_ew, menu_sky_tools_orientation_mirror_ns})
        connect(item, &QAction::triggered, this, [this, item] { OrientationChosen(item); });
    connect(menu_skyzenith, &QAction::triggered, this, &TfrMainWnd::menu_zenithClick);
    connect(menu_mag, &QAction::triggered, this, &TfrMainWnd::menu_magClick);
    connect(menu_utctime, &QAction::triggered, this, &TfrMainWnd::menu_utctimeClick);
    connect(menu_settimelocal, &QAction::triggered, this, &TfrMainWnd::menu_settimelocalClick);
    connect(menu_setusertime, &QAction::triggered, this, &TfrMainWnd::menu_setusertimeClick);
    connect(menu_forward, &QAction::triggered, this, &TfrMainWnd::menu_forwardClick);
    connect(menu_backward, &QAction::triggered, this, &TfrMainWnd::bn_timebackwardClick);
    connect(menu_stop, &QAction::triggered, this, &TfrMainWnd::bn_stopClick);
    connect(menu_analysis, &QAction::triggered, this,
            [] { ShowToolWindowOnce(frAnalysisWnd, [] { return new TfrAnalysisWnd(); }); });
    connect(menu_planets, &QAction::triggered, this, [this] {
        TfrDataWnd window(this);
        window.exec();
    });
    connect(menu_linetabular, &QAction::triggered, this, &TfrMainWnd::menu_linetabularClick);
    connect(menu_webupdate, &QAction::triggered, this, &TfrMainWnd::menu_webupdateClick);
}

void TfrMainWnd::BuildToolbar()
{
    MainToolbar = addToolBar("MainToolbar");
    MainToolbar->setMovable(false);
    MainToolbar->setIconSize(QSize(32, 32));
    MainToolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const auto button = [this](const QString &hint, auto handler) {
        QAction *action = MainToolbar->addAction(QString());
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    // A switch button acts exactly as its menu item, checked state included.
    const auto switchButton = [this](const QString &hint, QAction *item) {
        QAction *action = MainToolbar->addAction(QString());
        action->setToolTip(hint);
        connect(action, &QAction::triggered, item, &QAction::trigger);
        return action;
    };
    tb_sat = button("Select satellites from a tle file", [this] { menu_satellite->trigger(); });
    tb_loc = button("Select observer location", [this] { menu_location->trigger(); });
    MainToolbar->addSeparator();
    tb_map = button("Set view to Map mode", &TfrMainWnd::menu_mapClick);
    tb_sky = button("Set view to Sky mode", &TfrMainWnd::menu_skyClick);
    tb_globe = button("Set view to Globe mode", &TfrMainWnd::menu_globeClick);
    MainToolbar->addSeparator();
    tb_linetab = button("Satellite Prediction window", [this] { menu_linetabular->trigger(); });
    tb_analysis = button("Satellite Analysis window", [this] { menu_analysis->trigger(); });
    MainToolbar->addSeparator();
    tb_info = button("Selected Satellite information", [this] { menu_info->trigger(); });
    tb_time = button("Switch UTC/LOCAL times", &TfrMainWnd::menu_utctimeClick);
    tb_planets = button("Sun/Moon/Planet Data window", [this] { menu_planets->trigger(); });
    MainToolbar->addSeparator();
    tb_satvis = switchButton("Satellite visibility circle on/off", menu_sat_vis);
    tb_locvis = switchButton("Observer visibility circle on/off", menu_loc_vis);
    tb_track = switchButton("Ground tracks on/off", menu_tracks);
    tb_grids = switchButton("Grids on/off", menu_grids);
    tb_const = switchButton("Constellations on/off", menu_constellations);
    tb_starname = switchButton("Star names on/off", menu_starames);
    tb_constname = switchButton("Constellation names on/off", menu_constellationNames);
    tb_plus = button("Increase star magnitude", &TfrMainWnd::tb_plusClick);
    tb_minus = button("Decrease star magnitude", &TfrMainWnd::tb_minusClick);
    MainToolbar->addSeparator();
    tb_reset = button("Reset Observer default location ", [this] { menu_reset->trigger(); });
    tb_exit = button("Close KYT", &TfrMainWnd::menu_exitClick);
}

void TfrMainWnd::ApplyToolbarImages()
{
    const QList<QIcon> &images = ToolbarImages();
    const std::pair<QAction *, int> buttons[] = {
        {tb_sat, 0},       {tb_loc, 1},        {tb_map, 2},       {tb_sky, 3},
        {tb_globe, 4},     {tb_linetab, 5},    {tb_analysis, 7},  {tb_info, 8},
        {tb_time, 9},      {tb_planets, 10},   {tb_satvis, 13},   {tb_locvis, 14},
        {tb_track, 15},    {tb_grids, 16},     {tb_const, 17},    {tb_starname, 18},
        {tb_constname, 19}, {tb_plus, 21},     {tb_minus, 20},    {tb_reset, 11},
        {tb_exit, 12},
    };
    for (const auto &[action, index] : buttons)
        action->setIcon(index < images.size() ? images[index] : QIcon());
}

void TfrMainWnd::BuildControls()
{
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);

    auto *panel = new QWidget(central);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // The boxes and fields keep their widths where the window has room; in
    // the smallest window (800 x 600) they shrink to what their texts need.
    cb_sat1 = new QComboBox(panel);
    cb_sat1->setToolTip("Select satellite for data display");
    cb_sat1->setMaxVisibleItems(10);
    cb_sat1->setMinimumWidth(140);
    cb_sat2 = new QComboBox(panel);
    cb_sat2->setToolTip("Select a satellite for range calculation");
    cb_sat2->setMaxVisibleItems(10);
    cb_sat2->setMinimumWidth(140);
    stxt_2sat_range = new QLabel(panel);
    stxt_2sat_range->setToolTip("Range between 2 selected satellites");
    stxt_2sat_range->setMinimumWidth(stxt_2sat_range->fontMetrics().horizontalAdvance("99999.9 km") +
                                     FieldPadding);
    stxt_2sat_range->setFrameShape(QFrame::StyledPanel);

    txt_ra = DataField(panel, 110, "00h 00m 00s");
    txt_dec = DataField(panel, 110, "-00\u00B0 00' 00\"");
    txt_az = DataField(panel, 80, "000.0\u00B0");
    txt_alt = DataField(panel, 80, "-00.0\u00B0");
    txt_hgt = DataField(panel, 100, "99999.9 km");
    txt_rng = DataField(panel, 100, "99999.9 km");

    txt_time = DataField(panel, 230, "0000 Mmm 00   00:00:00:000");
    stxt_step = new QLabel(panel);
    stxt_step->setMinimumWidth(stxt_step->fontMetrics().horizontalAdvance("00 Min") + 8);
    stxt_utc = new ClickLabel("LOC", panel);
    stxt_utc->setToolTip("Click to change time from Local to UTC");
    stxt_utc->setCursor(Qt::PointingHandCursor);

    const QDate first(1957, 1, 1), last(2049, 12, 31);
    dt_main_date = new QDateEdit(panel);
    dt_main_date->setTimeSpec(Qt::UTC);
    dt_main_date->setDisplayFormat(" yyyy  MMM  dd ");
    dt_main_date->setDateRange(first, last);
    dt_main_date->setCalendarPopup(true);
    dt_main_date->setToolTip("Scroll down for calendar");
    dt_main_hour = new QDateTimeEdit(panel);
    dt_main_hour->setTimeSpec(Qt::UTC);
    dt_main_hour->setDisplayFormat("HH:mm:ss");
    dt_main_hour->setDateTimeRange(QDateTime(first, QTime(0, 0), Qt::UTC),
                                   QDateTime(last, QTime(23, 59, 59), Qt::UTC));
    dt_main_hour->setToolTip("Set time");

    const auto small = [panel](const QString &text, int width) {
        auto *b = new QPushButton(text, panel);
        b->setFixedWidth(width);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    bn_set = small("SET", 48);
    bn_now = small("NOW", 48);
    bn_timebackward = small("<", 30);
    bn_stop = small("[]", 30);
    bn_timeforward = small(">", 30);
    bn_minus = small("-", 30);
    bn_plus = small("+", 30);

    txt_info1 = DataField(panel, 160, "Size: 180.0 Deg");

    const auto label = [panel](const QString &text) { return new QLabel(text, panel); };
    grid->addWidget(cb_sat1, 0, 0, 1, 2);
    grid->addWidget(label("RA"), 0, 2);
    grid->addWidget(txt_ra, 0, 3);
    grid->addWidget(label("AZ"), 0, 4);
    grid->addWidget(txt_az, 0, 5);
    grid->addWidget(label("HGT"), 0, 6);
    grid->addWidget(txt_hgt, 0, 7);
    grid->addWidget(txt_info1, 0, 8, 1, 2);

    grid->addWidget(cb_sat2, 1, 0);
    grid->addWidget(stxt_2sat_range, 1, 1);
    grid->addWidget(label("DEC"), 1, 2);
    grid->addWidget(txt_dec, 1, 3);
    grid->addWidget(label("ALT"), 1, 4);
    grid->addWidget(txt_alt, 1, 5);
    grid->addWidget(label("RNG"), 1, 6);
    grid->addWidget(txt_rng, 1, 7);

    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(txt_time);
    timeRow->addWidget(stxt_step);
    timeRow->addWidget(stxt_utc);
    timeRow->addSpacing(12);
    timeRow->addWidget(dt_main_date);
    timeRow->addWidget(dt_main_hour);
    timeRow->addWidget(bn_set);
    timeRow->addWidget(bn_now);
    timeRow->addSpacing(12);
    for (QPushButton *b : {bn_timebackward, bn_stop, bn_timeforward, bn_minus, bn_plus})
        timeRow->addWidget(b);
    timeRow->addStretch(1);
    grid->addLayout(timeRow, 2, 0, 1, 10);
    grid->setColumnStretch(9, 1);

    MainImage = new ViewImage(central);
    MainImage->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(panel);
    column->addWidget(MainImage, 1);
    setCentralWidget(central);

    connect(bn_set, &QPushButton::clicked, this, &TfrMainWnd::menu_setusertimeClick);
    connect(bn_now, &QPushButton::clicked, this, &TfrMainWnd::menu_settimelocalClick);
    connect(bn_timebackward, &QPushButton::clicked, this, &TfrMainWnd::bn_timebackwardClick);
    connect(bn_stop, &QPushButton::clicked, this, &TfrMainWnd::bn_stopClick);
    connect(bn_timeforward, &QPushButton::clicked, this, &TfrMainWnd::menu_forwardClick);
    connect(bn_minus, &QPushButton::clicked, this, &TfrMainWnd::bn_minusClick);
    connect(bn_plus, &QPushButton::clicked, this, &TfrMainWnd::bn_plusClick);
    connect(stxt_utc, &ClickLabel::clicked, this, &TfrMainWnd::menu_utctimeClick);
    connect(dt_main_date, &QDateEdit::dateChanged, this, &TfrMainWnd::dt_main_dateChange);
    connect(cb_sat1, &QComboBox::activated, this, &TfrMainWnd::cb_sat1Change);
    connect(cb_sat2, &QComboBox::activated, this, &TfrMainWnd::cb_sat2Change);
}

namespace {

// The width a panel needs to show the widest of texts whole.
int WidthForTexts(QLabel *panel, std::initializer_list<const char *> texts)
{
    const QString shown = panel->text();
    int width = 0;
    for (const char *text : texts) {
        panel->setText(QString::fromUtf8(text));
        width = std::max(width, panel->minimumSizeHint().width());
    }
    panel->setText(shown);
    return width;
}

} // namespace

void TfrMainWnd::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(false);
    QFont font = bar->font();
    font.setPointSizeF(std::min(font.pointSizeF(), 8.0));
    bar->setFont(font);
    // The panels sit side by side without gaps in a row of their own, so
    // that all of them fit a window 800 pixels wide. The captions keep their
    // widths (wider only when the font needs it); the six value panels share
    // the rest, each never narrower than the widest text it shows in any
    // view, so that none is cut.
    auto *row = new QWidget(bar);
    auto *panels = new QHBoxLayout(row);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(0);
    for (int i = 0; i < 12; ++i) {
        auto *panel = new QLabel(row);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panels->addWidget(panel, i % 2 == 0 ? 0 : 1);
        panels_[i] = panel;
    }
    panels_[0]->setFixedWidth(std::max(56, WidthForTexts(panels_[0], {"Next AOS"})));
    panels_[2]->setFixedWidth(std::max(56, WidthForTexts(panels_[2], {"Next LOS"})));
    for (int panel : {4, 6, 8, 10})
        panels_[panel]->setFixedWidth(std::max(36, WidthForTexts(panels_[panel], {" LAT", "LON", "DEC", "ALT"})));
    for (int panel : {1, 3})
        panels_[panel]->setMinimumWidth(WidthForTexts(panels_[panel], {"00 Mmm 00:00:00", "Decayed"}));
    for (int panel : {5, 7})
        panels_[panel]->setMinimumWidth(WidthForTexts(panels_[panel], {"-000° 00' 00\"", "00h 00m 00s"}));
    panels_[9]->setMinimumWidth(WidthForTexts(panels_[9], {"000.0 km/s", "000.0 mi/s", "-00.000 °"}));
    panels_[11]->setMinimumWidth(WidthForTexts(panels_[11], {"00000.0 Days", "000.000 °"}));
    bar->addWidget(row, 1);
    panels_[0]->setText("Next AOS");
    panels_[2]->setText("Next LOS");
}

void TfrMainWnd::SetPanel(int index, const QString &text)
{
    panels_[index]->setText(text);
}

QString TfrMainWnd::Panel(int index) const
{
    return panels_[index]->text();
}

void TfrMainWnd::OnUiThread(std::function<void()> fn)
{
    if (QThread::currentThread() == thread())
        fn();
    else
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}
