// The observer location window on a program folder of its own.
#include "ui/dialog_fixture.h"
#include "ui/location/loc_wnd.h"
#include "ui/window_switch.h"

#include "engine/astronomy/constants.h"
#include "engine/text/text_format.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

namespace {

std::string Place(const std::string &name, const std::string &lat, const std::string &lon, const std::string &zone)
{
    return FormatLocationLine({name, lat, lon, zone}) + "\n";
}

class LocWndTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Options = DefaultOptions();
        Observer = DefaultObserver({});
        CurrentTime = MakeInstant(2025, 1, 15, 12);
        WriteFile(DataDir + "Timezone.dat", "0, Greenwich (Coordinated Universal) Time\n"
                                            "-5, America/New_York\n"
                                            "5.75, Asia/Kathmandu\n"
                                            "10, Australia/Sydney\n"
                                            "1, Europe/Zurich\n"
                                            "9.25, Nowhere/Imaginary\n");
        WriteFile(DataDir + "Locations.dat", Place("Beyond", "91", "0", "Europe/Zurich") +
                                                 Place("Kathmandu, NP", "27.7017", "85.3206", "Asia/Kathmandu") +
                                                 Place("New York City, US", "40.7143", "-74.0060", "America/New_York") +
                                                 Place("Nowhere", "1.0", "2.0", "Nowhere/Imaginary") +
                                                 Place("Somewhere", "3.0", "4.0", "Europe/Atlantis") +
                                                 Place("Sydney, AU", "-33.8678", "151.2073", "Australia/Sydney") +
                                                 Place("Twisted", "N10", "20", "Europe/Zurich"));
    }

    void TearDown() override
    {
        window_.reset();
        DialogTest::TearDown();
    }

    TfrLocWnd &Open()
    {
        window_ = std::make_unique<TfrLocWnd>();
        return *window_;
    }

    // Clicks the list entry of that name.
    void Pick(const QString &name)
    {
        const auto found = window_->listbox_loc->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        window_->listbox_loc->setCurrentItem(found.front());
    }

    std::unique_ptr<TfrLocWnd> window_;
};

