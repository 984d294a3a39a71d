// The pass chart: the track against skyfield's directions, the chart's
// orientation, rotation and texts, its size on a screen, the missing star
// file, the JPEG file and printing to a PDF file.
#include "ui/tool_window_fixture.h"

#include "engine/files/element_files.h"
#include "engine/files/star_catalog.h"
#include "engine/satellites/catalogue_conversion.h"
#include "engine/searches/flare_search.h"
#include "engine/searches/line_pass_search.h"
#include "engine/searches/pass_steps.h"
#include "engine/searches/prediction_test_support.h"
#include "engine/searches/tabular_pass_search.h"
#include "ui/pass_chart/pass_chart_window.h"
#include "views/sky_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTest>

#include <cmath>
#include <map>

namespace {

// Topocentric J2000 directions from tools/pass_chart_reference.py (skyfield
// 1.45 of Debian 12): seconds after 2018-01-21 0h UTC, right ascension and
// declination in degrees, at the chart's AOS, middle and LOS points.
struct Direction {
    double seconds, ra, dec;
};
struct ReferencePass {
    const ElementLines *lines;
    Direction points[3];
};
const ReferencePass ReferencePasses[] = {
    {&Iss, {
        {2533.000, 41.71866, 11.85563},
        {2728.000, 128.03792, 50.53038},
        {2928.000, 209.35327, 2.57946},
    }},
    {&Gps, {
        {39693.000, 215.75741, -2.74597},
        {50553.000, 326.20399, 54.67166},
        {61410.000, 50.14127, -22.93074},
    }},
};

class PassChartTest : public ToolWindowTest {
protected:
    void SetUp() override
    {
        ToolWindowTest::SetUp();
        Observer = LondonObserver();
    }

    // The first pass of the satellite over a day from London, all day, as the
    // line search gives it ("Revs >" 1 lets the GPS satellite in).
    static PassRecord FirstPass(const ElementLines &lines)
    {
        PredictionInputs inputs = DefaultInputs(LondonObserver(), 1.0, {lines});
        inputs.MinRevs = 1;
        inputs.SunlitOnly = false;
        inputs.DayOrNight = true;
        const PredictionResult result = SearchLinePasses(inputs);
        EXPECT_FALSE(result.Passes.empty());
        return result.Passes.empty() ? PassRecord{} : result.Passes.front();
    }

    // The set-up's star and constellation files in the test's data folder.
    bool CopyCatalogue()
    {
        for (const char *name : {StarFileName, ConstellationFileName}) {
            const std::string from = SetUpDataFolder() + "/data/" + name;
            if (!std::filesystem::exists(from))
                return false;
            std::filesystem::copy_file(from, root_ / "data" / name);
        }
        return true;
    }
};

double Seconds(double instant) { return (instant - SpanStart()) * 86400.0; }

TEST_F(PassChartTest, TrackPointsAreTheSatellitesDirectionsAtTheirInstants)
{
    if (!LoadEphemeris())
        return;
    PassList passes;
    for (const ReferencePass &reference : ReferencePasses)
        passes.push_back(FirstPass(*reference.lines));
    ASSERT_TRUE(passes[1].Satellite->DeepSpace);
    auto chart = CreatePassChart(passes, true, false, nullptr);
    ASSERT_EQ(chart->cb_sat->count(), 2);

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(passes[i].Title.str());
        chart->cb_sat->setCurrentIndex(i);
        chart->cb_satChange();
        ASSERT_EQ(chart->ChartPasses.size(), 1u);
        const PassRecord &pass = chart->ChartPasses[0];
        chart->SetRadarView(pass.StartTime);
        const auto points = chart->PassTrackPoints(pass.StartTime, pass.EndTime);
        ASSERT_GE(points.size(), 3u);
        const TfrRadarWnd::TrackPoint drawn[] = {points.front(), points[(points.size() - 1) / 2], points.back()};
        // Placed by direction among the stars of the pass start; the horizon
        // is each point's own.
        ViewState view = chart->RadarView;
        view.StarToHorizon = 0;
        view.CullCos = NoCulling;
        for (int k = 0; k < 3; ++k) {
            const Direction &expected = ReferencePasses[i].points[k];
            ASSERT_NEAR(Seconds(drawn[k].Instant), expected.seconds, 0.01) << k;
            Pixel reference;
            ASSERT_TRUE(ProjectSky(Angles3{DegToRad(expected.ra), DegToRad(expected.dec), 0.0}, view, reference))
                << k;
            ASSERT_TRUE(drawn[k].At.visible()) << k;
            EXPECT_LE(PixelDistance(drawn[k].At, reference), 2) << k;
        }
    }
}

