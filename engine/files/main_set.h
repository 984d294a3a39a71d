// The main satellite set's file: "MainSat.bin" in the data folder, read into
// MainList at start-up and written back at exit. A file that could not be
// read whole (unreadable, or damaged) is left as it is at exit unless the
// user changed the set in this run, so what the user had in it is never
// lost to a start that could not read it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/satellites/satellite_record.h"

// Whether a stored record holds a satellite: elements the orbit library
// accepts (finite numbers, eccentricity 0..1, mean motion above 0), finite
// mean motion, period and magnitude, and a printable name and number.
bool IsSoundSatRecord(const TleRecord &record);

// The sound records of a set file image (whole records, at most
// MaxSatFileRecords, each with its propagator set up again); dropped counts
// the records that are not.
tlearray SoundSatRecordsFromBytes(std::string_view bytes, std::size_t &dropped);

struct MainSetReading {
    tlearray records;
    // The file was missing or read whole: writing MainList over it at exit
    // loses nothing.
    bool whole = true;
    // What the user is told, naming the file and why; empty when all is well.
    std::string problem;
};

// DataDir + "MainSat.bin": the one name the set is read and written under
// (an older "mainsat.bin" is the same file, names in the data folder match
// without regard to case).
std::string MainSetPath();

// Reads MainSetPath(). No file gives an empty, whole set.
MainSetReading ReadMainSetFile();

// Whether MainList may be written over the file at exit: set when start-up
// took a set that was read whole, and by MainSetChanged. False until then.
bool MainSetSavable();
void SetMainSetSavable(bool savable);
// Every command that changes MainList for the user calls this: the set is
// then the user's, and saving it is what the user wants.
void MainSetChanged();
