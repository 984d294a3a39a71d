// The two satellite sets derived from element text files that the settings
// name: the Iridium set "IridSat.bin" of the flare search, and the sky set
// "SkySat.bin" (the satellites the names file gives a standard magnitude for)
// that the sky view draws from SkyList.
#pragma once

#include <mutex>
#include <string>

#include "engine/files/element_files.h"

// One TleRecord per element record, in list order, with name, number and
// magnitude copied and the propagator set up; a record whose lines do not
// parse stays with no propagator (its propagation then fails). Written to
// path; false when the file could not be written.
bool ConvertElementList(const ElementList &list, const std::string &path, std::string *error = nullptr);

// Rebuilds DataDir + "IridSat.bin" from Options.IridiumFile: the sets of the
// satellites that can flare, whose name holds "IRIDIUM" and neither "DEB"
// nor the file's out-of-service mark "[-]" (all case-sensitive) and that
// were launched before 2017 (the first generation). An empty source name
// deletes the set file. False when nothing was written.
bool BuildIridiumFile(std::string *error = nullptr);

// Rebuilds DataDir + "SkySat.bin" from Options.SkySatFile and the names file
// and makes it the new SkyList: every satellite found in both, once, in
// ascending catalogue number, with the names file's standard magnitude (8.0
// when its column is blank). A source read whole that holds no element set
// clears Options.SkySatFile; one that cannot be read keeps it and says why in
// *error. False, with SkyList unchanged, when nothing was built.
bool BuildSkyFile(std::string *error = nullptr);

// Guards SkyList: whoever replaces it or walks it (the sky view's drawing,
// which also propagates its records) holds this lock, so a rebuild never
// pulls the set away from a drawing in progress on another thread.
extern std::mutex SkyListMutex;

// Replaces SkyList under SkyListMutex.
void ReplaceSkyList(tlearray list);
