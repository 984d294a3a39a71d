#include "engine/astronomy/de_reader.h"

#include "engine/astronomy/constants.h"
#include "engine/files/data_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace {

// Layout of the first header record: three 84-character title lines and 400
// six-character constant names, then one block of numbers.
constexpr std::size_t kHeaderBlockOffset = 3 * 84 + 400 * 6;
constexpr std::size_t kHeaderBlockSize = 204;
static_assert(kHeaderBlockOffset == 2652);

// Coefficient series of a record: 11 bodies, nutations, librations.
constexpr int kSeriesCount = 13;
constexpr int kBodySeries = 11;
constexpr int kNutationSeries = 11;  // 0-based row; the only two-component series
constexpr int kMoonSeries = kDEMoon - 1;
constexpr int kEarthMoonSeries = 2;  // JPL's row 3 holds the Earth-Moon barycentre

// Polynomial values kept per thread; no series of a DE file needs more.
constexpr int kMaxCoefficients = 18;

// A date exactly at the end of the file lies at the end of its last record.
constexpr double kLastFraction = 0.9999999999999999;

struct SeriesLayout {
    std::int32_t first;         // first coefficient, counting doubles from 1
    std::int32_t coefficients;  // per component
    std::int32_t subIntervals;
};

struct DEFile {
    double start = 0, end = 0, span = 0;
    double emrat = 0;
    std::array<SeriesLayout, kSeriesCount> series{};
    int ncoeff = 0;   // doubles per record
    long records = 0;
    std::vector<double> data;  // every data record, in this machine's byte order

    const double *Record(long k) const { return data.data() + static_cast<std::size_t>(k) * ncoeff; }
};

// The Chebyshev polynomial values last computed on this thread; bodies that
// share a sub-interval count share the normalised time and reuse them.
struct ChebyshevCache {
    double pc[kMaxCoefficients] = {1.0, 0.0};
    int np = 2;
};
thread_local ChebyshevCache t_chebyshev;

using Vec3 = std::array<double, 3>;
using BodyFlags = std::array<bool, kBodySeries>;
using BodyStates = std::array<Vec3, kBodySeries>;

std::mutex g_fileMutex;
std::shared_ptr<const DEFile> g_file;

std::shared_ptr<const DEFile> LoadedFile()
{
    std::lock_guard lock(g_fileMutex);
    return g_file;
}

void SetLoadedFile(std::shared_ptr<const DEFile> file)
{
    std::lock_guard lock(g_fileMutex);
    g_file = std::move(file);
}

void SwapBytes(unsigned char *bytes, std::size_t count) { std::reverse(bytes, bytes + count); }

template <class T> T ReadValue(const unsigned char *at, bool swap)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, at, sizeof(T));
    if (swap)
        SwapBytes(bytes, sizeof(T));
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

int ComponentCount(int series) { return series == kNutationSeries ? 2 : 3; }

// Reads and checks the header block; fills everything but the records.
bool ParseHeader(std::span<const unsigned char> bytes, DEFile &file, bool &swap)
{
    if (bytes.size() < kHeaderBlockOffset + kHeaderBlockSize)
        return false;
    const unsigned char *block = bytes.data() + kHeaderBlockOffset;
    // The number of constants is small; read in the wrong byte order it is huge.
    swap = ReadValue<std::uint32_t>(block + 24, false) >= 65537;
    file.start = ReadValue<double>(block, swap);
    file.end = ReadValue<double>(block + 8, swap);
    file.span = ReadValue<double>(block + 16, swap);
    file.emrat = ReadValue<double>(block + 36, swap);
    if (!(file.emrat >= 81.30055 && file.emrat <= 81.3008))
        return false;
    if (!std::isfinite(file.start) || !std::isfinite(file.end) || !(file.span > 0) ||
        !(file.end > file.start))
        return false;

    // Rows 1-12 follow EMRAT; the DE number separates them from the librations.
    for (int row = 0; row < kSeriesCount; ++row) {
        const unsigned char *at = block + 44 + 12 * row + (row == 12 ? 4 : 0);
        file.series[row] = {ReadValue<std::int32_t>(at, swap), ReadValue<std::int32_t>(at + 4, swap),
                            ReadValue<std::int32_t>(at + 8, swap)};
    }
    // Every series must lie inside the record it describes, or evaluation
    // would read beyond it.
    long long ncoeff = 2;
    for (int row = 0; row < kSeriesCount; ++row) {
        const SeriesLayout &s = file.series[row];
        if (s.first < 0 || s.coefficients < 0 || s.subIntervals < 0 || s.coefficients > 1000 ||
            s.subIntervals > 1000)
            return false;
        ncoeff += static_cast<long long>(s.coefficients) * s.subIntervals * ComponentCount(row);
    }
    for (int row = 0; row < kSeriesCount; ++row) {
        const SeriesLayout &s = file.series[row];
        const long long size = static_cast<long long>(s.coefficients) * s.subIntervals * ComponentCount(row);
        if (size > 0 && (s.first < 3 || s.first - 1 + size > ncoeff))
            return false;
    }
    file.ncoeff = static_cast<int>(ncoeff);
    return true;
}

