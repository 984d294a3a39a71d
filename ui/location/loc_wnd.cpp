#include "ui/location/loc_wnd.h"

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/files/settings.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "ui/help/help_viewer.h"
#include "ui/main_window/day_count.h"
#include "ui/widgets/field_leave.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr double FeetPerMetre = 3.2808;
constexpr std::size_t ObserverTextCapacity = 64;
constexpr double MinutesPerDay = 1440.0;
constexpr int ZoneNameChars = 40;

void Message(const std::string &text, MessageKind kind = MessageKind::Information)
{
    ShowUserMessage(text, "KYT", kind);
}

bool Confirm(const std::string &text)
{
    const UiHooks &hooks = Hooks();
    return hooks.showMessage && hooks.showMessage(text, "KYT", MessageKind::Confirmation);
}

// Hours with one or two decimals: 5.75 stays 5.75 (a zone 45 minutes off the
// hour), -6 shows -6.0.
QString OffsetHoursText(double hours)
{
    std::string text = FormatReport("%0:.2f", {hours});
    if (text.back() == '0')
        text.pop_back();
    return QString::fromStdString(text);
}

QString DegreesText(double degrees)
{
    return QString::fromStdString(FormatReport("%0:.4f", {degrees}));
}

// At most capacity bytes of text, never cutting a character in two.
std::string CutToBytes(const std::string &text, std::size_t capacity)
{
    std::size_t end = std::min(text.size(), capacity);
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

std::string FieldText(const QLineEdit *field)
{
    return field->text().trimmed().toStdString();
}

// The field's text as a value within -limit..limit, both inclusive; value
// is left alone when the text is none.
bool ReadCoordinate(const QLineEdit *field, double limit, double &value)
{
    double read = 0.0;
    if (!ParseDecimal(field->text().toStdString(), read) || !(std::fabs(read) <= limit))
        return false;
    value = read;
    return true;
}

} // namespace

TfrLocWnd::TfrLocWnd(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle("Location Selector");
    SetHelpContext(this, HelpObserverLocation);
    BuildControls();
    FormCreate();
}

