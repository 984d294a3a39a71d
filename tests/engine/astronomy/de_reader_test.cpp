// The DE reader against small ephemeris files written here, in both byte
// orders. Every body moves in a straight line at constant speed, so each
// Chebyshev series is exact and the expected positions follow from the
// motion alone, in any record and sub-interval.
#include "engine/astronomy/de_reader.h"
#include "engine/files/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Vec3 = std::array<double, 3>;

constexpr double kStart = 2451536.5;
constexpr double kSpan = 32.0;
constexpr int kRecords = 3;
constexpr double kEnd = kStart + kRecords * kSpan;
constexpr double kEmrat = 81.30056;
constexpr double kLightKmPerDay = 299792.458 * 86400.0;
constexpr double kAU = 149597870.6996262;

struct Motion {
    Vec3 at;        // position at kStart, km
    Vec3 velocity;  // km per day
    Vec3 operator()(double jd) const
    {
        const double dt = jd - kStart;
        return {at[0] + velocity[0] * dt, at[1] + velocity[1] * dt, at[2] + velocity[2] * dt};
    }
};

const Motion kEarthMoonBarycentre{{1.5e8, 2.0e6, 1.0e6}, {-4.0e5, 2.5e6, 1.1e6}};
const Motion kMars{{2.2e8, 1.0e7, -3.0e6}, {1.0e5, 2.0e6, 9.0e5}};
const Motion kGeocentricMoon{{384000.0, 10000.0, -5000.0}, {-2000.0, 88000.0, 35000.0}};
const Motion kSun{{1.0e5, 2.0e5, 3.0e5}, {1.0, 2.0, 3.0}};

// One series of the pointer table: row, coefficients, sub-intervals and the
// motion it describes (none for the layouts the reader cannot evaluate).
struct Series {
    int row;
    int coefficients;
    int subIntervals;
    const Motion *motion;
};
// Jupiter's split in three and Saturn's 20 coefficients cannot be evaluated;
// Mercury, Venus, Uranus, Neptune and Pluto are absent. The nutations make
// the record long enough to hold the first header record, as in every DE file.
const std::vector<Series> kSeries = {
    {2, 3, 2, &kEarthMoonBarycentre}, {3, 3, 4, &kMars},           {4, 3, 3, nullptr},
    {5, 20, 2, nullptr},              {9, 3, 8, &kGeocentricMoon}, {10, 3, 1, &kSun},
    {11, 10, 4, nullptr},
};