// Decodes the data records the header promises; refuses a file that is
// shorter than that or whose records do not follow one another span by span.
bool ReadRecords(std::span<const unsigned char> bytes, bool swap, DEFile &file)
{
    const double count = (file.end - file.start) / file.span;
    const std::size_t recordBytes = 8 * static_cast<std::size_t>(file.ncoeff);
    const double available = static_cast<double>(bytes.size() / recordBytes) - 2;
    if (!(count >= 0.5 && count <= available + 0.5))
        return false;
    file.records = std::lround(count);
    if (std::fabs(count - static_cast<double>(file.records)) > 1e-6)
        return false;

    file.data.resize(static_cast<std::size_t>(file.records) * file.ncoeff);
    const unsigned char *at = bytes.data() + 2 * recordBytes;
    for (double &value : file.data) {
        value = ReadValue<double>(at, swap);
        at += 8;
    }
    for (long k = 0; k < file.records; ++k) {
        const double *record = file.Record(k);
        if (std::fabs(record[0] - (file.start + k * file.span)) > 1e-6 ||
            std::fabs(record[1] - (file.start + (k + 1) * file.span)) > 1e-6)
            return false;
    }
    return true;
}

std::shared_ptr<const DEFile> ReadDEFile(const std::string &path, std::string *error)
{
    // Resolved like every data file, so "de_files/1957_2050.423" is found
    // whatever the case of its folder and name on disk.
    std::string text;
    if (ReadWholeFile(path, text, error, EphemerisLimit) != ReadStatus::Ok)
        return nullptr;
    const std::span bytes(reinterpret_cast<const unsigned char *>(text.data()), text.size());
    auto file = std::make_shared<DEFile>();
    bool swap = false;
    if (!ParseHeader(bytes, *file, swap) || !ReadRecords(bytes, swap, *file)) {
        if (error)
            *error = "\"" + path + "\" is damaged: cut short, or not a DE ephemeris file";
        return nullptr;
    }
    return file;
}

bool CanEvaluate(const SeriesLayout &s)
{
    const bool knownSplit = s.subIntervals == 1 || s.subIntervals == 2 || s.subIntervals == 4 || s.subIntervals == 8;
    return knownSplit && s.coefficients >= 1 && s.coefficients <= kMaxCoefficients;
}

// Chebyshev interpolation of one body's position in its record at fraction f.
Vec3 DEInterpolate(const double *record, const SeriesLayout &s, double f)
{
    const double scaled = s.subIntervals * f;
    const int sub = std::min(static_cast<int>(scaled), s.subIntervals - 1);
    const double tc = 2.0 * (scaled - sub) - 1.0;

    ChebyshevCache &cache = t_chebyshev;
    if (tc != cache.pc[1]) {
        cache.np = 2;
        cache.pc[1] = tc;
    }
    for (int i = cache.np; i < s.coefficients; ++i)
        cache.pc[i] = 2.0 * tc * cache.pc[i - 1] - cache.pc[i - 2];
    cache.np = std::max(cache.np, s.coefficients);

    const double *coefficients = record + (s.first - 1) + static_cast<std::size_t>(sub) * s.coefficients * 3;
    Vec3 position{};
    for (int component = 0; component < 3; ++component) {
        const double *c = coefficients + component * s.coefficients;
        double sum = 0.0;
        for (int j = s.coefficients - 1; j >= 0; --j)
            sum += cache.pc[j] * c[j];
        position[component] = sum;
    }
    return position;
}