void TfrLocWnd::BuildControls()
{
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *listColumn = new QVBoxLayout;
    auto *listButtons = new QHBoxLayout;
    bn_main = new QPushButton("Full list", this);
    bn_user = new QPushButton("Favorites", this);
    listButtons->addWidget(bn_main);
    listButtons->addWidget(bn_user);
    listColumn->addLayout(listButtons);
    listbox_loc = new QListWidget(this);
    listbox_loc->setUniformItemSizes(true);
    listbox_loc->setFixedSize(260, 320);
    listColumn->addWidget(listbox_loc);
    auto *editButtons = new QHBoxLayout;
    bn_new = new QPushButton("New", this);
    bn_mod_entry = new QPushButton("Modify", this);
    bn_save = new QPushButton("Save", this);
    bn_delete = new QPushButton("Delete", this);
    for (QPushButton *button : {bn_new, bn_mod_entry, bn_save, bn_delete})
        editButtons->addWidget(button);
    listColumn->addLayout(editButtons);
    layout->addLayout(listColumn);

    auto *fieldColumn = new QVBoxLayout;
    auto *fields = new QGridLayout;
    const auto edit = [this](int maxLength, bool readOnly) {
        auto *field = new QLineEdit(this);
        if (maxLength > 0)
            field->setMaxLength(maxLength);
        field->setReadOnly(readOnly);
        return field;
    };
    txt_loc = edit(0, true);
    txt_lat1 = edit(8, true);
    txt_lat2 = edit(0, true);
    txt_lon1 = edit(9, true);
    txt_lon2 = edit(0, true);
    cb_timezone = new QComboBox(this);
    cb_timezone->setMinimumWidth(260);
    // As wide as the longest real zone name, whatever a damaged zone file
    // holds: the window must stay on the screen.
    cb_timezone->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cb_timezone->setMinimumContentsLength(ZoneNameChars);
    txt_utc = edit(0, true);
    txt_agl = edit(8, true);
    lb_msl = new QLabel(this);
    int row = 0;
    const auto addRow = [&](const QString &caption, QWidget *first, QWidget *second = nullptr) {
        fields->addWidget(new QLabel(caption, this), row++, 0, 1, 2);
        fields->addWidget(first, row, 0, 1, second ? 1 : 2);
        if (second)
            fields->addWidget(second, row, 1);
        ++row;
    };
    addRow("Location", txt_loc);
    addRow("Latitude (North = +   South = -)", txt_lat1, txt_lat2);
    addRow("Longitude  (East = +   West = -)", txt_lon1, txt_lon2);
    addRow("TIME ZONE", cb_timezone);
    fields->addWidget(new QLabel("Offset", this), row, 0);
    fields->addWidget(lb_msl, row++, 1);
    fields->addWidget(txt_utc, row, 0);
    fields->addWidget(txt_agl, row++, 1);
    fieldColumn->addLayout(fields);
    fieldColumn->addStretch();
    auto *windowButtons = new QHBoxLayout;
    bn_modify = new QPushButton("Modify", this);
    bn_cancel = new QPushButton("Cancel", this);
    bn_apply = new QPushButton("Apply", this);
    bn_done = new QPushButton("Close", this);
    for (QPushButton *button : {bn_modify, bn_cancel, bn_apply, bn_done}) {
        button->setAutoDefault(false);
        windowButtons->addWidget(button);
    }
    for (QPushButton *button : {bn_main, bn_user, bn_new, bn_mod_entry, bn_save, bn_delete})
        button->setAutoDefault(false);
    fieldColumn->addLayout(windowButtons);
    layout->addLayout(fieldColumn);

    connect(listbox_loc, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            listbox_locClick();
    });
    connect(cb_timezone, &QComboBox::activated, this, [this] { cb_timezoneChange(); });
    latitude_ = {txt_lat1, txt_lat2, 90.0, "Not a valid Latitude, value must be between 90 and -90", 0.0};
    longitude_ = {txt_lon1, txt_lon2, 180.0, "Not a valid Longitude, value must be between 180 and -180", 0.0};
    connect(txt_lat1, &QLineEdit::textChanged, this, [this] { txt_lat1Change(); });
    connect(txt_lon1, &QLineEdit::textChanged, this, [this] { txt_lon1Change(); });
    txt_lat1->installEventFilter(this);
    txt_lon1->installEventFilter(this);
    connect(bn_main, &QPushButton::clicked, this, [this] { bn_mainClick(false); });
    connect(bn_user, &QPushButton::clicked, this, [this] { bn_mainClick(true); });
    connect(bn_new, &QPushButton::clicked, this, &TfrLocWnd::bn_newClick);
    connect(bn_mod_entry, &QPushButton::clicked, this, [this] { bn_modifyClick(true); });
    connect(bn_modify, &QPushButton::clicked, this, [this] { bn_modifyClick(false); });
    connect(bn_save, &QPushButton::clicked, this, &TfrLocWnd::bn_saveClick);
    connect(bn_cancel, &QPushButton::clicked, this, &TfrLocWnd::bn_cancelClick);
    connect(bn_delete, &QPushButton::clicked, this, &TfrLocWnd::bn_deleteClick);
    connect(bn_apply, &QPushButton::clicked, this, &TfrLocWnd::bn_applyClick);
    connect(bn_done, &QPushButton::clicked, this, &TfrLocWnd::bn_doneClick);
}

void TfrLocWnd::FormCreate()
{
    setWindowIcon(QApplication::windowIcon());
    heightFactor_ = Options.Metric ? 1.0 : FeetPerMetre;
    lb_msl->setText(Options.Metric ? "AGL(meter)" : "AGL(feet)");
    std::string error;
    if (ReadTimeZones(DataDir + TimeZonesFileName, zones_, &error) == ReadStatus::Failed)
        Message(error, MessageKind::Error);
    for (const TimeZoneEntry &zone : zones_)
        cb_timezone->addItem(QString::fromStdString(zone.name));
    SelectZone(Observer.TimeZoneName.str());
    listFile_ = DataDir + LocationsFileName;
    LoadPlaceList();
    FillLocationList();
    ShowCurrentObserver();
    SetLocationEditMode(Browse);
    for (QWidget *control : std::initializer_list<QWidget *>{bn_save, bn_apply, bn_cancel, cb_timezone})
        control->setEnabled(false);
}

