// Any bytes as each of the three star catalogues: never a read past the
// buffer, a refused file leaves no records, and drawing the stars into a
// small sky view (those loaded, and the raw records a damaged file holds)
// stays inside the picture and free of undefined behaviour.
#include "engine/files/star_catalog.h"
#include "views/sky_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    StarCatalogue loaded;
    std::string error;
    if (ParseStarRecords(bytes, loaded.Stars, &error) ? loaded.Stars.size() != size / sizeof(StarRecord)
                                                      : !loaded.Stars.empty() || error.empty())
        std::abort();

    if (ParseStarNameRecords(bytes, loaded.Names, &error)) {
        for (const StarNameRecord &name : loaded.Names)
            if (!name.Name.lengthValid())
                std::abort();
    } else if (!loaded.Names.empty() || error.empty()) {
        std::abort();
    }

    if (!ParseConstellationLines(bytes, loaded.Lines, &error) && !loaded.Lines.empty())
        std::abort();
    if (loaded.Lines.size() > size / sizeof(ConstellationLine))
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