// What is typed is judged when the field is left for another control of the
// window and by "Save" and "Apply", never by a switch to another
// application: a western longitude can be typed sign first, a user can leave
// to look a number up, and a refused coordinate never becomes a place's or
// the observer's.
TEST_F(LocWndTest, CoordinatesAreJudgedWhenTheFieldIsLeft)
{
    TfrLocWnd &w = Open();
    EXPECT_EQ(w.txt_lat1->text(), "53.4570");
    EXPECT_EQ(w.txt_utc->text(), "0.0");
    EXPECT_EQ(w.cb_timezone->currentText(), "Greenwich (Coordinated Universal) Time");
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto type = [](QLineEdit *field, const char *keys) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, keys);
    };
    const std::string longitudeMessage = "Not a valid Longitude, value must be between 180 and -180";

    const std::vector<std::string> places = w.PlaceLines();
    Pick("Kathmandu, NP");
    QTest::mouseClick(w.bn_mod_entry, Qt::LeftButton);
    type(w.txt_lon1, "-");
    ASSERT_TRUE(SwitchToAnotherWindowAndBack(w));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(w.txt_lon1->text(), "-");
    QTest::mouseClick(w.bn_save, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(messages_, std::vector<std::string>{longitudeMessage});
    EXPECT_EQ(w.txt_lon1->text(), "85.3206");
    EXPECT_EQ(w.PlaceLines(), places);
    EXPECT_TRUE(w.bn_save->isEnabled());
    QTest::mouseClick(w.bn_cancel, Qt::LeftButton);
    messages_.clear();

    QTest::mouseClick(w.bn_modify, Qt::LeftButton);
    const auto leave = [&w] {
        w.txt_agl->setFocus();
        QTest::qWait(20);
    };
    for (const char *bound : {"90", "-90"}) {
        type(w.txt_lat1, bound);
        leave();
    }
    for (const char *bound : {"180", "-180"}) {
        type(w.txt_lon1, bound);
        leave();
    }
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(w.txt_lon2->text().toStdString(), "-180\u00b0 00' 00.0\"");

    const std::string latitudeMessage = "Not a valid Latitude, value must be between 90 and -90";
    type(w.txt_lat1, "12.5");
    leave();
    type(w.txt_lat1, "95");
    EXPECT_TRUE(messages_.empty());
    leave();
    type(w.txt_lat1, "");
    QTest::keyClick(w.txt_lat1, Qt::Key_Backspace);
    leave();
    type(w.txt_lon1, "-");
    EXPECT_EQ(w.txt_lon1->text(), "-");
    leave();
    EXPECT_EQ(messages_, (std::vector<std::string>{latitudeMessage, latitudeMessage, longitudeMessage}));
    EXPECT_EQ(w.txt_lat1->text(), "12.5000");
    EXPECT_EQ(w.txt_lon1->text(), "-180.0000");

    // "Apply" clicked straight from a refused text keeps the place, and the
    // refusal is told once, though the field's leaving is judged while the
    // box waits for its answer in an event loop of its own.
    messages_.clear();
    const auto record = Hooks().showMessage;
    Hooks().showMessage = [record](const std::string &text, const std::string &caption, MessageKind kind) {
        const bool answer = record(text, caption, kind);
        QCoreApplication::processEvents();
        return answer;
    };
    const ObserverRecord before = Observer;
    type(w.txt_lat1, "95");
    QTest::mouseClick(w.bn_apply, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_EQ(messages_, std::vector<std::string>{latitudeMessage});
    EXPECT_FALSE(w.Applied());
    EXPECT_EQ(Observer.Latitude, before.Latitude);
    EXPECT_EQ(w.txt_lat1->text(), "12.5000");

    type(w.txt_lon1, "-");
    QTest::keyClicks(w.txt_lon1, "75");
    EXPECT_EQ(w.txt_lon1->text(), "-75");
    answers_ = {false};
    QTest::mouseClick(w.bn_apply, Qt::LeftButton);
    EXPECT_TRUE(w.Applied());
    EXPECT_NEAR(RadToDeg(Observer.Latitude), 12.5, 1e-12);
    EXPECT_NEAR(RadToDeg(Observer.Longitude), -75.0, 1e-12);
}

TEST_F(LocWndTest, APlaceShowsItsZonesOffsetAtTheInstant)
{
    TfrLocWnd &w = Open();
    // Offsets from Python's zoneinfo for these instants.
    const struct {
        const char *place;
        double instant;
        const char *offset;
    } cases[] = {
        {"New York City, US", MakeInstant(2025, 1, 15, 12), "-5.0"},
        {"New York City, US", MakeInstant(2025, 7, 1, 12), "-4.0"},
        {"Sydney, AU", MakeInstant(2025, 1, 15, 12), "11.0"},
        {"Sydney, AU", MakeInstant(2025, 7, 1, 12), "10.0"},
        {"Kathmandu, NP", MakeInstant(2025, 7, 1, 12), "5.75"},
        // Unknown to the computer's tz database: the file's text.
        {"Nowhere", MakeInstant(2025, 7, 1, 12), "9.25"},
    };
    for (const auto &c : cases) {
        CurrentTime = c.instant;
        w.listbox_loc->setCurrentRow(-1);
        Pick(c.place);
        EXPECT_EQ(w.txt_utc->text().toStdString(), c.offset) << c.place;
    }
    EXPECT_TRUE(w.bn_apply->isEnabled());

    // A zone that is not in the zone list: no offset, and Apply asks for one.
    Pick("Somewhere");
    EXPECT_EQ(w.cb_timezone->currentIndex(), -1);
    EXPECT_EQ(w.txt_utc->text(), "");
    const ObserverRecord before = Observer;
    w.bn_applyClick();
    EXPECT_EQ(Observer.UtcOffset, before.UtcOffset);
    EXPECT_EQ(Observer.Name.str(), "Home");
    EXPECT_FALSE(w.Applied());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("TIME ZONE"), std::string::npos);

    // Choosing the zone in the modify mode gives the offset.
    w.bn_modifyClick(false);
    w.cb_timezone->setCurrentIndex(w.cb_timezone->findText("Europe/Zurich"));
    w.cb_timezoneChange();
    EXPECT_EQ(w.txt_utc->text(), "2.0");

    // A line whose latitude does not read, or lies out of range, is refused whole.
    w.bn_cancelClick();
    messages_.clear();
    Pick("Twisted");
    Pick("Beyond");
    EXPECT_EQ(w.txt_loc->text(), "Home");
    EXPECT_EQ(w.txt_lat1->text(), "53.4570");
    EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(LocWndTest, ApplyStoresTheShownLocation)
{
    Observer.UtcOffset = 345.0 / 1440.0;
    Observer.TimeZoneName.assign("Asia/Kathmandu");
    Options.Metric = 0;
    Observer.Height = 100.0;
    const std::string observerFile = DataDir + "Observer.bin";
    ASSERT_TRUE(SaveObserver());
    const std::string stored = ReadFile(observerFile);

    // Modify and Apply keep a 45-minute offset; No keeps the default file.
    TfrLocWnd &w = Open();
    EXPECT_EQ(w.txt_utc->text(), "5.75");
    EXPECT_EQ(w.txt_agl->text(), "328");
    w.bn_modifyClick(false);
    EXPECT_FALSE(w.txt_agl->isReadOnly());
    EXPECT_FALSE(w.bn_save->isEnabled());
    w.txt_agl->setText("3280.8");
    answers_ = {false};
    w.bn_applyClick();
    EXPECT_TRUE(w.Applied());
    EXPECT_DOUBLE_EQ(Observer.UtcOffset * 1440.0, 345.0);
    EXPECT_NEAR(Observer.Height, 1000.0, 1e-9);
    EXPECT_EQ(ReadFile(observerFile), stored);

    // A place applied with Yes becomes the default location.
    Options.Metric = 1;
    TfrLocWnd &again = Open();
    Pick("Sydney, AU");
    again.txt_agl->setText("x");
    again.bn_applyClick();
    EXPECT_EQ(messages_.back(), "Not a valid height: \"x\"");
    EXPECT_FALSE(again.Applied());
    again.txt_agl->setText("58");
    answers_ = {true};
    again.bn_applyClick();
    EXPECT_EQ(messages_.back(), "\"Sydney, AU\" is your default location");
    EXPECT_EQ(Observer.TimeZoneName.str(), "Australia/Sydney");
    EXPECT_DOUBLE_EQ(Observer.UtcOffset * 1440.0, 660.0);
    EXPECT_NEAR(RadToDeg(Observer.Latitude), -33.8678, 1e-12);
    ObserverRecord read{};
    ObserverFromBytes(ReadFile(observerFile), read);
    EXPECT_EQ(read.Name.str(), "Sydney, AU");
    EXPECT_EQ(read.Height, 58.0);
}

TEST_F(LocWndTest, SaveAndDeleteEditTheListAndOnlyThenWriteIt)
{
    const std::string full = DataDir + "Locations.dat", favourites = DataDir + "UserLocations.dat";
    const std::string fullBytes = ReadFile(full);
    const auto fullTime = std::filesystem::last_write_time(full);
    {
        TfrLocWnd &w = Open();
        w.bn_mainClick(true);
        w.bn_mainClick(false);
        Pick("Sydney, AU");
        w.bn_done->click();
    }
    EXPECT_EQ(ReadFile(full), fullBytes);
    EXPECT_EQ(std::filesystem::last_write_time(full), fullTime);
    EXPECT_FALSE(std::filesystem::exists(favourites));

    TfrLocWnd &w = Open();
    w.bn_mainClick(true);
    w.bn_newClick();
    EXPECT_FALSE(w.txt_loc->isReadOnly());
    EXPECT_FALSE(w.listbox_loc->isEnabled());
    w.txt_loc->setText(QString(31, u'x'));
    w.bn_saveClick();
    w.txt_loc->setText("  ");
    w.bn_saveClick();
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_TRUE(w.PlaceLines().empty());
    w.txt_loc->setText(QString::fromUtf8("Z\u00fcrich, CH"));
    w.txt_lat1->setText("47.3667");
    w.txt_lon1->setText("8.55");
    w.cb_timezone->setCurrentIndex(w.cb_timezone->findText("Europe/Zurich"));
    w.bn_saveClick();
    w.txt_loc->setText("Bern, CH");
    w.bn_newClick();
    w.bn_saveClick();
    ASSERT_EQ(w.listbox_loc->count(), 2);
    EXPECT_EQ(w.listbox_loc->item(1)->text(), QString::fromUtf8("Z\u00fcrich, CH"));

    // Modify replaces the entry, which moves to its sorted place.
    Pick(QString::fromUtf8("Z\u00fcrich, CH"));
    w.bn_modifyClick(true);
    EXPECT_TRUE(w.txt_loc->isReadOnly());
    w.txt_lat1->setText("47.5");
    w.bn_saveClick();
    ASSERT_EQ(w.PlaceLines().size(), 2u);
    EXPECT_EQ(SplitLocationLine(w.PlaceLines()[1]).latitude, "47.5");

    Pick("Bern, CH");
    answers_ = {true};
    w.bn_deleteClick();
    EXPECT_EQ(messages_.back(), "Delete entry \"Bern, CH\" Are you sure?");
    w.bn_deleteClick();
    EXPECT_EQ(messages_.back(), "No entry selected for deletion!");
    w.bn_done->click();
    EXPECT_EQ(ReadFile(favourites),
              FormatLocationLine({"Z\u00fcrich, CH", "47.5", "8.55", "Europe/Zurich"}) + "\n");
    EXPECT_EQ(ReadFile(full), fullBytes);
}

TEST_F(LocWndTest, AnUnreadableListIsKeptWhenAPlaceIsAddedAndLongZonesKeepTheWindowNarrow)
{
    WriteFile(DataDir + "Timezone.dat", "1, " + std::string(3000, 'Z') + "\n");
    // A folder in the file's place cannot be read, as a file without read
    // permission (which root reads all the same).
    const std::string favourites = DataDir + "UserLocations.dat";
    std::filesystem::create_directory(favourites);
    TfrLocWnd &w = Open();
    w.show();
    EXPECT_LT(w.width(), 1000);
    w.bn_mainClick(true);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_NE(messages_[0].find("UserLocations.dat\": Is a directory"), std::string::npos) << messages_[0];

    w.bn_newClick();
    w.txt_loc->setText("Bern, CH");
    w.txt_lat1->setText("46.95");
    w.txt_lon1->setText("7.45");
    w.bn_saveClick();
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_NE(messages_[1].find("could not be read, so no place can be saved"), std::string::npos);
    EXPECT_TRUE(w.PlaceLines().empty());
    w.bn_cancelClick();
    w.bn_done->click();
    EXPECT_TRUE(std::filesystem::is_directory(favourites));
}

} // namespace
