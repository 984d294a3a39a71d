// Carrying positions between the program's frames (geodetic, inertial of
// date, topocentric and geocentric equatorial, horizontal) and the ground
// geodesy of the transit, flare and ground-track searches. Angles in
// radians, distances in km, the observer's height in metres.
#pragma once

#include <optional>

#include "satellite.h"

// Three values read as latitude, longitude and height; as right ascension,
// declination and range; or as elevation and azimuth.
struct Angles3 {
    double first = 0.0;
    double second = 0.0;
    double third = 0.0;
};

// Distance in km on the ellipsoid between two (latitude, longitude) points;
// 0 for identical points.
double CalcEllipsoidDistance(const Angles3 &point1, const Angles3 &point2);
// Initial bearing on the sphere from start to end, from north through east.
double CalcInitialBearing(const Angles3 &start, const Angles3 &end);
// Point reached on a sphere of the given radius (same unit as the distance)
// going from start along the bearing; destination's third value is 1.0.
void CalcDestinationPoint(const Angles3 &start, Angles3 &destination, double bearing,
                          double distance, double radius);
// Geodetic latitude, longitude in [-pi, pi] and height in km under an
// inertial (frame of date) position, whose stored length is used.
void CalcSubPoint(const Vec4 &position, Angles3 &subPoint, double gmst);
// Observer's inertial position (frame of date) in km.
void CalcObserverECI(Vec4 &eci, double rhoCosPhi, double rhoSinPhi, double longitude, double gmst);
// Topocentric right ascension [0, 2pi], declination and range of a target
// seen from an observer, both inertial in the same frame.
void CalcTopoRaDec(const Vec4 &target, const Vec4 &observer, Angles3 &raDec);
// Altitude and azimuth for the observer (latitude, longitude, height). With
// an instant the right ascension and declination are J2000 and are carried to
// the date first; without one they are already of date.
void EquToHorizontal(const Angles3 &observer, const Angles3 &raDec, double &altitude,
                     double &azimuth, std::optional<double> instant, double gmst);
// Right ascension and declination (of date, or J2000 when an instant is
// given) of an altitude and azimuth; the distance is set to 100 AU.
void HorizontalToEqu(const Angles3 &observer, double altitude, double azimuth, Angles3 &raDec,
                     std::optional<double> instant, double gmst);
// Geocentric right ascension, declination and distance (the stored length).
void CalcGeoRaDec(const Vec4 &v, Angles3 &raDec);
// Vector of a right ascension, declination and distance.
void SphericalToCartesian(const Angles3 &raDec, Vec4 &v);
// A geocentric J2000 vector (ephemeris body, star, sky point) carried to the
// frame of date, so it can be compared with satellites and the observer.
void PrecessVectorFromJ2000(const Vec4 &j2000, Vec4 &ofDate, double julianDate);
// A geocentric vector of date (the observer) carried back to J2000.
void PrecessVectorToJ2000(const Vec4 &ofDate, Vec4 &j2000, double julianDate);
