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

// The windows of the span the flares are searched in: the Sun below the
// "Sun <" altitude, or above it with "Day Flares".
std::vector<WindowItem> FlareWindows(const PredictionInputs &inputs, ObserverRecord observer);

// One satellite's flares inside the windows: one unsorted report line and
// one PassRecord each, for flares no fainter than the limit.
PredictionResult SearchSatelliteFlares(TleRecord record, const PredictionInputs &inputs,
                                       const std::vector<WindowItem> &windows, ObserverRecord observer);

// The whole report: title, report header, column header and the flare lines
// of every satellite of inputs.Satellites sorted as text (case ignored); the
// passes in satellite order.
PredictionResult SearchIridiumFlares(const PredictionInputs &inputs);
