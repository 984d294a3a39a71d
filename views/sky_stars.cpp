// Stars, star names and constellation figures: shared by the main sky view
// and the pass chart.
#include "views/sky_view.h"

#include <QImage>
#include <QPoint>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "engine/astronomy/constants.h"
#include "views/view_painting.h"

StarCatalogue StarStreams;

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace {

// Qt's solid fills (QImage::fill, fillRect, polygon spans) return with the
// upper halves of the AVX registers dirty. Until something clears them, every
// scalar SSE instruction pays a transition penalty: the projection of tens of
// thousands of stars after the ground is filled ran ten times slower. One
// vzeroupper before the star loop restores full speed.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) void ZeroUpperVectorHalves() { _mm256_zeroupper(); }
void ClearUpperVectorState()
{
    if (__builtin_cpu_supports("avx"))
        ZeroUpperVectorHalves();
}
#else
void ClearUpperVectorState() {}
#endif

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
constexpr int MaxStarRadius = 6;

int StarRadius(double limitingMagnitude, double magnitude)
{
    // Worked out in doubles and cut before it becomes an int: a magnitude of
    // any size (or none) gives a radius of 0 to 6.
    const double radius = 2.0 * std::ceil((limitingMagnitude - magnitude) * 0.6);
    if (!(radius > 0.0))
        return 0;
    return radius < MaxStarRadius ? static_cast<int>(radius) : MaxStarRadius;
}

// A star's disc on a transparent square of side 2r, centred on (r, r)
// exactly as DrawDisc centres it on a star's pixel.
class DiscStamps {
public:
    explicit DiscStamps(const StarColours &colours)
    {
        for (int radius = 2; radius <= MaxStarRadius; radius += 2) {
            QImage &stamp = stamps_[radius / 2 - 1];
            stamp = QImage(2 * radius, 2 * radius, QImage::Format_ARGB32_Premultiplied);
            stamp.fill(Qt::transparent);
            QPainter painter(&stamp);
            DrawDisc(painter, Pixel{radius, radius}, radius, colours.Fill, colours.Outline);
        }
    }
    const QImage &of(int radius) const { return stamps_[radius / 2 - 1]; }

private:
    QImage stamps_[MaxStarRadius / 2];
};

Angles3 RaDecOf(const StarNameRecord &record) { return Angles3{record.RightAscension, record.Declination, 0.0}; }

} // namespace

void DrawStars(QPainter &painter, const ViewState &view, double limitingMagnitude, const StarCatalogue &catalogue,
               const StarColours &colours)
{
    ClearUpperVectorState();
    const DeclinationBand band(view);
    // Stars at the limit are gathered and set in one call, before the discs
    // so that none of them marks a brighter star's outline. The discs (tens
    // of thousands in a deep whole-sky view) are stamped from one picture
    // per radius rather than each drawn as a path.
    QVector<QPoint> faint;
    std::vector<std::pair<Pixel, int>> discs;
    for (const StarRecord &star : catalogue.Stars) {
        if (!(star.Magnitude <= limitingMagnitude) || !band.contains(star.Declination))
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
    const DiscStamps stamps(colours);
    for (const auto &[pixel, radius] : discs)
        painter.drawImage(pixel.x - radius, pixel.y - radius, stamps.of(radius));

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
