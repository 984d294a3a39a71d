// Drives the orbit library over TleRecords: turns element lines into a ready
// satellite, propagates it to an instant with the coordinates its state asks
// for, and keeps the main window's selected satellites current.
//
// The observer is passed explicitly. The clock tick passes the global
// Observer; a worker task passes its own copy, taken when it starts, so its
// inertial position (written by UpdateSiderealObserver) belongs to the
// task's instant and never to the tick's.
#pragma once

#include <string>

#include "engine/satellites/satellite_record.h"
#include "engine/files/settings.h"

struct ElementRecord;

// Parses two element lines into record.Elements and sets MeanMotion, Period,
// DeepSpace and, with withHeights, PerigeeHeight and ApogeeHeight. Returns
// parse_elements' result (0..3: checksum flags of line 1 and 2), its negative
// format code, or -1 when the numbers give no orbit (a mean motion of 0, an
// eccentricity of 1 or more). On any negative result the record is left
// exactly as it was. The model is not initialised here.
int ParseSatElements(const std::string &line1, const std::string &line2, TleRecord &record,
                     bool withHeights);

// (Re)initialises the record's work area from its own Elements with the model
// its DeepSpace flag selects. Needed after new elements, and for every record
// read from a set file (SatRecordsFromBytes calls it), whose stored work area
// may come from another build.
void InitSatelliteModel(TleRecord &record);

// Takes an element record into record when its mean motion lies strictly
// between the two bounds and its lines parse: name, number, magnitude,
// elements, then the model. False, with record untouched, otherwise.
bool LoadSatFromElementRecord(TleRecord &record, const ElementRecord &element, bool withHeights,
                              double lowerMeanMotion, double upperMeanMotion);

// Greenwich mean sidereal time (rad) at the instant; writes the observer's
// inertial position at that instant into observer.Eci.
double UpdateSiderealObserver(double instant, ObserverRecord &observer);

// Propagates record to the instant (gmst from UpdateSiderealObserver for the
// same instant and observer) and derives what state.Mode asks for. True when
// state holds the new position. A failed propagation (a library error, a
// position that is not a number, or a decay, which sets record.Decayed)
// returns false and leaves state as it was.
bool PropagateSatellite(TleRecord &record, TargetState &state, double gmst, double instant,
                        const ObserverRecord &observer);

// Elevation (rad) of state.Position above the observer's horizon plane, the
// plane perpendicular to the geodetic vertical (the ellipsoid normal at the
// observer's latitude, turned to the sidereal angle of the instant
// observer.Eci was computed for): the horizon of the data fields and the sky
// view, so a search's threshold and the shown elevation agree. The position must
// be in the observer's frame of date: a satellite's is; a body's J2000
// Position is first carried to the date with PrecessVectorFromJ2000, or the
// elevation is off by up to the precession since J2000 (0.35 degrees in 2025).
double CalcTargetElevation(const TargetState &state, const ObserverRecord &observer);

// Whether state mode `mode` derives a right ascension and declination (1, 2, 4, 5).
bool DerivesRaDec(int mode);

// Derives the coordinates of state.Mode (1 to 5) for a geocentric position
// in the frame of date: topocentric RaDec carried to J2000, Elevation and
// Azimuth from the coordinates of date, SubPoint. Satellites and bodies share
// it; other modes derive nothing.
void DeriveStateCoordinates(TargetState &state, const Vec4 &positionOfDate, double gmst,
                            double julianDate, const ObserverRecord &observer);

// Propagates every selected record of MainList into SatStates (entry k for
// the k-th selected record) at CurrentTime with SiderealTime and the global
// Observer, and sets the sunlit flag of each one that propagated from the
// Sun's entry of BodyStates. Runs on the user-interface thread.
void UpdateSelectedSatellites();