Vec3 Minus(const Vec3 &a, const Vec3 &b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 Plus(const Vec3 &a, const Vec3 &b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
double Length(const Vec3 &v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

Vec3 Earth(double jd)
{
    const Vec3 moon = kGeocentricMoon(jd);
    const Vec3 b = kEarthMoonBarycentre(jd);
    return {b[0] - moon[0] / (1 + kEmrat), b[1] - moon[1] / (1 + kEmrat), b[2] - moon[2] / (1 + kEmrat)};
}
Vec3 Moon(double jd) { return Plus(Earth(jd), kGeocentricMoon(jd)); }

// The target where its light left it, seen from the centre at jd.
Vec3 Seen(const std::function<Vec3(double)> &target, const std::function<Vec3(double)> &centre, double jd)
{
    const Vec3 from = centre(jd);
    const double lightTime = Length(Minus(target(jd), from)) / kLightKmPerDay;
    return Minus(target(jd - lightTime), from);
}

class FileWriter {
public:
    explicit FileWriter(bool bigEndian) : swap_(bigEndian != (std::endian::native == std::endian::big)) {}

    template <class T> void Put(T value)
    {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &value, sizeof(T));
        if (swap_)
            std::reverse(b, b + sizeof(T));
        bytes_.insert(bytes_.end(), b, b + sizeof(T));
    }
    void PutText(const std::string &text, std::size_t width)
    {
        std::string padded = text;
        padded.resize(width, ' ');
        bytes_.insert(bytes_.end(), padded.begin(), padded.end());
    }
    void PadTo(std::size_t size) { bytes_.resize(size, 0); }
    std::vector<unsigned char> &Bytes() { return bytes_; }

private:
    bool swap_;
    std::vector<unsigned char> bytes_;
};

int ComponentCount(int row) { return row == 11 ? 2 : 3; }

// The ephemeris above as a DE file image.
std::vector<unsigned char> MakeFile(bool bigEndian, double emrat = kEmrat)
{
    std::array<std::array<std::int32_t, 3>, 13> pointers{};
    int next = 3;
    for (const Series &s : kSeries) {
        pointers[s.row] = {next, s.coefficients, s.subIntervals};
        next += s.coefficients * s.subIntervals * ComponentCount(s.row);
    }
    const int ncoeff = next - 1;
    const std::size_t recordBytes = 8 * static_cast<std::size_t>(ncoeff);

    FileWriter w(bigEndian);
    for (const char *title : {"Test ephemeris", "Start", "Final"})
        w.PutText(title, 84);
    w.PutText("", 400 * 6);
    w.Put(kStart);
    w.Put(kEnd);
    w.Put(kSpan);
    // Enough constants that their count, read in the wrong byte order, has
    // the top bit set.
    constexpr std::int32_t kConstants = 156;
    w.Put(kConstants);
    w.Put(149597870.691);
    w.Put(emrat);
    for (int row = 0; row < 12; ++row)
        for (std::int32_t v : pointers[row])
            w.Put(v);
    w.Put<std::int32_t>(999);  // DE number
    for (std::int32_t v : pointers[12])
        w.Put(v);
    w.PadTo(recordBytes);
    for (int i = 0; i < kConstants; ++i)
        w.Put(1.0 + i);
    w.PadTo(2 * recordBytes);

    for (int k = 0; k < kRecords; ++k) {
        std::vector<double> record(ncoeff, 0.0);
        const double recordStart = kStart + k * kSpan;
        record[0] = recordStart;
        record[1] = recordStart + kSpan;
        for (const Series &s : kSeries) {
            const double half = kSpan / s.subIntervals / 2;
            for (int sub = 0; sub < s.subIntervals; ++sub) {
                const Vec3 mid = s.motion ? (*s.motion)(recordStart + (2 * sub + 1) * half) : Vec3{1e8, 1e8, 1e8};
                const int components = ComponentCount(s.row);
                for (int c = 0; c < components; ++c) {
                    double *coefficients =
                        &record[pointers[s.row][0] - 1 + (sub * components + c) * s.coefficients];
                    coefficients[0] = mid[c];
                    coefficients[1] = s.motion ? s.motion->velocity[c] * half : 0.0;
                }
            }
        }
        for (double v : record)
            w.Put(v);
    }
    return w.Bytes();
}

std::size_t RecordBytes(const std::vector<unsigned char> &file) { return (file.size()) / (kRecords + 2); }

class DEReaderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        FreeDEFile();
        std::filesystem::remove_all(dir_);
    }

    std::string Write(const std::vector<unsigned char> &bytes, const std::string &name = "test.423")
    {
        std::filesystem::create_directories(dir_);
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        return path;
    }

    std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                                 ("kyt_de_reader_" + std::to_string(::getpid()));
};

void ExpectNear(const Vec3 &expected, const Vec4 &actual, double tolerance)
{
    EXPECT_NEAR(actual.x, expected[0], tolerance);
    EXPECT_NEAR(actual.y, expected[1], tolerance);
    EXPECT_NEAR(actual.z, expected[2], tolerance);
    EXPECT_NEAR(actual.w, Length(expected), tolerance);
}

Vec4 Position(int target, int centre, double jd, std::uint8_t units = kDEUnitsKm)
{
    Vec4 v{0, 0, 0, 0};
    EXPECT_TRUE(CalcDEBodyPosition(target, centre, v, jd, units)) << target << " from " << centre << " at " << jd;
    return v;
}

// Dates in every record and sub-interval, on the boundaries between them, and
// the first and last instants of the file.
const std::vector<double> kDates = {kStart + 0.01, kStart + 3.99,  kStart + 4.0,  kStart + 17.3,
                                    kStart + 31.999, kStart + 32.0, kStart + 45.5, kStart + 64.0,
                                    kStart + 80.25, kEnd - 1e-6};

TEST_F(DEReaderTest, PositionsFollowTheBodiesInEitherByteOrder)
{
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        ASSERT_TRUE(LoadDEFile(Write(MakeFile(bigEndian))));
        for (double jd : kDates) {
            SCOPED_TRACE(jd);
            // Mars is seen where its light left it; the Sun has no light time.
            ExpectNear(Seen(kMars, Earth, jd), Position(kDEMars, kDEEarth, jd), 1e-5);
            ExpectNear(Minus(kSun(jd), Earth(jd)), Position(kDESun, kDEEarth, jd), 1e-6);
            // The Moon's light time moves both Moon and Earth; the centre stays.
            ExpectNear(Seen(Moon, Earth, jd), Position(kDEMoon, kDEEarth, jd), 1e-6);
            ExpectNear(Seen(Earth, Moon, jd), Position(kDEEarth, kDEMoon, jd), 1e-6);
            ExpectNear(Minus(kEarthMoonBarycentre(jd), kSun(jd)),
                       Position(kDEEarthMoonBarycentre, kDESun, jd), 1e-6);
            ExpectNear(Seen(kMars, [](double) { return Vec3{}; }, jd),
                       Position(kDEMars, kDESolarSystemBarycentre, jd), 1e-5);
        }
    }
}

