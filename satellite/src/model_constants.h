// Constants of the SGP4/SDP4 models (WGS-72 Earth, units of Earth radii and
// minutes) as the library writes them.
#pragma once

namespace satellite {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

inline constexpr double kXke = 0.07436691613317341;   // sqrt(GM), Earth radii^1.5 per minute
inline constexpr double kCk2 = 5.41308e-4;            // J2 / 2
inline constexpr double kCk4 = 6.2098875e-7;          // -3/8 J4
inline constexpr double kA3ovk2 = 0.004690139440023056; // -J3 / CK2
inline constexpr double kQoms2t = 1.8802791590152705e-9;
inline constexpr double kS = 1.0122292801892716;
inline constexpr double kXkmper = 6378.135;           // the model's Earth radius, km
inline constexpr double kTwoThirds = 0.6666666666666666;
inline constexpr double kMinutesPerDay = 1440.0;

}  // namespace satellite
