// Start-ups on a program folder with one damaged, unreadable or missing
// file: the user is told once, nothing is drawn from garbage, and a file
// that could not be read is still byte for byte what it was after the close.
#include "main_window_fixture.h"

#include "engine/files/main_set.h"
#include "engine/random_bytes.h"
#include "engine/satellite_test_support.h"
#include "views/sky_view.h"
#include "views/view_setup.h"

#include <QComboBox>

namespace {

std::string SatelliteImage(const std::string &name)
{
    TleRecord record = MakeSatellite(IssLine1, IssLine2);
    record.Name.assign(name);
    record.Number.assign("25544");
    record.Selected = 1;
    std::string bytes;
    AppendRecordBytes(bytes, record);
    return bytes;
}

class DamagedFilesTest : public MainWindowTest {
protected:
    void Write(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    // Whether one of the messages shown holds every one of the texts.
    bool Told(std::initializer_list<std::string> texts)
    {
        for (const ShownMessage &message : Messages()) {
            bool all = true;
            for (const std::string &text : texts)
                all = all && message.text.find(text) != std::string::npos;
            if (all)
                return true;
        }
        return false;
    }
};

} // namespace

TEST_F(DamagedFilesTest, MainSetThatCouldNotBeReadIsToldAndLeftAsItWas)
{
    const std::string path = DataFile("MainSat.bin");
    Write(path, std::string(100, '\x7f'));
    Start();
    EXPECT_EQ(window_->cb_sat1->count(), 0);
    EXPECT_TRUE(Told({path, "damaged: 100 bytes is not a whole number of records"}));
    EXPECT_EQ(Messages().size(), 1u);
    Close();
    EXPECT_EQ(ReadFile(path), std::string(100, '\x7f'));

    // A folder in the file's place cannot be read either.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    messages_.clear();
    Start();
    EXPECT_TRUE(Told({path, "Is a directory"}));
    Close();
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(DamagedFilesTest, RecordsWithoutASatelliteAreDroppedAndTheFileKeptUntilTheSetChanges)
{
    const std::string path = DataFile("MainSat.bin");
    const std::string stored = SatelliteImage("REAL") + RandomBytes(2 * sizeof(TleRecord), 3);
    Write(path, stored);
    Start();
    ASSERT_EQ(window_->cb_sat1->count(), 1);
    EXPECT_EQ(window_->cb_sat1->itemText(0), "REAL");
    EXPECT_TRUE(Told({path, "2 records of 3 held no satellite and were dropped"}));
    Close();
    EXPECT_EQ(ReadFile(path), stored);

    // Once the user changed the set it is the user's, and it is saved.
    Start();
    MainSetChanged();
    Close();
    EXPECT_EQ(ReadFile(path), SatelliteImage("REAL"));
}

TEST_F(DamagedFilesTest, DamagedStarFileIsToldAndOnlyItsDrawableRecordsKept)
{
    for (const char *file : {"data/starname.bin", "data/Constellations.bin"})
        LinkSetUpFile(file);
    Write(DataFile("Stars.bin"), RandomBytes(1000 * sizeof(StarRecord), 5));
    Start();
    SwitchView(&TfrMainWnd::menu_skyClick);
    EXPECT_TRUE(Told({"Stars.bin", " of 1000 records were skipped"}));
    EXPECT_LT(StarStreams.Stars.size(), 1000u);
    EXPECT_FALSE(StarStreams.Lines.empty());

    // A star file that never ends is refused, and the view commands work on.
    std::filesystem::remove(DataFile("Stars.bin"));
    std::filesystem::create_symlink("/dev/zero", DataFile("Stars.bin"));
    SwitchView(&TfrMainWnd::menu_skyClick);
    EXPECT_TRUE(Told({"Stars.bin", "too large"}));
    SwitchView(&TfrMainWnd::menu_mapClick);
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
}

TEST_F(DamagedFilesTest, SettingsThatCouldNotBeReadAreKeptWithTheSetsTheyNameUntilChangedAtEveryScreenSize)
{
    const std::string iridium = DataFile("IridSat.bin");
    Write(iridium, SatelliteImage("IRIDIUM 7"));
    const std::string path = DataFile("Options.bin");
    // A folder in the file's place cannot be read (as a file without read
    // permission, which root reads all the same).
    std::filesystem::create_directory(path);
    Start();
    EXPECT_TRUE(Told({path, "Is a directory", "KYT uses the default settings and leaves the file as it is"}));
    Close();
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(ReadFile(iridium), SatelliteImage("IRIDIUM 7"));

    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/zero", path);
    messages_.clear();
    Start();
    EXPECT_TRUE(Told({path, "too large"}));
    Close();
    EXPECT_TRUE(std::filesystem::is_symlink(path));

    // Once the user changed a setting, the settings are the user's and saved.
    Start();
    SwitchView(&TfrMainWnd::menu_globeClick);
    Close();
    EXPECT_EQ(std::filesystem::file_size(path), OptionsFileSize);
    EXPECT_EQ(ReadFile(iridium), SatelliteImage("IRIDIUM 7"));
}

TEST_F(DamagedFilesTest, DamagedObserverFileIsToldWithTheDefaultsUsed)
{
    const std::string path = DataFile("Observer.bin");
    const std::string stored = RandomBytes(sizeof(ObserverRecord), 11);
    Write(path, stored);
    Start();
    EXPECT_TRUE(Told({path, "is damaged; these defaults were used: ", "height 2 m"}));
    EXPECT_GE(Observer.Height, -500.0);
    EXPECT_LE(Observer.Height, 100000.0);
    // The data fields show the Sun at a distance of about 1 AU, not 1e103 km.
    EXPECT_LT(std::abs(Observer.RhoCosPhi), 1.1);
    EXPECT_LT(std::abs(Observer.RhoSinPhi), 1.1);
    Close();
    EXPECT_EQ(ReadFile(path), stored);
}

TEST_F(DamagedFilesTest, MissingWorldImageIsToldAndTheMapIsAnOcean)
{
    std::filesystem::remove(root_ / "map" / "Real_Color_x.jpg");
    std::filesystem::remove(root_ / "map" / "default.jpg");
    Start();
    EXPECT_TRUE(Told({ProgramFolder() + "map/Real_Color_x.jpg", ProgramFolder() + "map/default.jpg"}));
    EXPECT_EQ(Messages().size(), 1u);
    // Day or night side, the picture is blue where no place, track or grid is.
    const QImage &picture = ViewBitmap();
    for (const double fraction : {0.1, 0.3, 0.5, 0.7, 0.9}) {
        const QRgb pixel = picture.pixel(static_cast<int>(picture.width() * fraction), picture.height() - 3);
        EXPECT_GT(qBlue(pixel), 40) << fraction;
        EXPECT_GT(qBlue(pixel), qRed(pixel)) << fraction;
    }
}
