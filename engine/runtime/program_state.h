// The engine's shared state: one instance of each for the whole run. The
// clock tick and the windows read and write it on the user-interface thread;
// worker tasks take copies of what they need when they start and never
// write it.
#pragma once

#include <vector>

#include "engine/satellites/satellite_record.h"
#include "engine/runtime/worker_tasks.h"

// The instant shown (day count since 1899-12-30, UTC).
extern double CurrentTime;
// Signed milliseconds of simulated time added by each clock tick.
extern int Step;
// Next rise and set of the selected satellite; equal values ask for a fresh
// search from the current instant.
extern double AosTime;
extern double LosTime;
// Greenwich mean sidereal time (rad) at CurrentTime.
extern double SiderealTime;

// The main satellite set (the one the main window shows) and the sky set.
extern tlearray MainList;
extern tlearray SkyList;

// Entry j: the j-th selected record of MainList at CurrentTime.
extern std::vector<TargetState> SatStates;
// The bodies drawn: the Moon and the Sun (entries 0 and 1) in the map and
// globe views; Mercury, Venus, Mars to Pluto, the Moon and the Sun (entries
// 0 to 9) in the sky view.
extern std::vector<TargetState> BodyStates;
// The highest BodyStates index in use (-1 while there is none).
extern int BodyCount;

// The selected satellite: its index in SatStates and in MainList.
extern int SelectedPos;
extern int SelectedMain;

// Display factor of distances: 1.0 for km, 0.621371 for miles.
extern double DistanceFactor;

// Set while the automatic download or a download of the download window runs.
extern RunningFlag DownloadRunning;
