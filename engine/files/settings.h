// The settings file "Options.bin" and the observer file "Observer.bin" in the
// data folder, and the two global records they hold for the whole run.
#pragma once

#include "engine/files/data_files.h"
#include "satellite.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// OptionsRecord.ViewMode values.
constexpr std::int32_t ViewModeMap = 1;
constexpr std::int32_t ViewModeSky = 2;
constexpr std::int32_t ViewModeGlobe = 3;

struct OptionsRecord {
    std::uint32_t GridsColor;    // ARGB of grid lines and their labels
    std::uint32_t HomeColor;     // observer marker and location circle
    std::uint32_t TrackColor;    // ground track
    std::uint32_t CityColor;     // map places
    std::uint32_t SatColor;      // satellite labels and visibility circles
    std::int32_t ShadowAlpha;    // alpha of the night side, 0..254
    std::int32_t TrackHours;     // ground-track length in hours
    std::int32_t FontSize;       // font size of the views
    std::int32_t ViewMode;       // ViewModeMap, ViewModeSky or ViewModeGlobe
    std::uint8_t Padding0[4];
    double MaxMagnitude;         // faintest sky-set satellite drawn
    double StarMagnitude;        // star magnitude limit, 0..11
    double SkyZoom;              // sky scale = image height / SkyZoom
    double GlobeScale;           // globe radius = image height / GlobeScale
    std::uint8_t Metric;         // 1 kilometres, 0 miles
    std::uint8_t UtcTime;        // 1 show times in UTC
    std::uint8_t AutoDownload;   // 1 start the automatic download at start-up
    std::uint8_t HighPrecision;  // 1 Sun and Moon tables with seconds
    ShortString<64> FontName;
    ShortString<64> MapFile;     // world image in the "map/" folder
    ShortString<64> IridiumFile; // element text that "IridSat.bin" is built from
    ShortString<64> SkySatFile;  // element text that "SkySat.bin" is built from
    ShortString<255> UpdateFolder; // downloaded ".tle" files; ends with '/'
};
static_assert(sizeof(OptionsRecord) == 592);
static_assert(offsetof(OptionsRecord, GridsColor) == 0);
static_assert(offsetof(OptionsRecord, HomeColor) == 4);
static_assert(offsetof(OptionsRecord, TrackColor) == 8);
static_assert(offsetof(OptionsRecord, CityColor) == 12);
static_assert(offsetof(OptionsRecord, SatColor) == 16);
static_assert(offsetof(OptionsRecord, ShadowAlpha) == 20);
static_assert(offsetof(OptionsRecord, TrackHours) == 24);
static_assert(offsetof(OptionsRecord, FontSize) == 28);
static_assert(offsetof(OptionsRecord, ViewMode) == 32);
static_assert(offsetof(OptionsRecord, Padding0) == 36);
static_assert(offsetof(OptionsRecord, MaxMagnitude) == 40);
static_assert(offsetof(OptionsRecord, StarMagnitude) == 48);
static_assert(offsetof(OptionsRecord, SkyZoom) == 56);
static_assert(offsetof(OptionsRecord, GlobeScale) == 64);
static_assert(offsetof(OptionsRecord, Metric) == 72);
static_assert(offsetof(OptionsRecord, UtcTime) == 73);
static_assert(offsetof(OptionsRecord, AutoDownload) == 74);
static_assert(offsetof(OptionsRecord, HighPrecision) == 75);
static_assert(offsetof(OptionsRecord, FontName) == 76);
static_assert(offsetof(OptionsRecord, MapFile) == 141);
static_assert(offsetof(OptionsRecord, IridiumFile) == 206);
static_assert(offsetof(OptionsRecord, SkySatFile) == 271);
static_assert(offsetof(OptionsRecord, UpdateFolder) == 336);

// The main window's display switches stored in "Options.bin", in file order.
enum DisplaySwitch {
    SwitchDisplayNumber,         // "Satellite Number"
    SwitchTracks,                // "Satellite Ground track"
    SwitchSatVis,                // "Satellite Visibility Circle"
    SwitchStarToHorizon,         // "Star to Horizon"
    SwitchShowSkySat,            // "Show Satellites"
    SwitchOrientationNormal,     // "Uninverted"
    SwitchOrientationInverted,   // "Inverted"
    SwitchOrientationMirrorEW,   // "Mirror(E_W)"
    SwitchOrientationMirrorNS,   // "Mirror(N_S)"
    SwitchSkyFixSatellite,       // "Fixed Satellite"
    SwitchSkyRaDec,              // "Ra/Dec"
    SwitchSkyAltAz,              // "Alt/Az"
    SwitchSkyFixRaDec,           // "Fixed Ra/Dec"
    SwitchSkyFixAltAz,           // "Fixed Alt/Az"
    SwitchShowSatelliteMag,      // "Show Satellite Magnitude"
    SwitchStarNames,             // "Star Names"
    SwitchConstellations,        // "Constellations"
    SwitchConstellationNames,    // "Constellation Names"
    SwitchShowLabel,             // "Show Satellite Label"
    SwitchGrids,                 // "Map Grids"
    SwitchLocVis,                // "Location Visibility Circle"
    DisplaySwitchCount
};

// The part of "Options.bin" that lives outside Options: the checked states of
// the display switches (menu items of the main window) and the centre of the
// main view's sky. The main window applies it after LoadOptions and fills it
// before SaveOptions.
struct OptionsViewState {
    std::array<bool, DisplaySwitchCount> Switches;
    double CentreAlt; // rad
    double CentreAz;  // rad
};

