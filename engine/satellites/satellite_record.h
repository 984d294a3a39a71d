// The program's satellite record and the state record of one satellite or
// body at one instant.
//
// TleRecord is also the record image of every satellite set file, so its
// layout is fixed byte for byte (little-endian, natural alignment gives the
// stored offsets; every one is locked below). Records are copied whole, work
// area included, and a copy propagates on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "engine/files/data_files.h"
#include "engine/astronomy/geodesy.h"
#include "satellite.h"

// The propagator's work area: the near-earth or the deep-space parameter
// block, by TleRecord::DeepSpace. Plain bytes, no pointers, so a stored or
// copied record keeps propagating.
union PropagatorWorkArea {
    std::uint8_t Bytes[832];
    sgp4_params Sgp4;
    sdp4_params Sdp4;
};
static_assert(sizeof(PropagatorWorkArea) == 832);

struct TleRecord {
    element_set Elements{};        // filled by parse_elements
    PropagatorWorkArea Params{};   // filled by SGP4_init or SDP4_init
    double MeanMotion = 0.0;       // revolutions a day, as written in line 2
    double Period = 0.0;           // minutes, 1440 / MeanMotion
    double PerigeeHeight = 0.0;    // km above 6378.137 km, when asked for
    double ApogeeHeight = 0.0;     // km above 6378.137 km, when asked for
    std::uint8_t DeepSpace = 0;    // 1: SDP4, otherwise SGP4
    std::uint8_t Padding0[7] = {};
    double StdMagnitude = 8.0;     // at 1000 km and half lit; 8.0 when unknown
    std::uint8_t Decayed = 0;      // 1 after a propagation put it inside the Earth
    std::uint8_t Selected = 0;     // 1: displayed in the main window
    ShortString<20> Name;
    ShortString<5> Number;         // catalogue number text
    std::uint8_t Padding1[3] = {};
};

static_assert(std::is_trivially_copyable_v<TleRecord>);
static_assert(sizeof(element_set) == 104);
static_assert(sizeof(TleRecord) == 1016);
static_assert(offsetof(TleRecord, Elements) == 0);
static_assert(offsetof(TleRecord, Params) == 104);
static_assert(offsetof(TleRecord, MeanMotion) == 936);
static_assert(offsetof(TleRecord, Period) == 944);
static_assert(offsetof(TleRecord, PerigeeHeight) == 952);
static_assert(offsetof(TleRecord, ApogeeHeight) == 960);
static_assert(offsetof(TleRecord, DeepSpace) == 968);
static_assert(offsetof(TleRecord, StdMagnitude) == 976);
static_assert(offsetof(TleRecord, Decayed) == 984);
static_assert(offsetof(TleRecord, Selected) == 985);
static_assert(offsetof(TleRecord, Name) == 986);
static_assert(offsetof(TleRecord, Number) == 1007);

// A satellite set: the main and sky sets in memory, and every set file.
using tlearray = std::vector<TleRecord>;

// Body codes of TargetState::BodyId; 1-11 are the ephemeris' own numbers.
enum BodyId : std::int32_t {
    BodyMercury = 1,
    BodyVenus = 2,
    BodyEarth = 3,
    BodyMars = 4,
    BodyJupiter = 5,
    BodySaturn = 6,
    BodyUranus = 7,
    BodyNeptune = 8,
    BodyPluto = 9,
    BodyMoon = 10,
    BodySun = 11,
    BodySkyPoint = 12, // a fixed right ascension and declination
    BodyStar = 13,
};

// Which coordinates a propagation or body update derives beyond the
// position (any value not listed derives nothing).
enum StateMode : std::int32_t {
    ModeNothing = 0,
    ModeAll = 1,               // RaDec, Elevation/Azimuth, SubPoint
    ModeRaDec = 2,             // RaDec
    ModeSubPoint = 3,          // SubPoint
    ModeRaDecHorizon = 4,      // RaDec, Elevation/Azimuth
    ModeRaDecSubPoint = 5,     // RaDec, SubPoint
    ModeGeocentricRaDec = 6,   // bodies only: geocentric RaDec
};

// One satellite or body at one instant.
struct TargetState {
    Vec4 Position{};      // geocentric inertial, km (satellites of date, bodies J2000)
    Vec4 Velocity{};      // km/s, satellites only; w is the speed
    Angles3 RaDec{};      // J2000 right ascension, declination (rad), range (km)
    Angles3 SubPoint{};   // geodetic latitude, longitude in [-pi, pi] (rad), height (km)
    double Elevation = 0.0; // rad above the horizon
    double Azimuth = 0.0;   // rad, 0..2pi from north through east
    std::uint8_t Lit = 0;   // satellite in sunlight
    std::int32_t BodyId = 0; // BodyId code for bodies
    std::int32_t Mode = ModeNothing; // StateMode
};
static_assert(sizeof(TargetState) == 144);
