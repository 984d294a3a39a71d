// Brings satellite sets up to date from the element text files of the
// update folder, where downloads land: the main set on a task of its own,
// the satellite selector's working list on the user-interface thread.
#pragma once

#include "engine/runtime/ui_hooks.h"
#include "engine/runtime/worker_tasks.h"
#include "engine/satellites/satellite_record.h"

#include <string>
#include <vector>

// Task code of the main list update.
constexpr ThreadTag MainListUpdateTaskTag = 99;

// Appends the names (without folder) of the ".tle" files of folder, the
// extension in any case, sorted by name. False when there is none.
bool ListTleFiles(const std::string &folder, std::vector<std::string> &list);

// Gives each record of set a later element set of its catalogue number from
// the ".tle" files of folder: within one file the first set later than the
// record's epoch, across files the latest. Elements, derived values and the
// model change; name, number, magnitude and flags stay. Pairs whose epoch or
// elements do not read are passed over, and so are files that cannot be
// read. Sets dated more than a few days after the computer's clock are
// never taken (a record already holding such a set takes any other), and
// are counted in futureSets. True when any record got new elements.
bool UpdateElementsFromTleFiles(tlearray &set, const std::string &folder, int *futureSets = nullptr);

// What an update tells the user: whether it replaced any element set, the
// number of sets it left out for their future dates and, when even the
// newest set of `set` (the set as updated) is over a month old, its age and
// how to get current sets, ending with the update's own `command` to choose
// again ("Update Main List", the selector's "Update").
std::string UpdateResultText(bool replaced, int futureSets, const tlearray &set, const std::string &command);

// On the user-interface thread, after an update of a copy of MainList (by
// task 99 or a download): each record of MainList whose catalogue number
// updated holds with a later epoch takes those elements (the main set may
// have changed while the copy was updated). Then the main window is
// refreshed when any did. Returns the message that tells the result
// (UpdateResultText for MainList).
UserMessage ApplyUpdatedMainList(const tlearray &updated, int futureSets = 0);

// Task 99: updates set, a copy of MainList taken when the task started, from
// folder and hands it to ApplyUpdatedMainList on the user-interface thread,
// which shows its message.
void UpdateMainListThread(tlearray set, const std::string &folder);
