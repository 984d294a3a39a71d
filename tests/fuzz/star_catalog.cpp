// Any bytes as each of the three star catalogues: never a read past the
// buffer, every record kept is one the sky view can draw (and all whole ones
// when the parse succeeds, with a message when it does not), and drawing the
// stars into a small sky view (those loaded, and the raw records as they
// lie) stays inside the picture and free of undefined behaviour.
#include "engine/astronomy/constants.h"
#include "engine/files/star_catalog.h"
#include "views/sky_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void DrawIntoSmallSky(const StarCatalogue &catalogue)
{
    static QGuiApplication *application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "fuzz_star_catalog";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)application;
    ViewState view;
    view.ImageWidth = view.ImageHeight = 64;
    view.CentreX = view.CentreY = 32;
    view.SkyScale = 0.5; // the whole sky across the picture
    view.Centre = Angles3{1.0, 0.3, 0.0};
    view.StarNames = 1;
    view.ConstellationNames = 1;
    QImage picture(view.ImageWidth, view.ImageHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(0xFF000000u);
    QPainter painter(&picture);
    DrawStars(painter, view, 11.0, catalogue, StarColours{});
    DrawConstellations(painter, view, catalogue, 0xFF808000u);
}

bool InSky(double rightAscension, double declination)
{
    return rightAscension >= 0.0 && rightAscension <= TwoPi && std::fabs(declination) <= HalfPi;
}

bool Drawable(const StarNameRecord &record)
{
    return record.Name.lengthValid() && InSky(record.RightAscension, record.Declination);
}

// At most the whole records are kept, all of them exactly when the parse
// succeeds, and a failed parse says why.
template <class Entry>
void CheckKept(bool whole, const std::vector<Entry> &entries, std::size_t size, std::string &error)
{
    const std::size_t all = size / sizeof(Entry);
    if (entries.size() > all || whole != (entries.size() == all) || (!whole && error.empty()))
        std::abort();
    error.clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    StarCatalogue loaded;
    std::string error;
    CheckKept(ParseStarRecords(bytes, loaded.Stars, &error), loaded.Stars, size, error);
    for (const StarRecord &star : loaded.Stars)
        if (!InSky(star.RightAscension, star.Declination) || !(star.Magnitude >= BrightestStarMagnitude) ||
            !(star.Magnitude <= FaintestStarMagnitude))
            std::abort();
    CheckKept(ParseStarNameRecords(bytes, loaded.Names, &error), loaded.Names, size, error);
    for (const StarNameRecord &name : loaded.Names)
        if (!Drawable(name))
            std::abort();
    CheckKept(ParseConstellationLines(bytes, loaded.Lines, &error), loaded.Lines, size, error);
    for (const ConstellationLine &line : loaded.Lines)
        if (!Drawable(line.From) || !Drawable(line.To))
            std::abort();
    DrawIntoSmallSky(loaded);

    // The star records as they lie, whatever they hold.
    StarCatalogue raw;
    raw.Stars.resize(size / sizeof(StarRecord));
    if (!raw.Stars.empty())
        std::memcpy(static_cast<void *>(raw.Stars.data()), data, raw.Stars.size() * sizeof(StarRecord));
    DrawIntoSmallSky(raw);
    return 0;
}
