// The data window's tables: the Sun's or the Moon's rise, culmination and set
// day by day for the observer, and the positions of the planets, the Moon and
// the Sun at one instant. Each moves only its own copy of the observer.
#pragma once

#include <string>
#include <vector>

#include "engine/files/settings.h"

struct RiseSetTableInputs {
    int Body = 11;            // BodySun or BodyMoon
    int Days = 15;
    std::string Title;        // "  Sun Rise/Set " or "  Moon Rise/Set "
    double Threshold = 0.0;   // altitude of rise and set, rad
    double Date = 0.0;        // the first day's date in the shown time scale (whole days)
    bool UtcMode = true;      // else times local (UTC + the observer's UtcOffset)
    bool WithSeconds = false; // "High Precision"
    ObserverRecord Observer{};
};

// The heading and one row a day from the chosen date's midnight in the shown
// time scale: rise, culmination ("Mid") and set, blank where the day has none,
// and for the Moon the lit percentage at culmination.
std::vector<std::string> BuildRiseSetTable(const RiseSetTableInputs &inputs);

// Right ascension and declination (topocentric, J2000), elevation and azimuth
// of the bodies Mercury to the Sun without the Earth, at `instant` (UTC);
// the heading shows `instantShown` and the time scale's caption.
std::vector<std::string> BuildPlanetTable(double instant, double instantShown,
                                          const std::string &timeCaption, ObserverRecord observer);
