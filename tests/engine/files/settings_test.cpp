#include "engine/files/settings.h"

#include "engine/astronomy/astro_time.h"
#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace {

// Byte images built from the file layout, independent of the records.
class Image {
public:
    explicit Image(std::size_t size) : bytes_(size, '\0') {}

    void u32(std::size_t offset, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    void f64(std::size_t offset, double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            bytes_[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    void byte(std::size_t offset, unsigned char v) { bytes_[offset] = static_cast<char>(v); }
    void text(std::size_t offset, const std::string &s)
    {
        bytes_[offset] = static_cast<char>(s.size());
        s.copy(&bytes_[offset + 1], s.size());
    }
    const std::string &bytes() const { return bytes_; }

private:
    std::string bytes_;
};

constexpr unsigned char DefaultSwitchBytes[21] = {0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 1};

Image DefaultOptionsImage(const std::string &updateFolder)
{
    Image image(629);
    image.u32(0, 0xFFFFFFFF);
    image.u32(4, 0xFFFF8000);
    image.u32(8, 0xFFFFFF00);
    image.u32(12, 0xFF000000);
    image.u32(16, 0xFFFFFFFF);
    image.u32(20, 101);
    image.u32(24, 5);
    image.u32(28, 8);
    image.u32(32, 1);
    image.f64(40, 7.0);
    image.f64(48, 6.0);
    image.f64(56, 75.0);
    image.f64(64, std::numbers::pi);
    image.byte(72, 1);
    image.text(76, "Courier New");
    image.text(141, "Real_Color_x.jpg");
    image.text(336, updateFolder);
    for (int i = 0; i < 21; ++i)
        image.byte(592 + i, DefaultSwitchBytes[i]);
    image.f64(613, 0.5);
    image.f64(621, std::numbers::pi);
    return image;
}

std::vector<bool> SwitchList(const OptionsViewState &view)
{
    return std::vector<bool>(view.Switches.begin(), view.Switches.end());
}

} // namespace

using SettingsTest = ProgramFolderTest;

TEST_F(SettingsTest, HandBuiltOptionsFileLoadsToItsFields)
{
    std::filesystem::create_directory(root_ / "downloads");
    const std::string folder = ProgramDir + "downloads/";
    Image image(629);
    image.u32(0, 0xFF102030);
    image.u32(4, 0xFF405060);
    image.u32(8, 0xFF708090);
    image.u32(12, 0xFFA0B0C0);
    image.u32(16, 0x80D0E0F0);
    image.u32(20, 254);
    image.u32(24, 9);
    image.u32(28, 11);
    image.u32(32, 2);
    image.f64(40, 4.5);
    image.f64(48, 11.0);
    image.f64(56, 120.0);
    image.f64(64, 2.5);
    image.byte(72, 0);
    image.byte(73, 1);
    image.byte(74, 1);
    image.byte(75, 1);
    image.text(76, "DejaVu Sans Mono");
    image.text(141, "Night.jpg");
    image.text(206, "/home/me/iridium.txt");
    image.text(271, "/home/me/visual.tle");
    image.text(336, "downloads/"); // inside the program folder
    for (int i = 0; i < 21; ++i)
        image.byte(592 + i, i % 3 == 0 ? 1 : 0);
    image.f64(613, -0.25);
    image.f64(621, 1.75);
    WriteFile(DataDir + "Options.bin", image.bytes());

    OptionsViewState view{};
    ASSERT_TRUE(LoadOptions(view));
    EXPECT_EQ(Options.GridsColor, 0xFF102030u);
    EXPECT_EQ(Options.HomeColor, 0xFF405060u);
    EXPECT_EQ(Options.TrackColor, 0xFF708090u);
    EXPECT_EQ(Options.CityColor, 0xFFA0B0C0u);
    EXPECT_EQ(Options.SatColor, 0x80D0E0F0u);
    EXPECT_EQ(Options.ShadowAlpha, 254);
    EXPECT_EQ(Options.TrackHours, 9);
    EXPECT_EQ(Options.FontSize, 11);
    EXPECT_EQ(Options.ViewMode, ViewModeSky);
    EXPECT_EQ(Options.MaxMagnitude, 4.5);
    EXPECT_EQ(Options.StarMagnitude, 11.0);
    EXPECT_EQ(Options.SkyZoom, 120.0);
    EXPECT_EQ(Options.GlobeScale, 2.5);
    EXPECT_EQ(Options.Metric, 0);
    EXPECT_EQ(Options.UtcTime, 1);
    EXPECT_EQ(Options.AutoDownload, 1);
    EXPECT_EQ(Options.HighPrecision, 1);
    EXPECT_EQ(Options.FontName.str(), "DejaVu Sans Mono");
    EXPECT_EQ(Options.MapFile.str(), "Night.jpg");
    EXPECT_EQ(Options.IridiumFile.str(), "/home/me/iridium.txt");
    EXPECT_EQ(Options.SkySatFile.str(), "/home/me/visual.tle");
    EXPECT_EQ(Options.UpdateFolder.str(), folder);
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(view.Switches[i], i % 3 == 0) << i;
    EXPECT_EQ(view.CentreAlt, -0.25);
    EXPECT_EQ(view.CentreAz, 1.75);
    EXPECT_EQ(SkyFileMenuCaption(), "Satellite File = visual.tle");
    EXPECT_EQ(IridiumFileMenuCaption(), "Iridium File = iridium.txt");

    // Saving what was loaded gives the same 629 bytes back.
    ASSERT_TRUE(SaveOptions(view));
    EXPECT_EQ(ReadFile(DataDir + "Options.bin"), image.bytes());
}

TEST_F(SettingsTest, WithoutFileTheDefaultsStandAndNothingIsWritten)
{
    OptionsViewState view{};
    ASSERT_TRUE(LoadOptions(view));
    EXPECT_EQ(SwitchList(view), std::vector<bool>(std::begin(DefaultSwitchBytes), std::end(DefaultSwitchBytes)));
    EXPECT_EQ(view.CentreAlt, 0.5);
    EXPECT_EQ(view.CentreAz, std::numbers::pi);
    EXPECT_EQ(Options.UpdateFolder.str(), ProgramDir + "tle/");
    EXPECT_EQ(SkyFileMenuCaption(), "Satellite File = ");
    EXPECT_EQ(IridiumFileMenuCaption(), "Iridium File = ");
    EXPECT_TRUE(FolderEntries(DataDir).empty());

    // The defaults saved are exactly the layout's default image, the update
    // folder stored relative to the program folder.
    ASSERT_TRUE(SaveOptions(view));
    const std::string firstStart = ReadFile(DataDir + "Options.bin");
    EXPECT_EQ(firstStart, DefaultOptionsImage("tle/").bytes());
    EXPECT_EQ(FolderEntries(DataDir), std::vector<std::string>{"Options.bin"});

    // Settings that cannot be read stand in as exactly those of a first start.
    std::filesystem::remove(DataDir + "Options.bin");
    std::filesystem::create_directory(DataDir + "Options.bin");
    bool readWhole = true;
    EXPECT_FALSE(LoadOptions(view, nullptr, &readWhole));
    EXPECT_FALSE(readWhole);
    EXPECT_EQ(OptionsToBytes(Options, view), firstStart);

    // A copy of the program folder downloads into, opens its dialogs in and
    // builds its sets from its own files; a file outside stays where it is.
    std::filesystem::remove(DataDir + "Options.bin");
    ASSERT_TRUE(LoadOptions(view));
    Options.IridiumFile.assign(ProgramDir + "tle/iridium.txt");
    Options.SkySatFile.assign("/srv/elements/visual.tle");
    ASSERT_TRUE(SaveOptions(view));
    const std::filesystem::path copy = root_.string() + "-copy";
    std::filesystem::copy(root_, copy, std::filesystem::copy_options::recursive);
    SetProgramFolders(copy.string());
    EXPECT_TRUE(LoadOptions(view));
    EXPECT_EQ(Options.UpdateFolder.str(), copy.string() + "/tle/");
    EXPECT_EQ(Options.IridiumFile.str(), copy.string() + "/tle/iridium.txt");
    EXPECT_EQ(Options.SkySatFile.str(), "/srv/elements/visual.tle");
    EXPECT_TRUE(SaveOptions(view));
    EXPECT_EQ(ReadFile(DataDir + "Options.bin"), ReadFile((root_ / "data" / "Options.bin").string()));
    std::filesystem::remove_all(copy);
}

TEST_F(SettingsTest, DeletedUpdateFolderIsReplacedAndOthersKept)
{
    Image image = DefaultOptionsImage(ProgramDir + "gone/");
    image.u32(28, 14);
    WriteFile(DataDir + "options.BIN", image.bytes()); // any case
    OptionsViewState view{};
    ASSERT_TRUE(LoadOptions(view));
    EXPECT_EQ(Options.UpdateFolder.str(), ProgramDir + "tle/");
    EXPECT_EQ(Options.FontSize, 14);

    // File names are appended to the folder, so one stored without its
    // final separator gets it back rather than naming files beside it.
    std::filesystem::create_directory(root_ / "downloads");
    image.text(336, ProgramDir + "downloads");
    WriteFile(DataDir + "options.BIN", image.bytes());
    ASSERT_TRUE(LoadOptions(view));
    EXPECT_EQ(Options.UpdateFolder.str(), ProgramDir + "downloads/");
}

TEST_F(SettingsTest, ShortOrDamagedFileFallsBackFieldByField)
{
    // 60 bytes reach into SkyZoom (56..63) but not GlobeScale.
    Image image = DefaultOptionsImage(ProgramDir + "tle/");
    image.u32(20, 50);
    image.f64(48, 3.0);
    WriteFile(DataDir + "Options.bin", image.bytes().substr(0, 60));
    OptionsViewState view{};
    LoadOptions(view);
    EXPECT_EQ(Options.ShadowAlpha, 50);
    EXPECT_EQ(Options.StarMagnitude, 3.0);
    EXPECT_EQ(Options.SkyZoom, 75.0);
    EXPECT_EQ(Options.GlobeScale, std::numbers::pi);
    EXPECT_EQ(Options.Metric, 1);
    EXPECT_EQ(Options.FontName.str(), "Courier New");
    EXPECT_EQ(SwitchList(view), std::vector<bool>(21, false)); // switch bytes not covered read as off
    EXPECT_EQ(view.CentreAlt, 0.5);

    // Values no part of the program can use are replaced by their defaults.
    Image damaged = DefaultOptionsImage(ProgramDir + "tle/");
    damaged.f64(56, 0.0);
    damaged.f64(64, std::numeric_limits<double>::quiet_NaN());
    damaged.u32(32, 7);
    damaged.u32(20, 255);
    damaged.u32(24, 0x7FFFFFFF);
    damaged.byte(72, 2);
    damaged.byte(76, 200); // length beyond the field
    damaged.f64(621, std::numeric_limits<double>::infinity());
    damaged.text(141, "Blue.jpg");
    WriteFile(DataDir + "Options.bin", damaged.bytes());
    LoadOptions(view);
    EXPECT_EQ(Options.SkyZoom, 75.0);
    EXPECT_EQ(Options.GlobeScale, std::numbers::pi);
    EXPECT_EQ(Options.ViewMode, ViewModeMap);
    EXPECT_EQ(Options.ShadowAlpha, 101);
    EXPECT_EQ(Options.TrackHours, 5);
    EXPECT_EQ(Options.Metric, 1);
    EXPECT_EQ(Options.FontName.str(), "Courier New");
    EXPECT_EQ(Options.MapFile.str(), "Blue.jpg");
    EXPECT_EQ(view.CentreAz, std::numbers::pi);
}

TEST_F(SettingsTest, UpdateFolderTooLongForItsFieldIsNotCut)
{
    // A program folder whose "tle/" path cannot be stored in 255 characters.
    const std::string deep = root_.string() + "/" + std::string(120, 'p') + "/" + std::string(120, 'q');
    std::filesystem::create_directories(deep + "/data");
    SetProgramFolders(deep);
    OptionsViewState view{};
    std::string error;
    EXPECT_FALSE(LoadOptions(view, &error));
    EXPECT_EQ(Options.UpdateFolder.str(), "");
    EXPECT_NE(error.find("at most 255 characters"), std::string::npos);
}

namespace {

Image ObserverImage(const std::string &name, const std::string &zone, double lat, double lon, double height,
                    double utcOffset, double rhoCos, double rhoSin)
{
    Image image(216);
    image.text(0, name);
    image.text(65, zone);
    image.f64(136, lat);
    image.f64(144, lon);
    image.f64(152, height);
    image.f64(160, 1.0);
    image.f64(168, 2.0);
    image.f64(176, 3.0);
    image.f64(184, 4.0);
    image.f64(192, utcOffset);
    image.f64(200, rhoCos);
    image.f64(208, rhoSin);
    return image;
}

} // namespace

TEST_F(SettingsTest, HandBuiltObserverFileLoadsAsItStands)
{
    // Deliberately inconsistent geocentric terms: they are read back, not recomputed.
    const Image image = ObserverImage("Zürich", "Central European Time", 0.8267, 0.1490, 408.0, 1.0 / 24, 0.25, 0.75);
    WriteFile(DataDir + "Observer.bin", image.bytes());
    ASSERT_TRUE(LoadObserver());
    EXPECT_EQ(Observer.Name.str(), "Zürich");
    EXPECT_EQ(Observer.TimeZoneName.str(), "Central European Time");
    EXPECT_EQ(Observer.Latitude, 0.8267);
    EXPECT_EQ(Observer.Longitude, 0.1490);
    EXPECT_EQ(Observer.Height, 408.0);
    EXPECT_EQ(Observer.Eci.x, 1.0);
    EXPECT_EQ(Observer.Eci.w, 4.0);
    EXPECT_EQ(Observer.UtcOffset, 1.0 / 24);
    EXPECT_EQ(Observer.RhoCosPhi, 0.25);
    EXPECT_EQ(Observer.RhoSinPhi, 0.75);

    ASSERT_TRUE(SaveObserver());
    EXPECT_EQ(ReadFile(DataDir + "Observer.bin"), image.bytes());
}

TEST_F(SettingsTest, MissingObserverFileIsCreatedWithTheDefaults)
{
    Observer = ObserverRecord{};
    Observer.Eci = Vec4{1.0, 2.0, 3.0, 4.0};
    ASSERT_TRUE(LoadObserver());
    double rhoSin = 0.0, rhoCos = 0.0;
    CalcObserverRho(Angles3{0.933, -1.18, 2.0}, rhoSin, rhoCos);
    EXPECT_EQ(Observer.Name.str(), "Home");
    EXPECT_EQ(Observer.TimeZoneName.str(), "Greenwich (Coordinated Universal) Time");
    EXPECT_EQ(Observer.RhoSinPhi, rhoSin);
    EXPECT_EQ(Observer.RhoCosPhi, rhoCos);
    EXPECT_EQ(Observer.Eci.z, 3.0); // left as it was

    EXPECT_EQ(ReadFile(DataDir + "Observer.bin"),
              ObserverImage("Home", "Greenwich (Coordinated Universal) Time", 0.933, -1.18, 2.0, 0.0, rhoCos, rhoSin)
                  .bytes());
}

TEST_F(SettingsTest, ShortObserverFileComputesWhatItLacks)
{
    Image image = ObserverImage("Hill", "Zone", 0.5, 0.2, 900.0, 0.0, 0.25, 0.75);
    image.f64(136, std::numeric_limits<double>::quiet_NaN()); // damaged latitude
    WriteFile(DataDir + "Observer.bin", image.bytes().substr(0, 160));
    Observer.Eci = Vec4{9.0, 9.0, 9.0, 9.0};
    // The user hears which defaults stand in.
    std::string message;
    EXPECT_FALSE(LoadObserver(&message));
    EXPECT_NE(message.find("Observer.bin\" is damaged"), std::string::npos) << message;
    EXPECT_NE(message.find("latitude 53.457"), std::string::npos) << message;
    EXPECT_NE(message.find("UTC offset 0.0 h"), std::string::npos) << message;
    EXPECT_EQ(message.find("height"), std::string::npos) << message;
    EXPECT_EQ(Observer.Name.str(), "Hill");
    EXPECT_EQ(Observer.Latitude, 0.933);
    EXPECT_EQ(Observer.Longitude, 0.2);
    EXPECT_EQ(Observer.Height, 900.0);
    EXPECT_EQ(Observer.Eci.x, 9.0);
    double rhoSin = 0.0, rhoCos = 0.0;
    CalcObserverRho(Angles3{0.933, 0.2, 900.0}, rhoSin, rhoCos);
    EXPECT_EQ(Observer.RhoSinPhi, rhoSin);
    EXPECT_EQ(Observer.RhoCosPhi, rhoCos);
}

TEST_F(SettingsTest, DamagedObserverFieldsFallBackOneByOne)
{
    // Values a damaged file held: a height of 8e103 m, geocentric terms far
    // off the Earth, a name with control characters. Each takes its default,
    // the others stay, and the file is left as it is.
    Image image = ObserverImage("Hill", "Zone", 0.5, 0.2, 8e103, 0.0, 3e50, -0.5);
    image.text(0, std::string("H\x01ll"));
    WriteFile(DataDir + "Observer.bin", image.bytes());
    std::string message;
    EXPECT_FALSE(LoadObserver(&message));
    EXPECT_EQ(Observer.Name.str(), "Home");
    EXPECT_EQ(Observer.Height, 2.0);
    EXPECT_EQ(Observer.Latitude, 0.5);
    EXPECT_EQ(Observer.Longitude, 0.2);
    double rhoSin = 0.0, rhoCos = 0.0;
    CalcObserverRho(Angles3{0.5, 0.2, 2.0}, rhoSin, rhoCos);
    EXPECT_EQ(Observer.RhoCosPhi, rhoCos);
    EXPECT_EQ(Observer.RhoSinPhi, rhoSin);
    EXPECT_NE(message.find("name \"Home\", height 2 m."), std::string::npos) << message;
    EXPECT_EQ(ReadFile(DataDir + "Observer.bin"), image.bytes());

    // The height's limits are part of the range: 100 km and -500 m load.
    for (const double height : {100000.0, -500.0}) {
        WriteFile(DataDir + "Observer.bin", ObserverImage("Hill", "Zone", 0.5, 0.2, height, 0.0, 0.6, 0.7).bytes());
        EXPECT_TRUE(LoadObserver(&message)) << message;
        EXPECT_EQ(Observer.Height, height);
    }
}
