// "Show Google Earth": the KML files are well-formed KML 2.0 whatever the
// names and the locale, the written file goes to the desktop's handler, and
// nothing happens while a search runs.
#include "ui/tool_window_fixture.h"

#include "engine/astronomy/constants.h"
#include "engine/files/element_files.h"
#include "engine/reports/kml_export.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/searches/flare_search.h"
#include "ui/prediction/prediction_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTextBrowser>
#include <QXmlStreamReader>

#include <clocale>
#include <locale>

namespace {

const char *const ObserverName = "Caf\xC3\xA9 & Bar <\"\xC3\x96\">";
const char *const TrackName = "AT&T <Transit> \"\xE2\x98\x85\"";
const char *const SatelliteText = "Z\xC3\xBCrich & Co <1>  -  99999";

std::vector<std::string> Listing()
{
    return {std::string("  ") + TrackName,
            std::string("  Satellite: ") + SatelliteText,
            "  ",
            "  MM/DD Time       Lat      Lon        Path   Az  Dist   Rng Alt  Slt",
            "  01/21 18:03:10   51.5312    -0.1724   5.0  120   3.2   540  45   Y",
            "  01/21 18:03:11   51.5105    -0.1002   5.0  120   3.2   540  45   Y",
            "  End of track"};
}

// What a KML file holds, and whether it has the structure of KML 2.x.
struct KmlContent {
    QStringList names;
    bool wellFormed = false;
};

KmlContent CheckKml(const std::string &path)
{
    KmlContent content;
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int documents = 0;
    QSet<QString> styles;
    QStringList styleUrls;
    // The open Placemark: its name, and its geometry's tuples.
    bool inPlacemark = false, named = false;
    QString geometry;
    int tuples = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == u"kml")
                EXPECT_EQ(xml.namespaceUri(), u"http://earth.google.com/kml/2.0");
            else if (name == u"Document")
                ++documents;
            else if (name == u"Style")
                styles.insert(xml.attributes().value("id").toString());
            else if (name == u"styleUrl")
                styleUrls << xml.readElementText();
            else if (name == u"Placemark")
                inPlacemark = true, named = false, geometry.clear(), tuples = 0;
            else if (name == u"name" && inPlacemark)
                named = true, content.names << xml.readElementText();
            else if (name == u"Point" || name == u"LineString")
                geometry = name.toString();
            else if (name == u"coordinates") {
                const QStringList points = xml.readElementText().split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
                for (const QString &point : points) {
                    const QStringList parts = point.split(',');
                    bool lonOk = false, latOk = false;
                    const double lon = parts.value(0).toDouble(&lonOk), lat = parts.value(1).toDouble(&latOk);
                    EXPECT_TRUE(parts.size() == 2 && lonOk && latOk && std::fabs(lon) <= 180 && std::fabs(lat) <= 90)
                        << point.toStdString();
                }
                tuples = static_cast<int>(points.size());
            }
        } else if (xml.isEndElement() && xml.name() == u"Placemark") {
            inPlacemark = false;
            EXPECT_TRUE(named);
            EXPECT_TRUE((geometry == "Point" && tuples == 1) || (geometry == "LineString" && tuples >= 2))
                << geometry.toStdString() << " " << tuples;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(documents, 1);
    EXPECT_TRUE(styles.contains("KYTStyle1") && styles.contains("KYTStyle2"));
    for (const QString &url : styleUrls)
        EXPECT_TRUE(url.startsWith('#') && styles.contains(url.mid(1))) << url.toStdString();
    content.wellFormed = !xml.hasError();
    return content;
}

class GoogleEarthTest : public ToolWindowTest {
protected:
    void SetUp() override
    {
        ToolWindowTest::SetUp();
        Observer = MakeObserver(DegToRad(51.5), DegToRad(-0.1));
        Observer.Name.assign(ObserverName);
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("file");
        ToolWindowTest::TearDown();
    }

    std::string KmlPath() const { return DataDir + GoogleTracksFileName; }