void TfrLocWnd::ShowCurrentObserver()
{
    txt_loc->setText(QString::fromStdString(Observer.Name.str()));
    txt_lat1->setText(DegreesText(RadToDeg(Observer.Latitude)));
    txt_lon1->setText(DegreesText(RadToDeg(Observer.Longitude)));
    JudgeCoordinate(latitude_);
    JudgeCoordinate(longitude_);
    txt_utc->setText(OffsetHoursText(Observer.UtcOffset * 24.0));
    txt_agl->setText(QString::number(std::llround(Observer.Height * heightFactor_)));
    SelectZone(Observer.TimeZoneName.str());
}

void TfrLocWnd::FillLocationList()
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(lines_.size()));
    for (const std::string &line : lines_)
        names.append(QString::fromStdString(LocationName(line)));
    const QSignalBlocker quiet(listbox_loc);
    listbox_loc->clear();
    listbox_loc->addItems(names);
}

bool TfrLocWnd::ShowSelectedLocation()
{
    const int index = listbox_loc->currentRow();
    if (index < 0 || index >= static_cast<int>(lines_.size()))
        return false;
    LocationFields fields;
    double latitude = 0.0, longitude = 0.0;
    if (!ReadLocationPlace(lines_[index], fields, latitude, longitude)) {
        Message("The entry \"" + LocationName(lines_[index]) +
                "\" has no valid latitude and longitude: modify or delete it.");
        return false;
    }
    txt_loc->setText(QString::fromStdString(fields.name));
    txt_lat1->setText(QString::fromStdString(fields.latitude));
    txt_lon1->setText(QString::fromStdString(fields.longitude));
    latitude_.accepted = latitude;
    longitude_.accepted = longitude;
    SelectZone(fields.zone);
    return true;
}

void TfrLocWnd::SetLocationEditMode(int mode)
{
    mode_ = mode;
    const bool browsing = mode == Browse;
    const auto setEditable = [](QWidget *control, bool editable) {
        QPalette palette = QApplication::palette(control);
        if (editable)
            palette.setColor(QPalette::Text, Qt::red);
        control->setPalette(palette);
        if (auto *field = qobject_cast<QLineEdit *>(control))
            field->setReadOnly(!editable);
        else
            control->setEnabled(editable);
    };
    setEditable(txt_loc, mode == NewPlace);
    for (QWidget *control : std::initializer_list<QWidget *>{txt_lat1, txt_lon1, cb_timezone})
        setEditable(control, !browsing);
    setEditable(txt_agl, mode == ModifyCurrent);
    if (mode != ModifyCurrent)
        bn_save->setEnabled(mode == NewPlace || mode == ModifyPlace);
    bn_apply->setEnabled(browsing || mode == ModifyCurrent);
    bn_cancel->setEnabled(!browsing);
    for (QWidget *control : std::initializer_list<QWidget *>{bn_new, bn_delete, bn_mod_entry, bn_modify,
                                                             bn_main, bn_user, bn_done, listbox_loc})
        control->setEnabled(browsing);
}

void TfrLocWnd::listbox_locClick()
{
    if (!ShowSelectedLocation())
        return;
    ShowZoneOffset();
    bn_delete->setEnabled(true);
    bn_apply->setEnabled(true);
}

void TfrLocWnd::cb_timezoneChange()
{
    ShowZoneOffset();
}

