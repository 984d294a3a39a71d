#include "views/moon_phase.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/runtime/program_state.h"
#include "engine/files/settings.h"
#include "engine/astronomy/vectors.h"
#include "views/view_painting.h"

namespace {

constexpr int OutlineAlpha = 20;

} // namespace

std::vector<ShapeVertex> PhaseShapeVertices(int n, double r, double centreX, double centreY, double angle,
                                            double darkFraction, int signX, int signY)
{
    n = std::max(n, 2);
    const double f = std::clamp(darkFraction, 0.0, 1.0);
    const double step = TwoPi / n;
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    std::vector<ShapeVertex> vertices(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double t = i * step;
        double x = r * std::sin(t);
        const double y = -r * std::cos(t);
        // The vertices on the left half (t from pi on) become the terminator,
        // at (1 - 2f) of their distance from the axis. With an odd count the
        // middle vertex still lies on the right limb and keeps its place:
        // moving it would put it outside the disc.
        if (2 * i >= n)
            x = std::fabs(x) * (1.0 - 2.0 * f);
        const double turnedX = cosA * x - sinA * y;
        const double turnedY = sinA * x + cosA * y;
        vertices[i] = ShapeVertex{signX * turnedX + centreX, signY * turnedY + centreY};
    }
    return vertices;
}

void DrawPhaseShape(QPainter &painter, int n, double r, Pixel centre, double angle, double darkFraction,
                    int signX, int signY)
{
    const std::vector<ShapeVertex> vertices =
        PhaseShapeVertices(n, r, centre.x, centre.y, angle, darkFraction, signX, signY);
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(vertices.size()));
    for (const ShapeVertex &v : vertices)
        polygon << QPointF(v.x, v.y);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QColor outline(Qt::black);
    outline.setAlpha(OutlineAlpha);
    QColor fill(Qt::black);
    fill.setAlpha(std::clamp(Options.ShadowAlpha, 0, 255));
    painter.setPen(QPen(outline, 1.0));
    painter.setBrush(fill);
    painter.drawPolygon(polygon);
    painter.restore();
}

void DrawMoonPhase(QPainter &painter, int n, double r, Pixel centre)
{
    const bool sky = Options.ViewMode == ViewModeSky;
    const std::size_t moonEntry = sky ? 8 : 0;
    const std::size_t sunEntry = sky ? 9 : 1;
    if (sunEntry >= BodyStates.size())
        return;
    const TargetState &moon = BodyStates[moonEntry];
    const TargetState &sun = BodyStates[sunEntry];

    const double elongation = CalcVectorAngle(moon.Position, sun.Position);
    const double darkFraction = 1.0 - (1.0 - std::cos(elongation)) / 2.0;

    double angle = 0.0;
    if (sky) {
        // The sky is seen from inside: east lies left of north, so the lit
        // side's position angle turns the other way, then with the picture.
        const double g = NormalizeAnglePi(sun.RaDec.first - moon.RaDec.first) < 0.0 ? Pi : 0.0;
        double q = CalcParallacticAngle(sun.RaDec, moon.RaDec) - HalfPi;
        if (q < 0.0)
            q += TwoPi;
        angle = MainView.Rotation - q + g;
        DrawPhaseShape(painter, n, r, centre, angle, darkFraction, MainView.SignX, MainView.SignY);
        return;
    }
    // The map's bodies carry sub-points only, and on a map east is right:
    // the dark side (right when unturned) is turned away from the Sun.
    angle = NormalizeAnglePi(sun.SubPoint.second - moon.SubPoint.second) > 0.0 ? Pi : 0.0;
    DrawPhaseShape(painter, n, r, centre, angle, darkFraction, 1, 1);
}
