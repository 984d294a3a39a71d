// Sidereal time, the observer's geocentric terms, refraction, the position
// angle and the approximate precession between J2000 and the date. There is
// no nutation or aberration anywhere: mean sidereal time serves throughout.
#pragma once

#include "engine/astronomy/geodesy.h"

// Greenwich mean sidereal time (rad, [0, 2pi]) at a Julian date (UT).
double CalcGMST(double julianDate);
// rho sin phi' and rho cos phi' (equatorial radii) of an observer given as
// geodetic latitude (rad), longitude (not read) and height in metres.
void CalcObserverRho(const Angles3 &observer, double &rhoSinPhi, double &rhoCosPhi);
// Refraction at an altitude in degrees, pressure in mbar and temperature in
// degrees Celsius; radians, negative. Altitudes below -1.7 degrees, where
// the fit stops growing, give the value at -1.7 degrees.
double CalcRefraction(double altitudeDegrees, double pressureMbar, double temperatureCelsius);
// Apparent altitude of the horizon (rad, negative) for an observer at a
// height in metres: refraction at 1013 mbar and 20 C at minus the dip angle.
double CalcHorizonAltitude(double heightMetres);
// Position angle in [0, pi] of the second pair (a2, b2) towards the first
// (a1, b1); each pair is the first two values of an Angles3.
double CalcParallacticAngle(const Angles3 &first, const Angles3 &second);
// Right ascension and declination carried from J2000 to the date (and back);
// the third value is copied. The right ascension is not reduced.
void PrecessFromJ2000(const Angles3 &source, Angles3 &target, double julianDate);
void PrecessToJ2000(const Angles3 &source, Angles3 &target, double julianDate);