TEST_F(PassChartTest, OrientationRotationAndTexts)
{
    if (!LoadEphemeris() || !CopyCatalogue())
        return;
    PassList passes{FirstPass(Iss)};
    passes.push_back(passes[0]);
    passes[1].StartTime += 0.1;
    passes[1].EndTime += 0.1;
    auto chart = CreatePassChart(passes, true, false, nullptr);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(chart->cb_times->count(), 2);
    EXPECT_EQ(chart->stxt_aos->text(), "2");
    EXPECT_EQ(chart->cb_times->itemText(0).toStdString(),
              FormatInstant("mm/dd   HH:nn:ss", passes[0].StartTime));

    // Rotation 180: north up and east on the left, for the sky and the letters.
    const ViewState &view = chart->RadarView;
    const Angles3 place{Observer.Latitude, Observer.Longitude, 0.0};
    const auto horizonPixel = [&](double azimuth) {
        Angles3 raDec;
        HorizontalToEqu(place, 0.05, DegToRad(azimuth), raDec, passes[0].StartTime, chart->ChartSidereal);
        Pixel pixel;
        EXPECT_TRUE(ProjectSky(raDec, view, pixel));
        return pixel;
    };
    const Pixel north = horizonPixel(0), east = horizonPixel(90);
    EXPECT_LT(north.y, view.CentreY - view.CentreY / 2);
    EXPECT_NEAR(north.x, view.CentreX, 10);
    EXPECT_LT(east.x, view.CentreX - view.CentreX / 2);
    EXPECT_NEAR(east.y, view.CentreY, 10);
    const int r = view.CentreX - 12;
    const QPoint centre(view.CentreX, view.CentreY);
    const double a = DegToRad(180 - 0.5);
    const QPoint letterN = TfrRadarWnd::CalcCompassLetterPos(r, centre, a - HalfPi, 16);
    const QPoint letterE = TfrRadarWnd::CalcCompassLetterPos(r, centre, a + Pi, 16);
    EXPECT_NEAR(letterN.y(), north.y - 8, 20);
    EXPECT_NEAR(letterE.x(), east.x - 8, 20);

    // The rotation cycles 0..330.
    chart->ChartRotation = 330;
    chart->bn_dnClick();
    EXPECT_EQ(chart->ChartRotation, 0);
    EXPECT_EQ(chart->stxt_spin->text(), "0°");
    chart->bn_upClick();
    EXPECT_EQ(chart->ChartRotation, 330);
    // Turned by 90 (rotation 270), north lies on the right.
    chart->ChartRotation = 255;
    chart->bn_dnClick();
    EXPECT_GT(horizonPixel(0).x, view.CentreX + view.CentreX / 2);

    // The pass starts in the night: the Sun's text is set though it is down.
    ASSERT_FALSE(chart->SunAltText.empty());
    EXPECT_EQ(chart->SunAltText.front(), '-');
    EXPECT_FALSE(chart->MoonAltText.empty());
    EXPECT_NE(chart->SunAltText.find("°"), std::string::npos);

    // "ALT" is the culmination's, whichever search listed the pass: a
    // table's own elevation is that of its highest row.
    const auto altitudeText = [](double degrees) { return "ALT : " + FormatReport("%0:.1f", {degrees}) + "°"; };
    ASSERT_EQ(chart->PassInfoLines().size(), 7u);
    EXPECT_EQ(chart->PassInfoLines()[4], altitudeText(passes[0].Elevation));
    PredictionInputs inputs = DefaultInputs(LondonObserver(), 1.0, {Iss});
    inputs.SunlitOnly = false;
    inputs.DayOrNight = true;
    const PassList table = SearchTabularPasses(inputs).Passes;
    ASSERT_FALSE(table.empty());
    EXPECT_NEAR(table[0].StartTime, passes[0].StartTime, 2.0 / 86400.0);
    EXPECT_NE(altitudeText(table[0].Elevation), altitudeText(passes[0].Elevation));
    chart = CreatePassChart(table, true, false, nullptr);
    EXPECT_EQ(chart->PassInfoLines()[4], altitudeText(passes[0].Elevation));
}

