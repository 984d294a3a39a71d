// The pass chart: one predicted pass of one satellite as a polar sky chart
// centred on the zenith, with the stars, constellations, Sun, Moon and
// planets at the pass start, the compass letters, the pass track from rise
// to set and a block of pass data. The chart turns in 15 degree steps, has a
// print view, prints scaled to the page and saves as a JPEG file.
//
// The window works on its own copies of the observer and of the pass
// records, so nothing it computes touches the program's shared state.
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/settings.h"
#include "engine/searches/prediction_inputs.h"
#include "views/sky_view.h"
#include "views/view_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

class TfrRadarWnd : public QDialog {
    Q_OBJECT
public:
    // passList and utcMode are the prediction window's; the list must
    // outlive the chart (which is modal). `flares` says the list holds the
    // flare search's records, whose elevation is the flare's own.
    TfrRadarWnd(const PassList &passList, bool utcMode, bool flares, QWidget *parent = nullptr);

    // The window's size for a screen this high: height screen - 100 held to
    // 600..800, width 1.2 x height held to 720..960, both at most the room
    // the screen leaves the window inside its frame.
    static QSize WindowSize(int screenHeight, QSize room);

    void cb_satChange();
    void cb_timesChange();
    void ck_print_viewClick();
    void bn_dnClick();
    void bn_upClick();
    void bn_printClick();
    void bn_filesaveClick();
    void bn_closeClick();

    void DrawRadar(double start, double end);
    void DrawRadarPrintView(double start, double end);
    void SetRadarView(double start);

    // The pass track: the instants 15 s apart from start and the end, with
    // where each is drawn (not visible below the horizon).
    struct TrackPoint {
        double Instant = 0.0;
        Pixel At;
    };
    std::vector<TrackPoint> PassTrackPoints(double start, double end);

    // Where a compass letter is written for a circle of radius about the
    // centre, at angle (rad), in type of `size`.
    static QPoint CalcCompassLetterPos(int radius, QPoint centre, double angle, int size);

    // Seams to the user: the print dialog (true to print on the printer as
    // set) and the image file name ("" when cancelled).
    std::function<bool(QPrinter &printer)> ConfirmPrint;
    std::function<QString()> SelectImageFile;

    ViewState RadarView{};
    double ChartSidereal = 0.0;  // rad, at the pass start
    int ChartRotation = 180;     // degrees: 0, 15, ..., 330
    PassList ChartPasses;        // the passes of the satellite in cb_sat
    double ChartTimeOffset = 0.0; // days added to UTC instants shown
    std::string SunAltText, MoonAltText;
    // The text block beside the disc for the pass selected in cb_times.
    std::vector<std::string> PassInfoLines() const;
    QImage Chart;                // the picture shown

    QLabel *ImgRadar = nullptr;
    QComboBox *cb_sat = nullptr, *cb_times = nullptr;
    QLabel *stxt_sat = nullptr, *stxt_aos = nullptr, *stxt_spin = nullptr, *lb_pointer = nullptr;
    QCheckBox *ck_print_view = nullptr;
    QPushButton *bn_up = nullptr, *bn_dn = nullptr, *bn_print = nullptr, *bn_filesave = nullptr,
                *bn_close = nullptr;

private:
    struct Palette;
    void BuildControls(QSize size);
    void LoadCatalogue();
    void Rotate(int degrees);
    void DrawChart(double start, double end, const Palette &palette);
    void DrawRadarBodies(QPainter &painter, double start, const Palette &palette);
    void DrawPassTrack(QPainter &painter, double start, double end, const Palette &palette);
    void DrawPassInfo(QPainter &painter, const Palette &palette);
    void DrawRadarCompass(QPainter &painter, const Palette &palette);
    const PassRecord *SelectedPass() const;

    const PassList &source_;
    const bool flares_;
    ObserverRecord observer_;
    StarCatalogue catalogue_;
};

// The rectangle (from the page's top-left corner) a picture of pictureSize
// is printed into on a page of pageSize: as large as the page allows with its
// aspect ratio kept.
QRect FitPictureToPage(QSize pictureSize, QSize pageSize);
// Prints the picture on one page of the printer; the rectangle it took.
QRect PrintPicture(QPrinter &printer, const QImage &picture);

// The chart for the prediction window's passes: its satellite box holds the
// titles with runs of one title collapsed, the first selected and drawn.
std::unique_ptr<TfrRadarWnd> CreatePassChart(const PassList &passList, bool utcMode, bool flares,
                                             QWidget *parent);
// CreatePassChart shown modally.
void ShowPassChart(const PassList &passList, bool utcMode, bool flares, QWidget *parent);