void TfrLocWnd::ShowZoneOffset()
{
    const int index = cb_timezone->currentIndex();
    if (index < 0 || index >= static_cast<int>(zones_.size())) {
        txt_utc->clear();
        return;
    }
    const TimeZoneEntry &zone = zones_[index];
    const QTimeZone system(QByteArray::fromStdString(zone.name));
    if (!system.isValid()) {
        txt_utc->setText(QString::fromStdString(zone.offset));
        return;
    }
    // The offset in force at the instant shown, daylight saving included.
    txt_utc->setText(OffsetHoursText(system.offsetFromUtc(DayCountToDateTime(CurrentTime)) / 3600.0));
}

void TfrLocWnd::SelectZone(const std::string &name)
{
    int found = -1;
    for (std::size_t i = 0; i < zones_.size() && found < 0; ++i)
        if (SameTextIgnoreCase(zones_[i].name, name))
            found = static_cast<int>(i);
    cb_timezone->setCurrentIndex(found);
}

void TfrLocWnd::txt_lat1Change()
{
    ShowEcho(latitude_);
}

void TfrLocWnd::txt_lon1Change()
{
    ShowEcho(longitude_);
}

void TfrLocWnd::ShowEcho(const Coordinate &coordinate)
{
    double value = 0.0;
    if (ReadCoordinate(coordinate.field, coordinate.limit, value))
        coordinate.echo->setText(QString::fromStdString(FormatAngleDMS(false, 1, value)));
}

bool TfrLocWnd::JudgeCoordinate(Coordinate &coordinate)
{
    if (ReadCoordinate(coordinate.field, coordinate.limit, coordinate.accepted))
        return true;
    // Put back before the box: while it waits for its answer, the judging
    // of the field's leaving may come in and must find nothing to refuse.
    coordinate.field->setText(DegreesText(coordinate.accepted));
    Message(coordinate.message);
    return false;
}

bool TfrLocWnd::JudgeCoordinates()
{
    for (Coordinate *coordinate : {&latitude_, &longitude_}) {
        if (!JudgeCoordinate(*coordinate)) {
            coordinate->field->setFocus(Qt::OtherFocusReason);
            coordinate->field->selectAll();
            return false;
        }
    }
    return true;
}

bool TfrLocWnd::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && LeavesFieldInItsWindow(*static_cast<QFocusEvent *>(event))) {
        Coordinate *coordinate = watched == txt_lat1 ? &latitude_ : watched == txt_lon1 ? &longitude_ : nullptr;
        // Judged once the focus change has settled: a box shown from inside
        // it would fight the widget taking the focus. A click on "Apply" or
        // "Save" judges the text itself before that; a window on its way
        // out judges nothing.
        if (coordinate && !coordinate->field->isReadOnly())
            QTimer::singleShot(0, this, [this, coordinate] {
                if (isVisible() && !coordinate->field->isReadOnly() && !JudgeCoordinate(*coordinate)) {
                    coordinate->field->setFocus(Qt::OtherFocusReason);
                    coordinate->field->selectAll();
                }
            });
    }
    return QDialog::eventFilter(watched, event);
}

void TfrLocWnd::LoadPlaceList()
{
    std::string error;
    listRead_ = ReadLocationLines(listFile_, lines_, &error) != ReadStatus::Failed;
    if (!listRead_)
        Message(error, MessageKind::Error);
    listChanged_ = false;
}

void TfrLocWnd::SavePlaceList()
{
    if (!listChanged_)
        return;
    std::string error;
    if (!SaveLocationLines(listFile_, lines_, &error))
        Message(error, MessageKind::Error);
    listChanged_ = false;
}

void TfrLocWnd::bn_mainClick(bool favourites)
{
    SavePlaceList();
    listFile_ = DataDir + (favourites ? UserLocationsFileName : LocationsFileName);
    LoadPlaceList();
    FillLocationList();
}

void TfrLocWnd::bn_newClick()
{
    SetLocationEditMode(NewPlace);
}

void TfrLocWnd::bn_modifyClick(bool placeEntry)
{
    if (!placeEntry) {
        SetLocationEditMode(ModifyCurrent);
        return;
    }
    if (listbox_loc->currentRow() < 0) {
        Message("You must select an entry from the list prior to selecting \"Modify entry\" !");
        return;
    }
    SetLocationEditMode(ModifyPlace);
}

