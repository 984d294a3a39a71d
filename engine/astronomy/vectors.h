// Vector operations over Vec4, angle reductions and the photometric models:
// sunlight, magnitude and illuminated fraction.
//
// Every function that writes a Vec4 stores its length in w; functions that
// need a length read the stored w where noted, so callers must keep it true.
// A vector of zero length has no direction: wherever the cosine of an angle
// with such a vector is needed it is taken as 0 (the angle as pi/2).
#pragma once

#include <optional>

#include "satellite.h"

// Length of (x, y, z), ignoring the stored w.
double VectorMagnitude(const Vec4 &v);
// A vector with its length stored.
Vec4 MakeVector(double x, double y, double z);

// c = a - b.
void SubtractVector(const Vec4 &a, const Vec4 &b, Vec4 &c);
// w = k v.
void ScaleVector(const Vec4 &v, Vec4 &w, double k);
// w = v / |v| using the stored length; w is left untouched when it is not > 0.
void NormalizeVector(const Vec4 &v, Vec4 &w);
// Distance between the points a and b.
double CalcVectorDistance(const Vec4 &a, const Vec4 &b);
// Angle between a and b (rad) from their stored lengths.
double CalcVectorAngle(const Vec4 &a, const Vec4 &b);
// Angle APB at the vertex p (rad); both arms' lengths are computed afresh.
double CalcSeparationAngle(const Vec4 &p, const Vec4 &a, const Vec4 &b);
// Distance along a ray to the near intersection with a sphere, or to the
// point of closest approach when the ray misses: c is the angle between the
// ray and the direction to the centre, b the origin's distance from the
// centre, a the radius.
double CalcRaySphereDistance(double c, double b, double a);

// x reduced to [-pi, pi]; values already in the closed range are returned as given.
double NormalizeAnglePi(double x);
// x reduced to [0, 2pi]; values already in the closed range are returned as given.
double NormalizeAngle2Pi(double x);

// Whether a satellite is in sunlight (spherical Earth, no penumbra). Both
// vectors are geocentric and must be in the same frame: the satellite in the
// frame of date, so a J2000 Sun is first carried to the date with
// PrecessVectorFromJ2000 (engine/geodesy.h). A position on or inside the
// Earth (a decayed satellite) is never sunlit.
bool IsSunlit(const Vec4 &satellite, const Vec4 &sun);
// Apparent magnitude from the standard magnitude (1000 km, half lit), the
// range in km and the illuminated fraction.
double CalcSatMagnitude(double standardMagnitude, double range, double fraction);
// Fraction of the target lit as seen by the observer, in [0, 1]. All three
// vectors are geocentric in one frame (observer and satellites of date: a
// J2000 Sun or Moon is precessed to the date first).
double CalcIlluminatedFraction(const Vec4 &observer, const Vec4 &target, const Vec4 &sun);
// Apparent magnitude of a satellite `range` km from the observer, from its
// standard magnitude and the part of it lit as the observer sees it; none
// while it is in the Earth's shadow, where it has no brightness to show.
// Vectors as for IsSunlit and CalcIlluminatedFraction.
std::optional<double> CalcSunlitMagnitude(double standardMagnitude, double range, const Vec4 &observer,
                                          const Vec4 &satellite, const Vec4 &sun);