// A flare's record spans seconds around the flare, over which the satellite
// may climb degrees: the chart gives the flare's own altitude, the one its
// report line gives (whole degrees there).
TEST_F(PassChartTest, AFlaresAltIsTheAltOfItsReportLine)
{
    if (!LoadEphemeris())
        return;
    Options.IridiumFile.assign(SetUpDataFolder() + "/tle/gpredict.tle");
    PredictionInputs inputs;
    ASSERT_TRUE(BuildIridiumFile() && LoadSatFile(inputs.Satellites, DataDir + "IridSat.bin"));
    inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21);
    inputs.End = inputs.EndShown = inputs.Start + 3.0;
    inputs.MinElevation = DegToRad(10.0);
    inputs.SunAltitude = DegToRad(-6.0);
    inputs.DayFlares = true;
    inputs.FaintestFlare = 2;
    inputs.Observer = Observer;
    const PredictionResult result = SearchIridiumFlares(inputs);
    ASSERT_GE(result.Passes.size(), 5u);

    // The report's Alt, the column after the ID ("35 [+]"), by the flare's time.
    std::map<std::string, double> reported;
    for (const std::string &line : result.Lines)
        if (line.size() > 40 && line[4] == '/' && line[10] == ':')
            reported[line.substr(2, 14)] = std::stod(line.substr(line.find(']') + 1));
    ASSERT_EQ(reported.size(), result.Passes.size());

    auto chart = CreatePassChart(result.Passes, true, true, nullptr);
    int climbing = 0;
    for (int i = 0; i < chart->cb_sat->count(); ++i) {
        chart->cb_sat->setCurrentIndex(i);
        chart->cb_satChange();
        for (int k = 0; k < chart->cb_times->count(); ++k) {
            chart->cb_times->setCurrentIndex(k);
            chart->cb_timesChange();
            const PassRecord &flare = chart->ChartPasses[k];
            const std::string time = FormatInstant("mm/dd HH:nn:ss", (flare.StartTime + flare.EndTime) / 2.0);
            SCOPED_TRACE(flare.Title.str() + " " + time);
            ASSERT_EQ(reported.count(time), 1u);
            const std::string alt = chart->PassInfoLines().at(4);
            ASSERT_EQ(alt.rfind("ALT : ", 0), 0u);
            const double shown = std::stod(alt.substr(6));
            EXPECT_NEAR(shown, reported[time], 0.55);
            // The highest point of the record's span lies above the flare.
            TleRecord satellite = *flare.Satellite;
            TargetState state;
            state.Mode = ModeRaDecHorizon;
            for (const double end : {flare.StartTime, flare.EndTime})
                if (MoveSatellite(satellite, state, Observer, end) && RadToDeg(state.Elevation) > shown + 0.55)
                    ++climbing;
        }
    }
    EXPECT_GT(climbing, 0);
}

TEST_F(PassChartTest, SizeFollowsTheScreenAndAMissingStarFileIsReported)
{
    const QSize room(1912, 1036);
    EXPECT_EQ(TfrRadarWnd::WindowSize(1080, room), QSize(960, 800));
    EXPECT_EQ(TfrRadarWnd::WindowSize(700, room), QSize(720, 600));
    EXPECT_EQ(TfrRadarWnd::WindowSize(400, room), QSize(720, 600));
    // Within the room a frame leaves on a screen of 600 pixels.
    EXPECT_EQ(TfrRadarWnd::WindowSize(600, QSize(792, 564)), QSize(720, 564));

    // The data folder holds no "Stars.bin": the chart says so and draws
    // without stars.
    PassRecord pass = MakePassRecord(std::make_shared<const TleRecord>(WorkingRecord(Iss)));
    pass.StartTime = SpanStart() + 2533.0 / 86400.0;
    pass.EndTime = SpanStart() + 2928.0 / 86400.0;
    const PassList passes{pass};
    auto chart = CreatePassChart(passes, false, false, nullptr);
    const std::vector<std::string> messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_NE(messages.front().find("Stars.bin"), std::string::npos);
    EXPECT_EQ(chart->Chart.height(), chart->height() - 90 - 4);
    EXPECT_EQ(chart->ImgRadar->pixmap().size(), chart->Chart.size());

    // On this 800 x 600 screen the window fits with its frame, and none of
    // the controls under the chart lies on another.
    chart->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart.get()));
    const QRect screen = chart->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(chart->frameGeometry()));
    std::vector<const QWidget *> controls;
    for (const QWidget *control : chart->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (control->geometry().top() > chart->ImgRadar->parentWidget()->geometry().bottom())
            controls.push_back(control);
    ASSERT_GE(controls.size(), 12u);
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->metaObject()->className() << " " << controls[i]->x() << " and "
                << controls[j]->metaObject()->className() << " " << controls[j]->x();
}

