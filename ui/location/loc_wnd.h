// The observer location window: chooses, edits and applies the observer's
// place from the full place list, the favourites or the fields, with the time
// zones of "Timezone.dat".
#pragma once

#include "engine/files/location_files.h"

#include <QDialog>
#include <QString>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class TfrLocWnd : public QDialog {
    Q_OBJECT
public:
    // The edit modes of the window.
    enum EditMode { Browse = 0, NewPlace = 1, ModifyPlace = 2, ModifyCurrent = 3 };

    explicit TfrLocWnd(QWidget *parent = nullptr);

    // Set when "Apply" wrote a new observer.
    bool Applied() const { return applied_; }
    // The place list shown and its lines, index for index with the list box.
    const std::string &ListFile() const { return listFile_; }
    const std::vector<std::string> &PlaceLines() const { return lines_; }

    void FormCreate();
    void ShowCurrentObserver();
    void FillLocationList();
    // The selected place into the fields; false, fields unchanged, when its
    // line does not hold a readable latitude and longitude.
    bool ShowSelectedLocation();
    void SetLocationEditMode(int mode);

    void listbox_locClick();
    void cb_timezoneChange();
    // A change of a coordinate's text shows its echo when it reads as one;
    // the text is judged only when the field is left and by "Apply" and
    // "Save", so "-", an empty field and partial numbers can be typed.
    void txt_lat1Change();
    void txt_lon1Change();
    void bn_mainClick(bool favourites);
    void bn_newClick();
    void bn_modifyClick(bool placeEntry);
    void bn_saveClick();
    void bn_cancelClick();
    void bn_deleteClick();
    void bn_applyClick();
    void bn_doneClick();

    QListWidget *listbox_loc = nullptr;
    QPushButton *bn_main = nullptr, *bn_user = nullptr;
    QPushButton *bn_new = nullptr, *bn_mod_entry = nullptr, *bn_save = nullptr, *bn_delete = nullptr;
    QPushButton *bn_modify = nullptr, *bn_cancel = nullptr, *bn_apply = nullptr, *bn_done = nullptr;
    QLineEdit *txt_loc = nullptr, *txt_utc = nullptr;
    QComboBox *cb_timezone = nullptr;
    QLineEdit *txt_lat1 = nullptr, *txt_lat2 = nullptr, *txt_lon1 = nullptr, *txt_lon2 = nullptr;
    QLineEdit *txt_agl = nullptr;
    QLabel *lb_msl = nullptr;

    // Every way the window ends passes here.
    void done(int result) override;

protected:
    // Judges a coordinate's text when the focus moves from its field to
    // another control of the window.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A latitude or longitude field with its echo and limits.
    struct Coordinate {
        QLineEdit *field;
        QLineEdit *echo;
        double limit;
        const char *message;
        // The last value that passed: what the field returns to when its
        // text is refused, and what "Apply" stores.
        double accepted;
    };

    void BuildControls();
    void FormClose();
    void LoadPlaceList();
    // Writes the shown list back when "Save" or "Delete" changed it.
    void SavePlaceList();
    void SelectZone(const std::string &name);
    // The offset field from the chosen zone: its offset in force at the
    // current instant, or the zone file's text for a zone the computer's
    // time-zone database does not know; empty with no zone chosen.
    void ShowZoneOffset();
    void ShowEcho(const Coordinate &coordinate);
    // Takes the field's text as the coordinate's value; a text that is no
    // value within the limits is refused with the coordinate's message and
    // the field returns to the accepted value.
    bool JudgeCoordinate(Coordinate &coordinate);
    // Both coordinates, for "Apply" and "Save": false, the focus in the
    // refused field, when either is refused.
    bool JudgeCoordinates();

    std::string listFile_;
    std::vector<std::string> lines_;
    std::vector<TimeZoneEntry> zones_;
    double heightFactor_ = 1.0;
    Coordinate latitude_{};
    Coordinate longitude_{};
    int mode_ = Browse;
    bool listChanged_ = false;
    // False when the shown list's file exists but could not be read.
    bool listRead_ = true;
    bool applied_ = false;
};
