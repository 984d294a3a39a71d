#include "engine/astronomy/planet_places.h"

#include "engine/astronomy/bodies.h"
#include "engine/satellites/satellite_driver.h"

std::vector<BodyPlace> PlanetPlaces(double instant, ObserverRecord &observer)
{
    std::vector<BodyPlace> places;
    const double gmst = UpdateSiderealObserver(instant, observer);
    for (int code = BodyMercury; code <= BodySun; ++code) {
        if (code == BodyEarth)
            continue;
        BodyPlace place;
        place.Code = code;
        place.State.BodyId = code;
        place.State.Mode = ModeRaDecHorizon;
        place.Found = UpdateBody(place.State, gmst, instant, observer);
        places.push_back(place);
    }
    return places;
}