TEST_F(PassChartTest, JpegAtQuality85AndAnUnwritablePath)
{
    PassRecord pass = MakePassRecord(std::make_shared<const TleRecord>(WorkingRecord(Iss)));
    pass.StartTime = SpanStart();
    pass.EndTime = SpanStart() + 0.003;
    const PassList passes{pass};
    auto chart = CreatePassChart(passes, true, false, nullptr);
    const QString path = QString::fromStdString((root_ / "chart.jpg").string());
    chart->SelectImageFile = [&] { return path; };
    const std::size_t before = Messages().size();
    chart->bn_filesaveClick();
    EXPECT_EQ(Messages().size(), before);
    const QImage saved(path);
    EXPECT_EQ(saved.size(), chart->Chart.size());

    // The first quantisation table (luminance), in the order stored.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype marker = bytes.indexOf(QByteArray("\xFF\xDB", 2));
    ASSERT_GE(marker, 0);
    ASSERT_EQ(bytes[marker + 4] & 0x0F, 0); // table 0, 8-bit values
    const int expected[] = {5, 3, 4, 4, 4, 3, 5, 4};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(static_cast<unsigned char>(bytes[marker + 5 + i]), expected[i]) << i;

    chart->SelectImageFile = [&] { return QString::fromStdString((root_ / "none" / "chart.jpg").string()); };
    chart->bn_filesaveClick();
    EXPECT_EQ(Messages().size(), before + 1);
}

TEST_F(PassChartTest, PrintsToAPdfWithItsAspectAndSelectsTheFirstPass)
{
    EXPECT_EQ(FitPictureToPage(QSize(950, 700), QSize(4000, 6000)), QRect(0, 0, 4000, 2947));
    EXPECT_EQ(FitPictureToPage(QSize(950, 700), QSize(500, 2000)), QRect(0, 0, 500, 368));
    EXPECT_EQ(FitPictureToPage(QSize(700, 950), QSize(4000, 3000)), QRect(0, 0, 2210, 3000));

    PassRecord pass = MakePassRecord(std::make_shared<const TleRecord>(WorkingRecord(Iss)));
    pass.StartTime = SpanStart();
    pass.EndTime = SpanStart() + 0.003;
    PassList passes{pass, pass};
    passes[1].StartTime += 0.1;
    passes[1].EndTime += 0.1;
    auto chart = CreatePassChart(passes, true, false, nullptr);
    chart->cb_times->setCurrentIndex(1);
    chart->cb_timesChange();

    const QString pdf = QString::fromStdString((root_ / "chart.pdf").string());
    QRect printed, page;
    chart->ConfirmPrint = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    chart->bn_printClick();
    EXPECT_GT(QFile(pdf).size(), 1000);
    EXPECT_EQ(chart->cb_times->currentIndex(), 0);
    EXPECT_FALSE(chart->ck_print_view->isChecked());

    // The rectangle the picture took on the page.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    page = printer.pageLayout().paintRectPixels(printer.resolution());
    printed = PrintPicture(printer, chart->Chart);
    ASSERT_FALSE(printed.isEmpty());
    EXPECT_LE(printed.width(), page.width());
    EXPECT_LE(printed.height(), page.height());
    EXPECT_TRUE(printed.width() == page.width() || printed.height() == page.height());
    EXPECT_NEAR(double(printed.width()) / printed.height(), double(chart->Chart.width()) / chart->Chart.height(),
                0.005);
}

} // namespace