TEST_F(DEReaderTest, ByteOrdersGiveIdenticalResults)
{
    std::vector<std::vector<double>> results;
    for (bool bigEndian : {false, true}) {
        ASSERT_TRUE(LoadDEFile(Write(MakeFile(bigEndian))));
        std::vector<double> values;
        for (double jd : kDates)
            for (int target : {kDEMars, kDEMoon, kDESun}) {
                const Vec4 v = Position(target, kDEEarth, jd);
                values.insert(values.end(), {v.x, v.y, v.z, v.w});
            }
        results.push_back(values);
    }
    EXPECT_EQ(results[0], results[1]);
}

TEST_F(DEReaderTest, CoversTheFileFromFirstToLastInstantInclusive)
{
    ASSERT_TRUE(LoadDEFile(Write(MakeFile(false))));
    ExpectNear(Minus(kSun(kStart), Earth(kStart)), Position(kDESun, kDEEarth, kStart), 1e-6);
    ExpectNear(Minus(kSun(kEnd), Earth(kEnd)), Position(kDESun, kDEEarth, kEnd), 1e-6);
    ExpectNear(Seen(kMars, Earth, kEnd), Position(kDEMars, kDEEarth, kEnd), 1e-5);

    // Outside the file: false, and the output keeps what it held.
    for (double jd : {kEnd + 1.0, kEnd + 1e-6, kStart - 1e-6, std::nan("")}) {
        Vec4 v{1, 2, 3, 4};
        EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, jd, kDEUnitsKm)) << jd;
        EXPECT_EQ(v.x, 1);
        EXPECT_EQ(v.w, 4);
    }
    // At the first instant the light left Mars before the file begins.
    Vec4 v{};
    EXPECT_FALSE(CalcDEBodyPosition(kDEMars, kDEEarth, v, kStart, kDEUnitsKm));
}

TEST_F(DEReaderTest, AstronomicalUnitsScaleTheSameLightTimeCorrectedPosition)
{
    ASSERT_TRUE(LoadDEFile(Write(MakeFile(false))));
    const double jd = kStart + 40.0;
    for (int target : {kDEMars, kDEMoon, kDESun}) {
        const Vec4 km = Position(target, kDEEarth, jd, kDEUnitsKm);
        const Vec4 au = Position(target, kDEEarth, jd, kDEUnitsAU);
        EXPECT_NEAR(au.x * kAU, km.x, 1e-6) << target;
        EXPECT_NEAR(au.y * kAU, km.y, 1e-6) << target;
        EXPECT_NEAR(au.z * kAU, km.z, 1e-6) << target;
        EXPECT_NEAR(au.w * kAU, km.w, 1e-6) << target;
    }
}

TEST_F(DEReaderTest, ImplausiblePositionsAndUnknownCodesFail)
{
    ASSERT_TRUE(LoadDEFile(Write(MakeFile(false))));
    const double jd = kStart + 10.0;
    Vec4 v{};
    EXPECT_FALSE(CalcDEBodyPosition(kDEMars, kDEMars, v, jd, kDEUnitsKm));
    EXPECT_EQ(v.w, 0.0);
    // The barycentre lies about 4600 km from the Earth: under both limits.
    EXPECT_FALSE(CalcDEBodyPosition(kDEEarthMoonBarycentre, kDEEarth, v, jd, kDEUnitsKm));
    EXPECT_FALSE(CalcDEBodyPosition(kDEEarthMoonBarycentre, kDEEarth, v, jd, kDEUnitsAU));
    // The Moon, at about 384000 km, passes it.
    EXPECT_TRUE(CalcDEBodyPosition(kDEMoon, kDEEarth, v, jd, kDEUnitsKm));
    for (int code : {0, -1, 14, 15, 16}) {
        Vec4 untouched{1, 2, 3, 4};
        EXPECT_FALSE(CalcDEBodyPosition(code, kDEEarth, untouched, jd, kDEUnitsKm)) << code;
        EXPECT_FALSE(CalcDEBodyPosition(kDESun, code, untouched, jd, kDEUnitsKm)) << code;
        EXPECT_EQ(untouched.x, 1);
    }
}

TEST_F(DEReaderTest, BodiesTheReaderCannotEvaluateFailInsteadOfReturningOldValues)
{
    ASSERT_TRUE(LoadDEFile(Write(MakeFile(false))));
    const double jd = kStart + 20.0;
    Position(kDEMars, kDEEarth, jd);  // leaves Mars's values behind
    for (int body : {kDEJupiter, kDESaturn, kDEPluto, kDEMercury}) {
        Vec4 v{1, 2, 3, 4};
        EXPECT_FALSE(CalcDEBodyPosition(body, kDEEarth, v, jd, kDEUnitsKm)) << body;
        EXPECT_FALSE(CalcDEBodyPosition(kDEMars, body, v, jd, kDEUnitsKm)) << body;
        EXPECT_EQ(v.x, 1) << body;
    }
}

