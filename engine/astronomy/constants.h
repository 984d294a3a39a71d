// Constants shared by the whole engine; each has one definition here.
#pragma once

#include <numbers>

inline constexpr double J2000 = 2451545.0;               // Julian date of 2000 January 1.5
inline constexpr double DaysPerCentury = 36525.0;        // Julian century
inline constexpr double DaysPerYear = 365.25;            // Julian year
inline constexpr double JulianDateOfDayZero = 2415018.5; // instant 0 = 1899-12-30 0h UTC
inline constexpr double ModifiedJulianOffset = 2400000.5;

inline constexpr double Pi = std::numbers::pi;
inline constexpr double HalfPi = Pi / 2.0;
inline constexpr double ThreeHalfPi = 3.0 * Pi / 2.0;
inline constexpr double TwoPi = 2.0 * Pi;
inline constexpr double DegreesPerCircle = 360.0;

inline constexpr double EarthRadiusMetres = 6378137.0;   // equatorial radius a
inline constexpr double EarthRadiusKm = 6378.137;
inline constexpr double PolarRadiusKm = 6356.7523142;    // polar radius b
inline constexpr double EarthAxisRatio = 0.9966471893352525; // b / a
inline constexpr double EarthFlattening = 0.003352810664747; // 1 - b / a
inline constexpr double AstronomicalUnitKm = 149597870.6996262;
inline constexpr double SpeedOfLightKmPerDay = 25902068371.2;

constexpr double DegToRad(double degrees) { return degrees * (Pi / 180.0); }
constexpr double RadToDeg(double radians) { return radians * (180.0 / Pi); }
