// The Iridium flare search: for every pass of every satellite of the Iridium
// set inside the night (or, with "Day Flares", daylight) windows of the
// span, the moment the Sun's reflection off a main mirror panel sweeps
// closest to the observer, and how bright it is there and at the centre of
// its path on the ground.
#pragma once

#include <optional>
#include <vector>

#include "engine/astronomy/body_events.h"
#include "engine/searches/prediction_inputs.h"
#include "engine/searches/search_frame.h"

// The angle that means "no flare candidate", degrees.
inline constexpr double NoFlareAngle = 180.0;

// One satellite's mirror flare seen from the observer at one instant.
struct FlareGeometry {
    double Angle = NoFlareAngle;  // degrees between the reflected Sun and the observer
    int Panel = 0;                // the panel (1-3) that comes closest
    Vec4 Centre{};                // where its reflected ray meets the sphere through the observer
    Angles3 CentrePoint{};        // the centre's latitude and longitude (rad)
    double Distance = 0.0;        // km from the satellite to the centre
    double Theta = 0.0;           // rad at the satellite between the centre and the Sun
    double CentreMagnitude = 0.0; // at the centre of the path
    double Magnitude = 0.0;       // at the observer, never brighter than at the centre
    double Elevation = 0.0;       // rad, the satellite seen from the observer
    double Azimuth = 0.0;         // rad
    double Bearing = 0.0;         // rad from the observer to the centre
    double CentreDistance = 0.0;  // km from the observer to the centre
    bool Sunlit = false;          // the satellite is in sunlight
};

// The flare of the panel closest to the observer's direction at the
// instant, with the Sun of that instant. Nothing when the satellite cannot be
// propagated or the Sun computed, when no panel faces the Sun, or when the
// reflected ray does not reach the sphere through the observer. Moves the
// observer to the instant.
std::optional<FlareGeometry> EvaluateFlare(TleRecord &record, double instant, ObserverRecord &observer);

// One satellite's flares inside the windows (the Sun below the "Sun <"
// altitude, or above it with "Day Flares"): one unsorted report line and one
// PassRecord each, for flares no fainter than the limit. `record` and
// `observer` are the caller's own copies, moved as the search goes. Stops
// between passes once `control` is cancelled.
PredictionResult SearchSatelliteFlares(TleRecord &record, ObserverRecord &observer, const PredictionInputs &inputs,
                                       const std::vector<WindowItem> &windows, const SearchControl &control);

// The whole report: title, report header, column header and the flare lines
// of every satellite of inputs.Satellites sorted as text (case ignored), or
// "No flares found."; the passes in satellite order. The satellites are searched in parallel
// (SearchSatellites); the result does not depend on the number of threads.
PredictionResult SearchIridiumFlares(const PredictionInputs &inputs, const SearchControl &control = {});
