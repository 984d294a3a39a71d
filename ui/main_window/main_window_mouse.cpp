// The mouse on the view image: the position under the cursor in the status
// bar, picking a satellite or moving home on the map, re-centring the sky and
// the globe, the zoom frame, and the compass box that switches the sky mode.
#include "ui/main_window/main_window.h"

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/geodesy.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "views/view_setup.h"
#include "views/view_state.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <cmath>
#include <cstdlib>

namespace {

// A click picks the satellites whose sub-point lies closer than this (km).
constexpr double PickRadiusKm = 150.0;
// Frames this high or lower from their centre (pixels) are a click, not a zoom.
constexpr int SmallestZoomFrame = 15;
// The narrowest sky field (degrees over the image height) and the smallest
// globe radius (pixels).
constexpr double NarrowestSkyField = 0.08;
constexpr double SmallestGlobeRadius = 15.0;
// The compass box in the sky picture's top-left corner (pixels).
constexpr int CompassBoxWidth = 75;
constexpr int CompassBoxHeight = 85;

QString Text(const std::string &text) { return QString::fromStdString(text); }

// Whether the whole-sky picture is shown: it is wider than the widest zoom.
bool WholeSkyShown() { return MainView.SkyScale < MainView.SkyScaleMin; }

// The sky scale a zoom frame of half height dragSize gives: in, the frame's
// field fills the image; out, the image's field fills the frame.
double ZoomedSkyScale(bool zoomIn, int dragSize)
{
    const ViewState &view = MainView;
    if (zoomIn)
        return std::min(view.SkyScale * view.CentreY / dragSize, view.ImageHeight / NarrowestSkyField);
    return std::max(view.SkyScale * dragSize / view.CentreY, view.SkyScaleMin);
}

double ZoomedGlobeRadius(bool zoomIn, int dragSize)
{
    const ViewState &view = MainView;
    if (zoomIn)
        return std::min(view.GlobeZoom * view.CentreY / dragSize, view.GlobeZoomMax);
    return std::max(view.GlobeZoom * dragSize / view.CentreY, SmallestGlobeRadius);
}

// The field of view a sky scale gives, as the frame shows it before release.
std::string FieldSizeText(double skyScale)
{
    double size = MainView.ImageHeight / skyScale;
    std::string unit = "Deg";
    if (size < 1.0) {
        size *= 60.0;
        unit = "Min";
    }
    return FormatReport("Size: %0:4.1f %1s", {size, unit});
}

std::string AngleText(double degrees) { return FormatReport("%0:4.3f °", {degrees}); }

} // namespace

void TfrMainWnd::ShowCursorPosition(int x, int y)
{
    const Pixel pixel{x, y};
    if (Options.ViewMode == ViewModeSky) {
        double ra = NoPosition, dec = NoPosition;
        UnprojectSky(pixel, ra, dec);
        // The projection has no position for the centre pixel itself: the
        // point there is the centre.
        if (ra == NoPosition && x == MainView.CentreX && y == MainView.CentreY) {
            ra = MainView.Centre.first;
            dec = MainView.Centre.second;
        }
        CursorRaDec = Angles3{ra, dec, 0.0};
        if (ra == NoPosition) {
            for (int panel : {5, 7, 9, 11})
                SetPanel(panel, QString());
            return;
        }
        EquToHorizontal(ObserverPlace(), CursorRaDec, CursorAltAz.first, CursorAltAz.second,
                        CurrentTime, SiderealTime);
        SetPanel(5, Text(FormatAngleHMS(true, 0, ra)));
        SetPanel(7, Text(FormatAngleDMS(true, 0, dec)));
        SetPanel(9, Text(AngleText(RadToDeg(CursorAltAz.first))));
        SetPanel(11, Text(AngleText(RadToDeg(CursorAltAz.second))));
        return;
    }
    UnprojectView(pixel, CursorGround);
    // Off the globe the read-out shows home.
    if (Options.ViewMode == ViewModeGlobe && CursorGround.second == NoPosition)
        CursorGround = ObserverPlace();
    SetPanel(5, Text(FormatAngleDMS(true, 0, CursorGround.first)));
    SetPanel(7, Text(FormatAngleDMS(true, 0, CursorGround.second)));
}

void TfrMainWnd::MainImageMouseDown(Qt::MouseButton button, bool, int x, int y)
{
    if (!Ready)
        return;
    // The clock keeps counting but draws nothing until the button is released.
    RedrawEnabled = false;
    // A drag re-centres on where it began.
    ShowCursorPosition(x, y);
    if (Options.ViewMode == ViewModeMap)
        return;
    DragSize = 0;
    DragStart = QPoint(x, y);
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    Dragging = true;
    DragZoomIn = button == Qt::LeftButton;
}

void TfrMainWnd::MainImageMouseMove(int x, int y)
{
    if (!Ready)
        return;
    // The read-outs keep the point where a drag began.
    if (Dragging && Options.ViewMode != ViewModeMap)
        DrawZoomFrame(x, y);
    else
        ShowCursorPosition(x, y);
}

