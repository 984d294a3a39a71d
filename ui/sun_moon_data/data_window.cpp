#include "ui/sun_moon_data/data_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "engine/astronomy/constants.h"
#include "engine/files/settings.h"
#include "engine/runtime/program_state.h"
#include "engine/reports/sun_moon_tables.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/day_count.h"
#include "ui/widgets/report_box.h"
#include "ui/widgets/time_pickers.h"
#include "views/view_state.h"

namespace {

// Below the horizon correction by about the Sun's and the Moon's radius, so
// the upper limb is the one that rises and sets.
constexpr double SunLimbDegrees = 0.26;
constexpr double MoonLimbDegrees = 0.225;
// The Sun's altitudes of civil, nautical and astronomical twilight.
constexpr double TwilightDegrees[] = {-6.0, -12.0, -18.0};

const char *const SunTitle = "  Sun Rise/Set ";
const char *const MoonTitle = "  Moon Rise/Set ";

} // namespace

TfrDataWnd::TfrDataWnd(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    BuildControls();
    setFixedSize(644, 371);
    SetHelpContext(this, HelpSunMoonData);
    FormCreate();
}

void TfrDataWnd::BuildControls()
{
    PlanetMemo = MakeReportBox(this);
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(12);
    PlanetMemo->setFont(font);

    dt_data_date = MakeDatePicker(this, " yyyy  MMM  dd");
    dt_data_hour = MakeTimePicker(this, "HH:mm:ss", "Shift key to active calendar or time");
    stxt_time = new QToolButton(this);
    stxt_time->setText("UTC");
    stxt_time->setAutoRaise(true);
    stxt_time->setToolTip("Click to change time from Local to UTC");
    nm_days = new QSpinBox(this);
    nm_days->setRange(15, 90);
    nm_days->setValue(15);
    cb_sun = new QComboBox(this);
    cb_sun->addItems({"Normal", "Civil ", "Nautical", "Astronomical"});
    cb_sun->setCurrentIndex(0);
    bn_sun = new QPushButton("Sun", this);
    bn_moon = new QPushButton("Moon", this);
    bn_planet = new QPushButton("Planets", this);
    bn_save = new QPushButton("Save", this);
    bn_print = new QPushButton("Print", this);
    bn_close = new QPushButton("Close", this);
    chkb_hp = new QCheckBox("Sun - Moon (High Precision)", this);

    auto *side = new QGridLayout;
    side->addWidget(new QLabel("DATE", this), 0, 0);
    side->addWidget(dt_data_date, 1, 0, 1, 2);
    side->addWidget(dt_data_hour, 2, 0);
    side->addWidget(stxt_time, 2, 1);
    side->addWidget(new QLabel("DAYS", this), 3, 0);
    side->addWidget(nm_days, 3, 1);
    side->addWidget(new QLabel("Sun Rise/Set Time", this), 4, 0, 1, 2);
    side->addWidget(cb_sun, 5, 0, 1, 2);
    side->addWidget(bn_sun, 6, 0);
    side->addWidget(bn_moon, 6, 1);
    side->addWidget(bn_planet, 7, 0);
    side->addWidget(new QLabel("(Planets Only)", this), 7, 1);
    side->addWidget(chkb_hp, 8, 0, 1, 2);
    side->addWidget(bn_save, 9, 0);
    side->addWidget(bn_print, 9, 1);
    side->addWidget(bn_close, 10, 0, 1, 2);
    side->setRowStretch(11, 1);
    auto *row = new QHBoxLayout(this);
    row->addWidget(PlanetMemo, 1);
    row->addLayout(side);

    connect(bn_sun, &QPushButton::clicked, this, &TfrDataWnd::bn_sunClick);
    connect(cb_sun, &QComboBox::activated, this, &TfrDataWnd::cb_sunSelect);
    connect(bn_moon, &QPushButton::clicked, this, &TfrDataWnd::bn_moonClick);
    connect(bn_planet, &QPushButton::clicked, this, &TfrDataWnd::bn_planetClick);
    connect(bn_save, &QPushButton::clicked, this, &TfrDataWnd::bn_saveClick);
    connect(bn_print, &QPushButton::clicked, this, &TfrDataWnd::bn_printClick);
    connect(bn_close, &QPushButton::clicked, this, &TfrDataWnd::bn_closeClick);
    connect(stxt_time, &QToolButton::clicked, this, &TfrDataWnd::stxt_timeClick);
    connect(dt_data_date, &QDateEdit::dateChanged, this, &TfrDataWnd::dt_data_dateChange);
    connect(chkb_hp, &QCheckBox::clicked, this, &TfrDataWnd::chkb_hpClick);
}