// Barycentric positions (km) of the flagged bodies at jd. False when the date
// lies outside the file or a flagged body cannot be evaluated.
bool DEState(const DEFile &file, double jd, const BodyFlags &wanted, BodyStates &states)
{
    if (!(jd >= file.start && jd <= file.end))
        return false;
    for (int body = 0; body < kBodySeries; ++body)
        if (wanted[body] && !CanEvaluate(file.series[body]))
            return false;

    const double x = (jd - file.start) / file.span;
    long k = static_cast<long>(x);
    double f = x - static_cast<double>(k);
    if (k >= file.records) {
        k = file.records - 1;
        f = kLastFraction;
    }
    const double *record = file.Record(k);
    // Bodies sharing a sub-interval count share the normalised time.
    for (int split : {1, 2, 4, 8})
        for (int body = 0; body < kBodySeries; ++body)
            if (wanted[body] && file.series[body].subIntervals == split)
                states[body] = DEInterpolate(record, file.series[body], f);
    return true;
}

bool IsPositionCode(int code) { return code >= kDEMercury && code <= kDEEarthMoonBarycentre; }

// Marks the series a body's position is built from.
void AddNeeds(int code, BodyFlags &wanted)
{
    switch (code) {
    case kDESolarSystemBarycentre:
        break;
    case kDEEarthMoonBarycentre:
        wanted[kEarthMoonSeries] = true;
        break;
    case kDEEarth:
    case kDEMoon:
        wanted[kEarthMoonSeries] = true;
        wanted[kMoonSeries] = true;
        break;
    default:
        wanted[code - 1] = true;
    }
}

// A body's barycentric position from the evaluated series: the file holds the
// Earth-Moon barycentre and the geocentric Moon.
Vec3 BodyPosition(int code, const BodyStates &states, double emrat)
{
    const Vec3 &barycentre = states[kEarthMoonSeries];
    const Vec3 &moon = states[kMoonSeries];
    Vec3 result{};
    for (int i = 0; i < 3; ++i) {
        const double earth = barycentre[i] - moon[i] / (1.0 + emrat);
        switch (code) {
        case kDESolarSystemBarycentre: result[i] = 0.0; break;
        case kDEEarthMoonBarycentre: result[i] = barycentre[i]; break;
        case kDEEarth: result[i] = earth; break;
        case kDEMoon: result[i] = earth + moon[i]; break;
        default: result[i] = states[code - 1][i];
        }
    }
    return result;
}

double Length(const Vec3 &v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// Target minus centre in km, the target seen where it was when its light left.
bool DEPleph(const DEFile &file, int target, int centre, double jd, Vec3 &position)
{
    BodyFlags wanted{};
    AddNeeds(target, wanted);
    AddNeeds(centre, wanted);
    BodyStates states{};
    if (!DEState(file, jd, wanted, states))
        return false;
    const Vec3 centrePosition = BodyPosition(centre, states, file.emrat);
    Vec3 targetPosition = BodyPosition(target, states, file.emrat);
    for (int i = 0; i < 3; ++i)
        position[i] = targetPosition[i] - centrePosition[i];

    if (target == kDESun || target == kDESolarSystemBarycentre || target == kDEEarthMoonBarycentre)
        return true;
    const double lightTime = Length(position) / SpeedOfLightKmPerDay;
    BodyFlags targetOnly{};
    AddNeeds(target, targetOnly);
    if (!DEState(file, jd - lightTime, targetOnly, states))
        return false;
    targetPosition = BodyPosition(target, states, file.emrat);
    for (int i = 0; i < 3; ++i)
        position[i] = targetPosition[i] - centrePosition[i];
    return true;
}

} // namespace

bool LoadDEFile(const std::string &path, std::string *error)
{
    std::shared_ptr<const DEFile> file = ReadDEFile(path, error);
    const bool loaded = file != nullptr;
    SetLoadedFile(std::move(file));
    return loaded;
}

void FreeDEFile() { SetLoadedFile(nullptr); }

bool CalcDEBodyPosition(int target, int centre, Vec4 &out, double jd, std::uint8_t units)
{
    const std::shared_ptr<const DEFile> file = LoadedFile();
    if (!file || !IsPositionCode(target) || !IsPositionCode(centre))
        return false;
    Vec3 position{};
    if (!DEPleph(*file, target, centre, jd, position))
        return false;
    const double divisor = units ? AstronomicalUnitKm : 1.0;
    out.x = position[0] / divisor;
    out.y = position[1] / divisor;
    out.z = position[2] / divisor;
    out.w = Length({out.x, out.y, out.z});
    return units ? out.w > 0.001 : out.w > 100000.0;
}
