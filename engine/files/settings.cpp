#include "engine/files/settings.h"

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/text/text_format.h"

#include <cmath>
#include <numbers>

OptionsRecord Options{};
ObserverRecord Observer{};

namespace {

constexpr const char *OptionsFileName = "Options.bin";
constexpr const char *ObserverFileName = "Observer.bin";

// Where the view state follows the record in "Options.bin".
constexpr std::size_t SwitchesOffset = sizeof(OptionsRecord);
constexpr std::size_t CentreAltOffset = SwitchesOffset + DisplaySwitchCount;
constexpr std::size_t CentreAzOffset = CentreAltOffset + sizeof(double);
static_assert(SwitchesOffset == 592 && CentreAltOffset == 613 && CentreAzOffset == 621);
static_assert(CentreAzOffset + sizeof(double) == OptionsFileSize);

constexpr std::array<bool, DisplaySwitchCount> DefaultSwitches = {
    false, true, true, false, false, true, false, false, false, false, false,
    true, false, false, false, false, true, false, true, false, true};

// Copies each field of a record image whose bytes the file wholly covers and
// whose value passes its check into the target; every other field keeps
// what the target holds (its default).
template <class Record>
class FieldTaker {
public:
    FieldTaker(std::string_view bytes, Record &target) : target_(target), covered_(bytes.size())
    {
        if (!bytes.empty())
            std::memcpy(static_cast<void *>(&image_), bytes.data(), std::min(bytes.size(), sizeof(Record)));
    }

    template <class T, class Check>
    bool take(T Record::*field, Check valid)
    {
        const auto *base = reinterpret_cast<const char *>(&image_);
        const auto offset = static_cast<std::size_t>(reinterpret_cast<const char *>(&(image_.*field)) - base);
        if (covered_ < offset + sizeof(T) || !valid(image_.*field))
            return false;
        target_.*field = image_.*field;
        return true;
    }