void TfrDataWnd::FormCreate()
{
    setWindowTitle("Sun Rise/Set Data");
    UtcMode = true;
    dt_data_hour->setDateTime(DayCountToDateTime(CurrentTime));
    dt_data_date->setDate(dt_data_hour->date());
    DataBody.BodyId = BodySun;
    chkb_hp->setChecked(Options.HighPrecision != 0);
    if (!Options.UtcTime)
        stxt_timeClick();
    BuildRiseSetTable(BodySun, SunTitle, MainView.HorizonAltitude - DegToRad(SunLimbDegrees));
}

void TfrDataWnd::BuildRiseSetTable(int body, const std::string &title, double threshold)
{
    RiseSetAltitude = threshold;
    DataBody.BodyId = body;
    setWindowTitle(QString::fromStdString(title));
    PlanetMemo->clear();
    RiseSetTableInputs inputs;
    inputs.Body = body;
    inputs.Days = nm_days->value();
    inputs.Title = title;
    inputs.Threshold = threshold;
    inputs.Date = DateTimeToDayCount(QDateTime(dt_data_date->date(), QTime(0, 0), Qt::UTC));
    inputs.UtcMode = UtcMode;
    inputs.WithSeconds = chkb_hp->isChecked();
    inputs.Observer = Observer;
    AppendReportLines(PlanetMemo, ::BuildRiseSetTable(inputs));
}

void TfrDataWnd::bn_sunClick() { cb_sunSelect(); }

void TfrDataWnd::cb_sunSelect()
{
    const int choice = cb_sun->currentIndex();
    double threshold = RiseSetAltitude;
    if (choice == 0)
        threshold = MainView.HorizonAltitude - DegToRad(SunLimbDegrees);
    else if (choice >= 1 && choice <= 3)
        threshold = DegToRad(TwilightDegrees[choice - 1]);
    BuildRiseSetTable(BodySun, SunTitle, threshold);
}

void TfrDataWnd::bn_moonClick()
{
    BuildRiseSetTable(BodyMoon, MoonTitle, MainView.HorizonAltitude - DegToRad(MoonLimbDegrees));
}

double TfrDataWnd::PickedUtc() const
{
    const double picked = DateTimeToDayCount(dt_data_hour->dateTime());
    return UtcMode ? picked : picked - Observer.UtcOffset;
}

void TfrDataWnd::bn_planetClick()
{
    setWindowTitle("Planet/Moon data");
    PlanetMemo->clear();
    AppendReportLines(PlanetMemo, BuildPlanetTable(PickedUtc(), DateTimeToDayCount(dt_data_hour->dateTime()),
                                                   stxt_time->text().toStdString(), Observer));
}

void TfrDataWnd::bn_saveClick() { SaveReportBox(PlanetMemo); }

void TfrDataWnd::bn_printClick() { PrintReportBox(PlanetMemo); }

void TfrDataWnd::stxt_timeClick()
{
    UtcMode = !UtcMode;
    stxt_time->setText(UtcMode ? "UTC" : "LOC");
    ShiftPickedTime(dt_data_hour, dt_data_date, UtcMode ? -Observer.UtcOffset : Observer.UtcOffset);
}

void TfrDataWnd::dt_data_dateChange() { CopyPickedDate(dt_data_date, dt_data_hour); }

void TfrDataWnd::chkb_hpClick() { Options.HighPrecision = chkb_hp->isChecked() ? 1 : 0; }

void TfrDataWnd::bn_closeClick() { close(); }