void TfrMainWnd::DrawZoomFrame(int x, int y)
{
    const ViewState &view = MainView;
    if (view.ImageWidth <= 0 || view.ImageHeight <= 0)
        return;
    // The frame keeps the image's proportions.
    const double aspect = double(view.ImageHeight) / view.ImageWidth;
    const int dx = std::abs(DragStart.x() - x);
    const int dy = std::abs(DragStart.y() - y);
    int halfWidth = 0;
    if (dy >= dx * aspect) {
        DragSize = dy;
        halfWidth = static_cast<int>(std::floor(dy / aspect));
    } else {
        halfWidth = dx;
        DragSize = static_cast<int>(std::floor(dx * aspect));
    }
    // The frame goes over the last picture drawn, never into it.
    QImage picture = ViewBitmap();
    if (2 * DragSize < view.ImageHeight && DragSize > SmallestZoomFrame) {
        QPainter painter(&picture);
        painter.setPen(DragZoomIn ? Qt::white : Qt::red);
        painter.drawRect(DragStart.x() - halfWidth, DragStart.y() - DragSize, 2 * halfWidth,
                         2 * DragSize);
        // Out of the whole-sky picture the field stays as it is.
        if (Options.ViewMode == ViewModeSky && (DragZoomIn || !WholeSkyShown()))
            txt_info1->setText(Text(FieldSizeText(ZoomedSkyScale(DragZoomIn, DragSize))));
    }
    MainImage->SetPicture(picture);
}

void TfrMainWnd::MainImageMouseUp(Qt::MouseButton button, bool shift, int x, int y)
{
    if (!Ready) {
        Dragging = false;
        return;
    }
    // While a view is being prepared the bodies and the drawing are the old
    // view's: a release only moves the view; the preparation draws it.
    const bool held = ViewBusy;
    switch (Options.ViewMode) {
    case ViewModeMap:
        if (!held)
            MapMouseUp(button, shift);
        break;
    case ViewModeSky: SkyMouseUp(button, x, y); break;
    case ViewModeGlobe: GlobeMouseUp(); break;
    default: break;
    }
    Dragging = false;
    if (held)
        return;
    RefreshDisplay();
    RedrawEnabled = true;
}

void TfrMainWnd::MapMouseUp(Qt::MouseButton button, bool shift)
{
    if (button == Qt::RightButton && shift) {
        // Home moves for this run only; the map has no height, so the
        // observer keeps its own (and with it the horizon correction).
        Observer.Latitude = CursorGround.first;
        Observer.Longitude = CursorGround.second;
        CalcObserverRho(ObserverPlace(), Observer.RhoSinPhi, Observer.RhoCosPhi);
        Observer.Name.assign("Unknown");
        setWindowTitle("Unknown");
        return;
    }
    if (button != Qt::LeftButton)
        return;
    // Of the drawn satellites in reach the last in box order is chosen.
    int picked = -1;
    ForEachShownSatellite([&](std::size_t j, const TleRecord &) {
        if (CalcEllipsoidDistance(SatStates[j].SubPoint, CursorGround) < PickRadiusKm)
            picked = static_cast<int>(j);
    });
    if (picked < 0)
        return;
    cb_sat1->setCurrentIndex(picked);
    cb_sat1Change();
}

void TfrMainWnd::SkyMouseUp(Qt::MouseButton button, int x, int y)
{
    const bool zoom = Dragging && DragSize > SmallestZoomFrame;
    // Zooming out of the whole-sky picture leaves it as it is: narrowed to
    // the widest zoom and turned to the drag's start, it would zoom in.
    if (zoom && !DragZoomIn && WholeSkyShown()) {
        txt_info1->setText(Text(ShowViewSize()));
        return;
    }
    if (button != Qt::MiddleButton) {
        if (x < CompassBoxWidth && y < CompassBoxHeight) {
            const bool raDec = menu_skyviewradec->isChecked();
            menu_skyviewaltaz->setChecked(raDec);
            menu_skyviewradec->setChecked(!raDec);
        } else {
            if (button == Qt::RightButton)
                KeepSkyWithinWidestView();
            // A pixel without sky (beyond the all-sky disc) keeps the centre.
            if (CursorRaDec.first != NoPosition) {
                MainView.CentreAlt = CursorAltAz.first;
                MainView.CentreAz = CursorAltAz.second;
                MainView.Centre.first = CursorRaDec.first;
                MainView.Centre.second = CursorRaDec.second;
            }
        }
    }
    if (zoom)
        MainView.SkyScale = ZoomedSkyScale(DragZoomIn, DragSize);
    txt_info1->setText(Text(ShowViewSize()));
}

void TfrMainWnd::GlobeMouseUp()
{
    MainView.GlobeCentre = CursorGround;
    if (Dragging && DragSize > SmallestZoomFrame) {
        MainView.GlobeZoom = ZoomedGlobeRadius(DragZoomIn, DragSize);
        Options.GlobeScale = MainView.ImageHeight / MainView.GlobeZoom;
    }
}