    template <class T>
    bool take(T Record::*field)
    {
        return take(field, [](const T &) { return true; });
    }

private:
    Record image_{};
    Record &target_;
    std::size_t covered_;
};

bool IsFlag(std::uint8_t value) { return value <= 1; }

template <std::size_t N>
bool LengthValid(const ShortString<N> &text)
{
    return text.lengthValid();
}

// A text that can be shown: no control characters (bytes of 0x80 and more
// stay, for names in UTF-8).
template <std::size_t N>
bool PrintableText(const ShortString<N> &text)
{
    if (!text.lengthValid())
        return false;
    for (std::size_t i = 0; i < text.length; ++i) {
        const auto c = static_cast<unsigned char>(text.chars[i]);
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

// An observer's height in metres, and its geocentric terms in earth radii
// at the highest one allowed.
constexpr double LowestObserverHeight = -500.0;
constexpr double HighestObserverHeight = 100000.0;
constexpr double MaxRho = 1.0 + HighestObserverHeight / 6378137.0;

bool PositiveFinite(double value) { return std::isfinite(value) && value > 0.0; }

std::string TleFolderDefault() { return ProgramDir + "tle/"; }

// Paths to files of the program folder are stored relative to it, so a
// copied or moved program folder uses its own files and folders.
template <std::size_t N>
void StoreProgramPath(ShortString<N> &field)
{
    field.assign(RelativeToProgramFolder(field.str()));
}

void ComputeObserverRho(ObserverRecord &observer)
{
    const Angles3 site{observer.Latitude, observer.Longitude, observer.Height};
    CalcObserverRho(site, observer.RhoSinPhi, observer.RhoCosPhi);
}

} // namespace

std::string InProgramFolder(const std::string &path)
{
    return path.empty() || path.starts_with('/') ? path : ProgramDir + path;
}

std::string RelativeToProgramFolder(const std::string &path)
{
    if (ProgramDir.empty() || !path.starts_with(ProgramDir))
        return path;
    const std::string relative = path.substr(ProgramDir.size());
    // The program folder itself: "./" keeps it from reading as no path.
    return relative.empty() ? "./" : relative;
}

OptionsRecord DefaultOptions()
{
    OptionsRecord options{};
    options.GridsColor = 0xFFFFFFFFu;
    // Orange: the home marker, its name and circle stand out on the dark
    // map, its oceans and its night side.
    options.HomeColor = 0xFFFF8000u;
    options.TrackColor = 0xFFFFFF00u;
    options.CityColor = 0xFF000000u;
    options.SatColor = 0xFFFFFFFFu;
    options.ShadowAlpha = 101;
    options.TrackHours = 5;
    options.FontSize = 8;
    options.ViewMode = ViewModeMap;
    options.MaxMagnitude = 7.0;
    options.StarMagnitude = 6.0;
    options.SkyZoom = 75.0;
    options.GlobeScale = std::numbers::pi;
    options.Metric = 1;
    options.UtcTime = 0;
    options.AutoDownload = 0;
    options.HighPrecision = 0;
    options.FontName.assign("Courier New");
    // The real-colour world image the set-up makes beside the fallback
    // "default.jpg": a first start shows it without a word.
    options.MapFile.assign("Real_Color_x.jpg");
    // A program folder too long for the field leaves the folder empty; the
    // loader reports that instead of storing a cut path.
    options.UpdateFolder.assign(TleFolderDefault());
    return options;
}

OptionsViewState DefaultOptionsViewState()
{
    return OptionsViewState{DefaultSwitches, 0.5, std::numbers::pi};
}

void OptionsFromBytes(std::string_view bytes, OptionsRecord &options, OptionsViewState &view)
{
    options = DefaultOptions();
    view = DefaultOptionsViewState();

    FieldTaker<OptionsRecord> take(bytes, options);
    take.take(&OptionsRecord::GridsColor);
    take.take(&OptionsRecord::HomeColor);
    take.take(&OptionsRecord::TrackColor);
    take.take(&OptionsRecord::CityColor);
    take.take(&OptionsRecord::SatColor);
    take.take(&OptionsRecord::ShadowAlpha, [](std::int32_t v) { return v >= 0 && v <= 254; });
    // The options window offers 1..9 hours; the views size their track
    // buffers from this, so a damaged value must not reach them.
    take.take(&OptionsRecord::TrackHours, [](std::int32_t v) { return v >= 1 && v <= 9; });
    take.take(&OptionsRecord::FontSize, [](std::int32_t v) { return v >= 1 && v <= 255; });
    take.take(&OptionsRecord::ViewMode, [](std::int32_t v) { return v >= ViewModeMap && v <= ViewModeGlobe; });
    take.take(&OptionsRecord::MaxMagnitude, [](double v) { return std::isfinite(v); });
    take.take(&OptionsRecord::StarMagnitude, [](double v) { return v >= 0.0 && v <= 11.0; });
    take.take(&OptionsRecord::SkyZoom, PositiveFinite);
    take.take(&OptionsRecord::GlobeScale, PositiveFinite);
    take.take(&OptionsRecord::Metric, IsFlag);
    take.take(&OptionsRecord::UtcTime, IsFlag);
    take.take(&OptionsRecord::AutoDownload, IsFlag);
    take.take(&OptionsRecord::HighPrecision, IsFlag);
    take.take(&OptionsRecord::FontName, LengthValid<64>);
    take.take(&OptionsRecord::MapFile, LengthValid<64>);
    take.take(&OptionsRecord::IridiumFile, LengthValid<64>);
    take.take(&OptionsRecord::SkySatFile, LengthValid<64>);
    take.take(&OptionsRecord::UpdateFolder, LengthValid<255>);
    ReadProgramPath(options.IridiumFile);
    ReadProgramPath(options.SkySatFile);
    ReadProgramPath(options.UpdateFolder);

    for (std::size_t i = 0; i < DisplaySwitchCount; ++i)
        view.Switches[i] = SwitchesOffset + i < bytes.size() && bytes[SwitchesOffset + i] != 0;
    if (bytes.size() >= CentreAltOffset + sizeof(double)) {
        const double alt = GetLittleEndian<double>(bytes.data() + CentreAltOffset);
        if (std::isfinite(alt))
            view.CentreAlt = alt;
    }
    if (bytes.size() >= CentreAzOffset + sizeof(double)) {
        const double az = GetLittleEndian<double>(bytes.data() + CentreAzOffset);
        if (std::isfinite(az))
            view.CentreAz = az;
    }
}

std::string OptionsToBytes(const OptionsRecord &options, const OptionsViewState &view)
{
    OptionsRecord stored = options;
    StoreProgramPath(stored.IridiumFile);
    StoreProgramPath(stored.SkySatFile);
    StoreProgramPath(stored.UpdateFolder);
    std::string bytes;
    bytes.reserve(OptionsFileSize);
    AppendRecordBytes(bytes, stored);
    for (bool checked : view.Switches)
        bytes += checked ? '\1' : '\0';
    char value[sizeof(double)];
    PutLittleEndian(value, view.CentreAlt);
    bytes.append(value, sizeof value);
    PutLittleEndian(value, view.CentreAz);
    bytes.append(value, sizeof value);
    return bytes;
}

bool LoadOptions(OptionsViewState &view, std::string *error, bool *readWhole)
{
    std::string bytes, why;
    const ReadStatus status = ReadWholeFile(DataDir + OptionsFileName, bytes, &why, SmallFileLimit);
    // Settings that could not be read stand in as a first start has them.
    if (status == ReadStatus::Ok) {
        OptionsFromBytes(bytes, Options, view);
    } else {
        Options = DefaultOptions();
        view = DefaultOptionsViewState();
    }
    bool ok = status != ReadStatus::Failed;
    if (readWhole)
        *readWhole = ok;
    if (error)
        error->clear();
    if (!ok && error)
        *error = "The settings could not be read: " + why +
                 ". KYT uses the default settings and leaves the file as it is unless you change a setting.";

    // File names are appended to the folder directly, so it must end with
    // a separator; a folder read from the file may have been deleted since.
    const std::string folder = Options.UpdateFolder.str();
    if (FolderExists(folder) && !folder.ends_with('/'))
        Options.UpdateFolder.assign(folder + '/'); // a full field takes the default below
    if (!FolderExists(Options.UpdateFolder.str()) || !Options.UpdateFolder.str().ends_with('/')) {
        std::string message;
        if (!StoreShortText(Options.UpdateFolder, TleFolderDefault(), &message)) {
            Options.UpdateFolder.assign("");
            if (error)
                *error += (error->empty() ? "" : "\n") + message;
            ok = false;
        }
    }
    return ok;
}

bool SaveOptions(const OptionsViewState &view, std::string *error)
{
    return SaveFileAtomically(DataDir + OptionsFileName, OptionsToBytes(Options, view), error);
}

std::string SkyFileMenuCaption()
{
    return "Satellite File = " + FileNamePart(Options.SkySatFile.str());
}

std::string IridiumFileMenuCaption()
{
    return "Iridium File = " + FileNamePart(Options.IridiumFile.str());
}

ObserverRecord DefaultObserver(const Vec4 &eci)
{
    ObserverRecord observer{};
    observer.Name.assign("Home");
    observer.TimeZoneName.assign("Greenwich (Coordinated Universal) Time");
    observer.Latitude = 0.933;
    observer.Longitude = -1.18;
    observer.Height = 2.0;
    observer.Eci = eci;
    observer.UtcOffset = 0.0;
    ComputeObserverRho(observer);
    return observer;
}

std::vector<std::string> ObserverFromBytes(std::string_view bytes, ObserverRecord &observer)
{
    observer = DefaultObserver(observer.Eci);
    const ObserverRecord defaults = observer;
    FieldTaker<ObserverRecord> take(bytes, observer);
    std::vector<std::string> used;
    auto note = [&used](bool taken, std::string what) {
        if (!taken)
            used.push_back(std::move(what));
    };
    note(take.take(&ObserverRecord::Name, PrintableText<64>), "name \"" + defaults.Name.str() + "\"");
    note(take.take(&ObserverRecord::TimeZoneName, PrintableText<64>),
         "time zone \"" + defaults.TimeZoneName.str() + "\"");
    const bool latitude = take.take(&ObserverRecord::Latitude, [](double v) {
        return std::isfinite(v) && std::abs(v) <= std::numbers::pi / 2;
    });
    note(latitude, FormatReport("latitude %0:1.3f\u00b0", {RadToDeg(defaults.Latitude)}));
    note(take.take(&ObserverRecord::Longitude,
                   [](double v) { return std::isfinite(v) && std::abs(v) <= 2 * std::numbers::pi; }),
         FormatReport("longitude %0:1.3f\u00b0", {RadToDeg(defaults.Longitude)}));
    const bool height = take.take(&ObserverRecord::Height, [](double v) {
        return std::isfinite(v) && v >= LowestObserverHeight && v <= HighestObserverHeight;
    });
    note(height, FormatReport("height %0:1.0f m", {defaults.Height}));
    take.take(&ObserverRecord::Eci);
    note(take.take(&ObserverRecord::UtcOffset, [](double v) { return std::isfinite(v) && std::abs(v) <= 1.0; }),
         FormatReport("UTC offset %0:1.1f h", {defaults.UtcOffset * 24.0}));
    // The stored terms stand only for the stored position; in earth radii
    // they lie within the heights allowed.
    const bool rhoCos = take.take(&ObserverRecord::RhoCosPhi, [](double v) { return v >= 0.0 && v <= MaxRho; });
    const bool rhoSin = take.take(&ObserverRecord::RhoSinPhi, [](double v) { return std::abs(v) <= MaxRho; });
    if (!(latitude && height && rhoCos && rhoSin))
        ComputeObserverRho(observer);
    return used;
}

bool LoadObserver(std::string *error)
{
    const std::string path = DataDir + ObserverFileName;
    std::string bytes;
    std::vector<std::string> defaultsUsed;
    switch (ReadWholeFile(path, bytes, error, SmallFileLimit)) {
    case ReadStatus::Ok:
        defaultsUsed = ObserverFromBytes(bytes, Observer);
        break;
    case ReadStatus::Missing:
        Observer = DefaultObserver(Observer.Eci);
        return SaveObserver(error);
    case ReadStatus::Failed:
        ObserverFromBytes(bytes, Observer);
        return false;
    }
    if (defaultsUsed.empty())
        return true;
    if (error) {
        std::string list;
        for (const std::string &item : defaultsUsed)
            list += (list.empty() ? "" : ", ") + item;
        *error = "The observer file \"" + ResolvePath(path) + "\" is damaged; these defaults were used: " + list + ".";
    }
    return false;
}

bool SaveObserver(std::string *error)
{
    std::string bytes;
    AppendRecordBytes(bytes, Observer);
    return SaveFileAtomically(DataDir + ObserverFileName, bytes, error);
}
