// The KML export: ground tracks read back from a listing (golden text, limits
// in miles, odd widths and short tracks) and the ground lines of flares from
// the flare search.
#include "engine/reports/kml_export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/files/element_files.h"
#include "engine/iridium_set_fixture.h"
#include "engine/program_folder_fixture.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/flare_search.h"

namespace {

ObserverRecord London()
{
    ObserverRecord observer = MakeObserver(DegToRad(51.5074), DegToRad(-0.1278));
    observer.Name.assign("London");
    return observer;
}

// Rows as the ground-track search writes them.
std::string Row(const char *time, double lat, double lon, double path)
{
    return FormatReport("%0:16s%1:10.4f%2:11.4f%3:6.1f%4:5.0f%5:6.1f%6:6.0f%7:4.0f%8:4s",
                        {time, lat, lon, path, 120.0, 3.2, 540.0, 45.0, "Y"});
}

const std::string Header = "  MM/DD Time       Lat      Lon        Path   Az  Dist   Rng Alt  Slt";

std::vector<std::string> Listing(double firstPath, double secondPath)
{
    return {"  Sun Transit",
            "  Produced 01/20/2018 12:00:00(Z)",
            "  ",
            "  Satellite: ISS (ZARYA)  -  25544",
            "  ",
            Header,
            Row("01/21 18:03:10", 51.5312, -0.1724, firstPath),
            Row("01/21 18:03:11", 51.5105, -0.1002, firstPath),
            Row("01/21 18:03:12", 51.4898, -0.0280, firstPath),
            "  End of track",
            "  Satellite: HST  -  20580",
            "  ",
            Header,
            Row("01/22 05:40:00", 51.6000, -0.3000, secondPath),
            Row("01/22 05:40:01", 51.5800, -0.2500, secondPath),
            "  End of track"};
}

std::string KmlFile() { return DataDir + GoogleTracksFileName; }

std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (const char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

std::vector<std::string> FileLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "line without CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// The coordinates lines of every placemark named `name`, as (lon, lat).
std::vector<std::vector<std::pair<double, double>>> PlacemarkPoints(const std::string &text, const std::string &name)
{
    std::vector<std::vector<std::pair<double, double>>> placemarks;
    const std::vector<std::string> lines = FileLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "   <name>" + name + "</name>")
            continue;
        std::vector<std::pair<double, double>> points;
        std::size_t k = i;
        while (k < lines.size() && lines[k] != "      <coordinates>")
            ++k;
        for (++k; k < lines.size() && lines[k] != "      </coordinates>"; ++k) {
            const std::string point(TrimText(lines[k]));
            double lon = 0, lat = 0;
            const std::size_t comma = point.find(',');
            EXPECT_TRUE(ParseDecimal(point.substr(0, comma), lon) && ParseDecimal(point.substr(comma + 1), lat))
                << point;
            points.emplace_back(lon, lat);
        }
        placemarks.push_back(points);
    }
    return placemarks;
}