void TfrLocWnd::bn_saveClick()
{
    // Written from what was read, the list would lose every place it holds.
    if (!listRead_) {
        Message("The place list \"" + ResolvePath(listFile_) + "\" could not be read, so no place can be saved "
                "to it without losing the places it holds. The file is left as it is.");
        return;
    }
    const std::string name = FieldText(txt_loc);
    // A longer name would push every later column of its line out of place.
    if (name.empty()) {
        Message("Enter a name for the location.");
        return;
    }
    if (CountCharacters(name) > LocationNameWidth) {
        Message("\"" + name + "\" is too long: a location name holds at most 30 characters.");
        return;
    }
    if (!JudgeCoordinates())
        return;
    const int selected = listbox_loc->currentRow();
    if (mode_ == ModifyPlace && selected >= 0 && selected < static_cast<int>(lines_.size()))
        lines_.erase(lines_.begin() + selected);
    SetLocationEditMode(Browse);
    lines_.push_back(FormatLocationLine(
        {name, FieldText(txt_lat1), FieldText(txt_lon1), cb_timezone->currentText().trimmed().toStdString()}));
    SortLocationLines(lines_);
    FillLocationList();
    listChanged_ = true;
}

void TfrLocWnd::bn_cancelClick()
{
    SetLocationEditMode(Browse);
    // The fields no longer show a list entry.
    listbox_loc->setCurrentRow(-1);
    ShowCurrentObserver();
}

void TfrLocWnd::bn_deleteClick()
{
    const int selected = listbox_loc->currentRow();
    if (selected < 0 || selected >= static_cast<int>(lines_.size())) {
        Message("No entry selected for deletion!");
        return;
    }
    if (!Confirm("Delete entry \"" + txt_loc->text().toStdString() + "\" Are you sure?"))
        return;
    lines_.erase(lines_.begin() + selected);
    FillLocationList();
    listChanged_ = true;
}

void TfrLocWnd::bn_applyClick()
{
    // Every number is checked before anything changes, so a refused Apply
    // leaves the observer as it was.
    if (!JudgeCoordinates())
        return;
    double offsetHours = 0.0;
    if (!ParseDecimal(FieldText(txt_utc), offsetHours) || std::fabs(offsetHours) >= 24.0) {
        Message("The UTC offset of this location is not known: choose its TIME ZONE (\"Modify\") "
                "and apply again.");
        return;
    }
    double height = 0.0;
    if (!ParseDecimal(FieldText(txt_agl), height)) {
        Message("Not a valid height: \"" + FieldText(txt_agl) + "\"");
        return;
    }
    const std::string name = txt_loc->text().toStdString();
    Observer.Name.assign(CutToBytes(name, ObserverTextCapacity));
    // Whole minutes: an offset such as 5.75 h must not come back as 5.8 h.
    Observer.UtcOffset = static_cast<double>(std::llround(offsetHours * 60.0)) / MinutesPerDay;
    Observer.Latitude = DegToRad(latitude_.accepted);
    Observer.Longitude = DegToRad(longitude_.accepted);
    Observer.Height = height / heightFactor_;
    Observer.TimeZoneName.assign(
        CutToBytes(cb_timezone->currentText().trimmed().toStdString(), ObserverTextCapacity));
    CalcObserverRho(Angles3{Observer.Latitude, Observer.Longitude, Observer.Height}, Observer.RhoSinPhi,
                    Observer.RhoCosPhi);
    applied_ = true;
    if (Confirm("Save as \"Default Location\"?")) {
        std::string error;
        if (SaveObserver(&error))
            Message("\"" + name + "\" is your default location");
        else
            Message(error, MessageKind::Error);
    }
    accept();
}

void TfrLocWnd::bn_doneClick()
{
    reject();
}

void TfrLocWnd::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TfrLocWnd::FormClose()
{
    SavePlaceList();
}
