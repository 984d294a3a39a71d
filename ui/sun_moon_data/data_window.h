// The Sun, Moon and planet data window: day-by-day rise, culmination and set
// tables of the Sun or the Moon for the observer, and the positions of the
// planets, the Moon and the Sun at one instant. Shown modally for each use;
// the tables are computed on the user-interface thread.
#pragma once

#include <QDialog>

#include <string>

#include "engine/satellites/satellite_record.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

class TfrDataWnd : public QDialog {
    Q_OBJECT
public:
    explicit TfrDataWnd(QWidget *parent = nullptr);

    void FormCreate();
    void bn_sunClick();
    void cb_sunSelect();
    void bn_moonClick();
    void bn_planetClick();
    void bn_saveClick();
    void bn_printClick();
    void stxt_timeClick();
    void dt_data_dateChange();
    void chkb_hpClick();
    void bn_closeClick();

    // Fills the memo with the rise/set table of body 10 or 11 over nm_days days.
    void BuildRiseSetTable(int body, const std::string &title, double threshold);

    TargetState DataBody{};
    double RiseSetAltitude = 0.0; // rad
    bool UtcMode = true;

    QPlainTextEdit *PlanetMemo = nullptr;
    QDateEdit *dt_data_date = nullptr;
    QDateTimeEdit *dt_data_hour = nullptr;
    QToolButton *stxt_time = nullptr;
    QSpinBox *nm_days = nullptr;
    QComboBox *cb_sun = nullptr;
    QPushButton *bn_sun = nullptr, *bn_moon = nullptr, *bn_planet = nullptr;
    QPushButton *bn_save = nullptr, *bn_print = nullptr, *bn_close = nullptr;
    QCheckBox *chkb_hp = nullptr;

private:
    void BuildControls();
    // The shown instant of the time picker in UTC.
    double PickedUtc() const;
};