TEST_F(DEReaderTest, DamagedOrForeignFilesAreRefusedAndUnloadWhatWasLoaded)
{
    const std::vector<unsigned char> good = MakeFile(false);
    const std::size_t recordBytes = RecordBytes(good);

    std::vector<unsigned char> truncated = good;
    truncated.resize(good.size() - 8);

    std::vector<unsigned char> shifted = good;  // second record starts a day late
    const double late = kStart + kSpan + 1.0;
    std::memcpy(&shifted[3 * recordBytes], &late, 8);

    std::vector<unsigned char> overlapping = good;  // last record ends too early
    const double early = kEnd - 1.0;
    std::memcpy(&overlapping[4 * recordBytes + 8], &early, 8);

    std::vector<unsigned char> outside = good;  // the Sun's series ends past the record
    const std::int32_t beyond = static_cast<std::int32_t>(recordBytes / 8);
    std::memcpy(&outside[2652 + 44 + 12 * 10], &beyond, 4);

    std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 2700);

    struct Case {
        const char *what;
        std::vector<unsigned char> bytes;
    };
    const std::vector<Case> cases = {
        {"mass ratio below the window", MakeFile(false, 81.3005)},
        {"mass ratio above the window", MakeFile(true, 81.301)},
        {"shorter than its header promises", truncated},
        {"record not one span after the previous", shifted},
        {"record not one span long", overlapping},
        {"series outside the record", outside},
        {"cut inside the header", headerOnly},
        {"empty", {}},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(LoadDEFile(Write(good, "good.423")));
        std::string error;
        EXPECT_FALSE(LoadDEFile(Write(c.bytes), &error)) << c.what;
        EXPECT_NE(error.find("is damaged"), std::string::npos) << c.what << ": " << error;
        Vec4 v{};
        EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, kStart + 1, kDEUnitsKm)) << c.what;
    }
    ASSERT_TRUE(LoadDEFile(Write(good, "good.423")));
    // A missing file is the one failure without a message: its caller tells
    // how to get the file.
    std::string error;
    EXPECT_FALSE(LoadDEFile((dir_ / "missing.423").string(), &error));
    EXPECT_EQ(error, "");
    // Over the size bound (a sparse file, never read): refused, and told so.
    const std::string huge = Write({}, "huge.423");
    std::filesystem::resize_file(huge, EphemerisLimit + 1);
    EXPECT_FALSE(LoadDEFile(huge, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    Vec4 v{};
    EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, kStart + 1, kDEUnitsKm));

    ASSERT_TRUE(LoadDEFile(Write(good, "good.423")));
    FreeDEFile();
    EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, kStart + 1, kDEUnitsKm));
}

// The program asks for "de_files/1957_2050.423"; set-up and users may have
// written the folder or the name in another case.
TEST_F(DEReaderTest, FileIsFoundWhateverTheCaseOfFolderAndName)
{
    std::filesystem::create_directories(dir_ / "DE_Files");
    Write(MakeFile(false), "DE_Files/1957_2050.423");
    EXPECT_TRUE(LoadDEFile((dir_ / "de_files/1957_2050.423").string()));
    Vec4 v{};
    EXPECT_TRUE(CalcDEBodyPosition(kDESun, kDEEarth, v, kStart + 1, kDEUnitsKm));
}

// A worker and the clock tick evaluate different bodies at different dates at
// once; each must see the values of its own request.
TEST_F(DEReaderTest, ThreadsEvaluatingAtOnceEachGetTheirOwnResult)
{
    ASSERT_TRUE(LoadDEFile(Write(MakeFile(true))));
    auto run = [](int target, double firstDate, int &wrong) {
        for (int i = 0; i < 2000; ++i) {
            const double jd = firstDate + (i % 97) * 0.3;
            Vec4 v{};
            const Vec3 expected = target == kDEMars ? Seen(kMars, Earth, jd) : Seen(Moon, Earth, jd);
            if (!CalcDEBodyPosition(target, kDEEarth, v, jd, kDEUnitsKm) ||
                std::fabs(v.x - expected[0]) > 1e-5 || std::fabs(v.y - expected[1]) > 1e-5)
                ++wrong;
        }
    };
    int wrongMars = 0, wrongMoon = 0;
    std::thread worker(run, kDEMars, kStart + 1.0, std::ref(wrongMars));
    run(kDEMoon, kStart + 50.0, wrongMoon);
    worker.join();
    EXPECT_EQ(wrongMars, 0);
    EXPECT_EQ(wrongMoon, 0);
}

} // namespace
