// The text of the satellite information window.
#pragma once

#include "engine/satellites/satellite_record.h"

#include <string>
#include <vector>

// The lines listing record's elements and derived values; distances are
// multiplied by distanceFactor and named "km" when metric, else "mi.". With
// no record only the name line, "None".
std::vector<std::string> SatelliteInfoLines(const TleRecord *record, double utcOffset, bool metric,
                                            double distanceFactor);