    // Three flares of the default Iridium set from the observer.
    PassList Flares()
    {
        if (!LoadEphemeris())
            return {};
        Options.IridiumFile.assign(SetUpDataFolder() + "/tle/gpredict.tle");
        tlearray all;
        EXPECT_TRUE(BuildIridiumFile() && LoadSatFile(all, DataDir + "IridSat.bin"));
        PredictionInputs inputs;
        for (const TleRecord &record : all)
            for (const char *name : {"IRIDIUM 29 [-]", "IRIDIUM 33 [-]", "IRIDIUM 35 [+]"})
                if (record.Name.str() == name)
                    inputs.Satellites.push_back(record);
        inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21);
        inputs.End = inputs.EndShown = inputs.Start + 3.0;
        inputs.MinElevation = DegToRad(10.0);
        inputs.SunAltitude = DegToRad(-6.0);
        inputs.FaintestFlare = 2;
        inputs.Observer = Observer;
        return SearchIridiumFlares(inputs).Passes;
    }
};

TEST_F(GoogleEarthTest, FilesAreKml20WithTheirNamesUnderAGermanLocale)
{
    const std::string savedC = std::setlocale(LC_ALL, nullptr);
    const std::locale savedCpp;
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    std::locale::global(std::locale("de_DE.UTF-8"));

    ASSERT_EQ(WriteTrackKml(Listing(), Observer, 1.0), KmlWrite::Written);
    KmlContent tracks = CheckKml(KmlPath());
    EXPECT_TRUE(tracks.wellFormed);
    EXPECT_EQ(tracks.names, (QStringList{ObserverName, TrackName, SatelliteText, "Right Limit", "Left Limit"}));

    PassList flares = Flares();
    if (!flares.empty()) {
        flares[0].Title.assign("AT&T <1>");
        ASSERT_EQ(WriteFlareKml(flares, Observer, 0.0), KmlWrite::Written);
        const KmlContent content = CheckKml(KmlPath());
        EXPECT_TRUE(content.wellFormed);
        EXPECT_EQ(content.names.size(), 1 + 2 * static_cast<int>(flares.size()));
        EXPECT_TRUE(content.names.contains("AT&T <1>"));
    }

    // Bytes that are no UTF-8 and control characters are replaced; the
    // file stays well-formed.
    Observer.Name.assign("Bad \xFF\xC3 name\x01\x7F");
    ASSERT_EQ(WriteTrackKml(Listing(), Observer, 1.0), KmlWrite::Written);
    tracks = CheckKml(KmlPath());
    EXPECT_TRUE(tracks.wellFormed);
    EXPECT_EQ(tracks.names.value(0), QString::fromUtf8("Bad \uFFFD\uFFFD name\uFFFD\uFFFD"));

    std::setlocale(LC_ALL, savedC.c_str());
    std::locale::global(savedCpp);
}

TEST_F(GoogleEarthTest, TheFileGoesToTheDesktopsHandlerButNotDuringASearch)
{
    TfrPredictionWnd window;
    window.PredictRichText->setPlainText(QString::fromStdString([] {
        std::string text;
        for (const std::string &line : Listing())
            text += line + "\n";
        return text;
    }()));
    window.FlareResult = false;

    // Any object with a slot taking a URL serves as the handler.
    QTextBrowser handler;
    QDesktopServices::setUrlHandler("file", &handler, "setSource");
    window.bn_googleClick();
    EXPECT_EQ(handler.source(), QUrl::fromLocalFile(QString::fromStdString(KmlPath())));
    EXPECT_TRUE(CheckKml(KmlPath()).wellFormed);
    EXPECT_TRUE(Messages().empty());

    // Offscreen there is no handler of its own.
    QDesktopServices::unsetUrlHandler("file");
    window.bn_googleClick();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Satellite Pass Prediction: Failed to load Program Google Earth\n"
                                                   "The tracks were written to \"" + KmlPath() +
                                                   "\"; any program that reads KML files can open it."});

    // While a search runs nothing is written or opened.
    std::filesystem::remove(KmlPath());
    window.Busy = true;
    window.bn_googleClick();
    EXPECT_FALSE(std::filesystem::exists(KmlPath()));
    EXPECT_EQ(Messages().size(), 1u);
    window.Busy = false;

    // A flare search without flares has nothing to export.
    window.FlareResult = true;
    window.Passes.clear();
    window.bn_googleClick();
    EXPECT_FALSE(std::filesystem::exists(KmlPath()));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1],
              "Satellite Pass Prediction:  Failed to find Tracks or Error in producing the Google file.");
}

} // namespace
