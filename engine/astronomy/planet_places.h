// Where the planets, the Moon and the Sun stand for an observer at one
// instant, for the listings and charts that show them all together.
#pragma once

#include <vector>

#include "engine/files/settings.h"
#include "engine/satellites/satellite_record.h"

struct BodyPlace {
    int Code = 0;       // BodyMercury to BodySun
    bool Found = false; // false when the ephemeris could not place it
    TargetState State;  // ModeRaDecHorizon; as default-made when not Found
};

// Mercury to the Sun in code order, without the Earth, each with its J2000
// right ascension and declination and its elevation and azimuth. Moves the
// observer's sidereal time and inertial position to the instant.
std::vector<BodyPlace> PlanetPlaces(double instant, ObserverRecord &observer);