constexpr std::size_t OptionsFileSize = 629;

struct ObserverRecord {
    ShortString<64> Name;
    ShortString<64> TimeZoneName; // as listed in "Timezone.dat"
    std::uint8_t Padding0[6];
    double Latitude;  // geodetic, rad, north positive
    double Longitude; // rad, east positive
    double Height;    // metres above sea level
    Vec4 Eci;         // inertial position (km) at the last sidereal update
    double UtcOffset; // local time minus UTC, days
    double RhoCosPhi; // earth radii
    double RhoSinPhi; // earth radii
};
static_assert(sizeof(ObserverRecord) == 216);
static_assert(offsetof(ObserverRecord, Name) == 0);
static_assert(offsetof(ObserverRecord, TimeZoneName) == 65);
static_assert(offsetof(ObserverRecord, Padding0) == 130);
static_assert(offsetof(ObserverRecord, Latitude) == 136);
static_assert(offsetof(ObserverRecord, Longitude) == 144);
static_assert(offsetof(ObserverRecord, Height) == 152);
static_assert(offsetof(ObserverRecord, Eci) == 160);
static_assert(offsetof(ObserverRecord, UtcOffset) == 192);
static_assert(offsetof(ObserverRecord, RhoCosPhi) == 200);
static_assert(offsetof(ObserverRecord, RhoSinPhi) == 208);

extern OptionsRecord Options;
extern ObserverRecord Observer;

// Settings of a first start; the update folder is ProgramDir + "tle/".
OptionsRecord DefaultOptions();
OptionsViewState DefaultOptionsViewState();

// The settings held in an "Options.bin" image. Every field the bytes do not
// wholly cover, or that holds a value the program cannot use (a zero or
// non-finite scale divisor, a view mode other than 1..3, a flag other than
// 0/1, a string length beyond its field), takes its default; switch bytes
// not covered read as unchecked. Relative paths of files and folders name
// them in the running program folder.
void OptionsFromBytes(std::string_view bytes, OptionsRecord &options, OptionsViewState &view);
// The file a path of the settings names: a relative one (stored so
// by an older run, or too long for its field once joined) names a file of
// the running program folder.
std::string InProgramFolder(const std::string &path);
// A path inside the program folder relative to it ("./" for the folder
// itself), so that it names the same file wherever the folder is copied or
// moved; any other path as it is.
std::string RelativeToProgramFolder(const std::string &path);
// A path of a settings field as this run reads it: in full where that fits
// the field; a relative one that does not fit stays relative.
template <std::size_t N>
void ReadProgramPath(ShortString<N> &field)
{
    field.assign(InProgramFolder(field.str()));
}
// Stores a path the user chose in a settings field as loading the settings
// gives it back, so a file of the program folder fits however long the
// folder's own path is. False, with the field unchanged and the message,
// when the path does not fit even relative to the folder.
template <std::size_t N>
bool StoreChosenPath(ShortString<N> &field, const std::string &path, std::string *message = nullptr)
{
    ShortString<N> stored;
    if (!StoreShortText(stored, RelativeToProgramFolder(path), message))
        return false;
    ReadProgramPath(stored);
    field = stored;
    return true;
}
// The 629-byte "Options.bin" image; paths inside the program folder are
// stored relative to it.
std::string OptionsToBytes(const OptionsRecord &options, const OptionsViewState &view);

// Fills Options and view from DataDir + "Options.bin", or from the defaults
// when there is none (nothing is written then). Last, an update folder
// without its final '/' gets one, and one that does not exist becomes
// ProgramDir + "tle/". False with a message when the file exists but cannot
// be read (or is too large), or when the program folder is too long for the
// update folder's field; the settings of a first start then stand in for
// what could not be read. *readWhole tells the first case apart: false when
// the file holds settings this run could not read, which writing Options
// over it would lose.
bool LoadOptions(OptionsViewState &view, std::string *error = nullptr, bool *readWhole = nullptr);
// Writes Options and view to DataDir + "Options.bin".
bool SaveOptions(const OptionsViewState &view, std::string *error = nullptr);

// The captions of the sky-set and Iridium-set menu items for Options.
std::string SkyFileMenuCaption();
std::string IridiumFileMenuCaption();

// The observer of a first start with its geocentric terms; Eci as given.
ObserverRecord DefaultObserver(const Vec4 &eci);

// The observer held in an "Observer.bin" image, field by field as
// OptionsFromBytes: each field the bytes cover with a value in its range
// (height -500 m to 100 km, latitude, longitude, offset of at most a day,
// printable texts) is taken, every other one keeps its default; geocentric
// terms the bytes do not supply (or that belong to a position they do not
// supply) are computed. Eci keeps observer's value where the bytes do not
// cover it. Returns the defaults used, as text for the user (empty when
// every field was taken).
std::vector<std::string> ObserverFromBytes(std::string_view bytes, ObserverRecord &observer);

// Fills Observer from DataDir + "Observer.bin"; when there is none, sets the
// defaults and writes the file at once. False with a message when the file
// cannot be read or written, or when it is damaged (the message then names
// the defaults used; the file itself is left as it is).
bool LoadObserver(std::string *error = nullptr);
// Writes Observer to DataDir + "Observer.bin".
bool SaveObserver(std::string *error = nullptr);
