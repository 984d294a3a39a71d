// Stars, star names and constellation figures: shared by the main sky view
// and the pass chart.
#include "views/sky_view.h"

#include <QPoint>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/constants.h"
#include "views/view_painting.h"

StarCatalogue StarStreams;

namespace {

constexpr std::uint32_t ConstellationColour = 0xFF007F00u;

// Only points whose declination lies within the band about the centre's
// are projected: the band (the image width in degrees) covers every
// visible point, and the test saves the projection of most of the sky when
// zoomed in.
struct DeclinationBand {
    explicit DeclinationBand(const ViewState &view)
        : centre(view.Centre.second), width(DegToRad(view.ImageWidth / view.SkyScale))
    {
    }
    bool contains(double declination) const
    {
        return declination > centre - width && declination < centre + width;
    }
    double centre, width;
};

// Radius of a star's disc by how much brighter than the limit it is: 2 up
// to 1.67 magnitudes, 4 up to 3.33, 6 beyond; 0 for a star at the limit.
int StarRadius(double limitingMagnitude, double magnitude)
{
    return std::min(6, 2 * static_cast<int>(std::ceil((limitingMagnitude - magnitude) * 0.6)));
}

Angles3 RaDecOf(const StarNameRecord &record) { return Angles3{record.RightAscension, record.Declination, 0.0}; }

} // namespace

void DrawStars(QPainter &painter, const ViewState &view, double limitingMagnitude, const StarCatalogue &catalogue,
               const StarColours &colours)
{
    const DeclinationBand band(view);
    // Stars at the limit (most of them) are gathered and set in one call,
    // before the discs so that none of them marks a brighter star's outline.
    QVector<QPoint> faint;
    std::vector<std::pair<Pixel, int>> discs;
    for (const StarRecord &star : catalogue.Stars) {
        if (star.Magnitude > limitingMagnitude || !band.contains(star.Declination))
            continue;
        Pixel pixel;
        if (!ProjectSky(Angles3{star.RightAscension, star.Declination, 0.0}, view, pixel))
            continue;
        const int radius = StarRadius(limitingMagnitude, star.Magnitude);
        if (radius < 1)
            faint << QPoint(pixel.x, pixel.y) << QPoint(pixel.x + 1, pixel.y) << QPoint(pixel.x, pixel.y - 1);
        else
            discs.emplace_back(pixel, radius);
    }
    if (!faint.isEmpty()) {
        painter.setPen(QPen(ArgbColor(colours.Fill), 0));
        painter.drawPoints(faint.constData(), static_cast<int>(faint.size()));
    }
    for (const auto &[pixel, radius] : discs)
        DrawDisc(painter, pixel, radius, colours.Fill, colours.Outline);

    if (!view.StarNames)
        return;
    for (const StarNameRecord &name : catalogue.Names) {
        Pixel pixel;
        if (band.contains(name.Declination) && ProjectSky(RaDecOf(name), view, pixel))
            DrawLabel(painter, pixel.x, pixel.y - 15, name.Name.str(), colours.Text);
    }
}

void DrawConstellations(QPainter &painter, const ViewState &view, const StarCatalogue &catalogue,
                        std::uint32_t nameColour)
{
    for (const ConstellationLine &line : catalogue.Lines) {
        Pixel from, to;
        if (!ProjectSky(RaDecOf(line.From), view, from))
            continue;
        if (ProjectSky(RaDecOf(line.To), view, to))
            DrawSolidLine(painter, from, to, ConstellationColour);
        const std::string name = line.From.Name.str();
        if (view.ConstellationNames && name.size() > 2)
            DrawLabel(painter, from.x, from.y, name, nameColour);
    }
}