std::size_t Count(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Great-circle distance (km) on a sphere of the radius, degrees in.
double Haversine(std::pair<double, double> a, std::pair<double, double> b, double radius)
{
    const double dLat = DegToRad(b.second - a.second), dLon = DegToRad(b.first - a.first);
    const double h = std::pow(std::sin(dLat / 2), 2) +
                     std::cos(DegToRad(a.second)) * std::cos(DegToRad(b.second)) * std::pow(std::sin(dLon / 2), 2);
    return 2 * radius * std::asin(std::sqrt(h));
}

using KmlTrackTest = ProgramFolderTest;

TEST_F(KmlTrackTest, TwoTracksGiveTheGoldenText)
{
    std::string error;
    ASSERT_EQ(WriteTrackKml(Listing(5.0, 0.2), London(), 1.0, &error), KmlWrite::Written) << error;
    const std::string expected = WithCrLf(R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://earth.google.com/kml/2.0">
 <Document>
  <Style id="KYTStyle1">
   <LineStyle>
     <color>ff00ffff</color>
     <width>2</width>
     <tessellate>1</tessellate>
    </LineStyle>
  </Style>
  <Style id="KYTStyle2">
   <LineStyle>
     <color>ffff00ff</color>
     <width>2</width>
     <tessellate>1</tessellate>
    </LineStyle>
  </Style>
  <Placemark>
   <name>London</name>
   <description>Observer Location</description>
     <Point>
      <coordinates>-0.1278,51.5074</coordinates>
     </Point>
  </Placemark>
  <Placemark>
   <name>Sun Transit</name>
   <styleUrl>#KYTStyle1</styleUrl>
   <description>ISS (ZARYA)  -  25544</description>
    <LineString>
      <coordinates>
        -0.1724,51.5312
        -0.1002,51.5105
        -0.0280,51.4898
      </coordinates>
    </LineString>
  </Placemark>
  <Placemark>
   <name>ISS (ZARYA)  -  25544</name>
   <description>Start Point Time - 01/21 18:03:10</description>
     <Point>
      <coordinates>
       -0.1724,51.5312
      </coordinates>
     </Point>
  </Placemark>
  <Placemark>
   <name>Right Limit</name>
   <styleUrl>#KYTStyle2</styleUrl>
   <description>ISS (ZARYA)  -  25544</description>
    <LineString>
      <coordinates>
        -0.1421,51.5721
        -0.0699,51.5514
        0.0022,51.5307
      </coordinates>
    </LineString>
  </Placemark>
  <Placemark>
   <name>Left Limit</name>
   <styleUrl>#KYTStyle2</styleUrl>
   <description>ISS (ZARYA)  -  25544</description>
    <LineString>
      <coordinates>
        -0.2026,51.4903
        -0.1304,51.4696
        -0.0582,51.4489
      </coordinates>
    </LineString>
  </Placemark>
  <Placemark>
   <name>Sun Transit</name>
   <styleUrl>#KYTStyle1</styleUrl>
   <description>HST  -  20580</description>
    <LineString>
      <coordinates>
        -0.3000,51.6000
        -0.2500,51.5800
      </coordinates>
    </LineString>
  </Placemark>
  <Placemark>
   <name>HST  -  20580</name>
   <description>Start Point Time - 01/22 05:40:00</description>
     <Point>
      <coordinates>
       -0.3000,51.6000
      </coordinates>
     </Point>
  </Placemark>
</Document>
</kml>
)");
    EXPECT_EQ(ReadFile(KmlFile()), expected);
}

TEST_F(KmlTrackTest, LimitsLieAtTheListedDistanceInKmAndMiles)
{
    ObserverRecord observer = London();
    UpdateSiderealObserver(0.0, observer);
    const double radius = observer.Eci.w;
    for (const double factor : {1.0, 0.621371}) {
        SCOPED_TRACE(factor);
        const double path = std::round(5.0 * factor * 10) / 10; // as the listing shows it
        ASSERT_EQ(WriteTrackKml(Listing(path, path), observer, factor), KmlWrite::Written);
        const std::string text = ReadFile(KmlFile());
        const auto tracks = PlacemarkPoints(text, "Sun Transit");
        const auto right = PlacemarkPoints(text, "Right Limit");
        const auto left = PlacemarkPoints(text, "Left Limit");
        ASSERT_EQ(tracks.size(), 2u);
        ASSERT_EQ(right.size(), 2u);
        ASSERT_EQ(left.size(), 2u);
        for (std::size_t t = 0; t < 2; ++t)
            for (std::size_t i = 0; i < tracks[t].size(); ++i) {
                EXPECT_NEAR(Haversine(tracks[t][i], right[t][i], radius), path / factor, 0.1);
                EXPECT_NEAR(Haversine(tracks[t][i], left[t][i], radius), path / factor, 0.1);
            }
    }
}

TEST_F(KmlTrackTest, WidthsAndShortTracks)
{
    // A Path that is not a number counts as 1.0; a wide Path stays out of the
    // longitude.
    std::vector<std::string> listing = Listing(1234.5, 5.0);
    for (int row : {6, 7, 8})
        listing[row].replace(37, 6, "  ----");
    listing[13].replace(37, 6, "1234.5");
    listing[14].replace(37, 6, "1234.5");
    ASSERT_EQ(WriteTrackKml(listing, London(), 1.0), KmlWrite::Written);
    std::string text = ReadFile(KmlFile());
    auto tracks = PlacemarkPoints(text, "Sun Transit");
    auto right = PlacemarkPoints(text, "Right Limit");
    ASSERT_EQ(tracks.size(), 2u);
    ASSERT_EQ(right.size(), 2u);
    EXPECT_NEAR(Haversine(tracks[0][0], right[0][0], 6365.0), 1.0, 0.01);
    EXPECT_DOUBLE_EQ(tracks[1][0].first, -0.3);
    EXPECT_NEAR(Haversine(tracks[1][0], right[1][0], 6365.0), 1234.5, 5.0);

    // No row, one row, a header on the last line: a one-row track has its
    // start point only.
    const std::vector<std::string> shortTracks = {"  Sun Transit",
                                                  "  Satellite: ISS (ZARYA)  -  25544",
                                                  Header,
                                                  "  End of track",
                                                  Header,
                                                  Row("01/21 18:03:10", 51.5312, -0.1724, 5.0),
                                                  "  End of track",
                                                  Header};
    ASSERT_EQ(WriteTrackKml(shortTracks, London(), 1.0), KmlWrite::Written);
    text = ReadFile(KmlFile());
    EXPECT_EQ(Count(text, "<Placemark>"), 2u);
    EXPECT_EQ(Count(text, "<LineString>"), 0u);
    EXPECT_EQ(Count(text, "Start Point Time - 01/21 18:03:10"), 1u);
    EXPECT_EQ(Count(text, "-0.1724,51.5312"), 1u);

    // No header at all: the observer alone.
    ASSERT_EQ(WriteTrackKml({"  Sun Transit"}, London(), 1.0), KmlWrite::Written);
    EXPECT_EQ(Count(ReadFile(KmlFile()), "<Placemark>"), 1u);
}

// Three flares of the default Iridium set seen from London.
class KmlFlareTest : public IridiumSetTest {
protected:
    void SetUp() override
    {
        IridiumSetTest::SetUp();
        if (SetUpStopped())
            return;
        for (const TleRecord &record : iridium_)
            for (const char *name : {"IRIDIUM 35 [+]", "IRIDIUM 61 [+]", "IRIDIUM 95 [+]"})
                if (record.Name.str() == name)
                    inputs_.Satellites.push_back(record);
        ASSERT_EQ(inputs_.Satellites.size(), 3u);
        inputs_.Start = inputs_.StartShown = MakeInstant(2018, 1, 21);
        inputs_.End = inputs_.EndShown = inputs_.Start + 3.0;
        inputs_.MinElevation = DegToRad(10.0);
        inputs_.SunAltitude = DegToRad(-6.0);
        inputs_.FaintestFlare = 2;
        inputs_.Observer = MakeObserver(DegToRad(51.5), DegToRad(-0.1), 0.0);
    }
    PredictionInputs inputs_;
};

TEST_F(KmlFlareTest, EachFlareHasItsCentreLineAndStartPoint)
{
    const PredictionResult result = SearchIridiumFlares(inputs_);
    ASSERT_EQ(result.Passes.size(), 3u);
    ASSERT_EQ(WriteFlareKml(result.Passes, inputs_.Observer, 0.0), KmlWrite::Written);
    const std::string text = ReadFile(KmlFile());
    EXPECT_EQ(Count(text, "<LineString>"), 3u);
    EXPECT_EQ(Count(text, "Start Point Time - "), 3u);

    const auto centres = PlacemarkPoints(text, "Right Limit");
    ASSERT_EQ(centres.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const PassRecord &pass = result.Passes[i];
        SCOPED_TRACE(pass.Title.str());
        ASSERT_EQ(centres[i].size(), 10u);
        EXPECT_EQ(PlacemarkPoints(text, pass.Title.str()).at(0).front(), centres[i].front());
        // Instant 5 of 1..10 is the flare: the report's LatC and LongC.
        TleRecord record = *pass.Satellite;
        ObserverRecord observer = inputs_.Observer;
        const auto flare = EvaluateFlare(record, (pass.StartTime + pass.EndTime) / 2, observer);
        ASSERT_TRUE(flare.has_value());
        EXPECT_NEAR(centres[i][4].second, RadToDeg(flare->CentrePoint.first), 0.002);
        EXPECT_NEAR(centres[i][4].first, RadToDeg(flare->CentrePoint.second), 0.002);
    }

    std::filesystem::remove(KmlFile());
    EXPECT_EQ(WriteFlareKml({}, inputs_.Observer, 0.0), KmlWrite::NothingToWrite);
    EXPECT_FALSE(std::filesystem::exists(KmlFile()));
}

} // namespace
