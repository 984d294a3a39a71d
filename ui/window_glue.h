// Routines several windows share: the main window's satellite boxes, the
// coordinates each displayed satellite needs, and the program's file dialogs.
#pragma once

#include "engine/satellites/satellite_record.h"

#include <array>
#include <cstddef>
#include <string>

// At most this many satellites are displayed in the main window.
constexpr std::size_t MaxDisplayedSatellites = 15;

// Entry k: the MainList index of the satellite at position k of the boxes.
extern std::array<int, MaxDisplayedSatellites> ComboToMain;

// Keeps a loaded main set within what the window can show: the Selected
// byte of every record after the first MaxDisplayedSatellites selected ones
// is cleared, and a short string whose length byte runs past its field is
// cut to the field. Returns the number of selections cleared.
std::size_t ClampMainSet(tlearray &list);

// Rebuilds both satellite boxes, ComboToMain, SatStates, SelectedMain and
// SelectedPos from MainList, then SetDisplayListStyles.
void FillMainSatelliteCombos();

// Sets the derived coordinates of every SatStates entry for the view.
void SetDisplayListStyles();

// Kind 1 opens an element file, kind 2 saves a text file; fileName receives
// the chosen path, empty when cancelled (untouched for any other kind).
void SelectFile(int kind, std::string &fileName);
