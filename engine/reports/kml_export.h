// The KML file that the prediction window hands to the desktop: the ground
// tracks of a ground-track listing, or the centre lines of Iridium flares on
// the ground, after the observer's placemark. KML 2.0, lines ended by CR LF,
// numbers with '.' whatever the locale.
//
// The file DataDir + GoogleTracksFileName is replaced whole at each export
// (written beside it and renamed over it); the main window deletes it at exit.
#pragma once

#include <string>
#include <vector>

#include "engine/files/settings.h"
#include "engine/searches/prediction_inputs.h"

inline constexpr const char *GoogleTracksFileName = "KYT_Google_Tracks.kml";

enum class KmlWrite {
    Written,        // the file is complete
    NothingToWrite, // no flare in the list: no file was written
    Failed,         // the file could not be written (message in *error)
};

// The tracks of a ground-track listing as the result box holds it (rows in
// fixed columns: time 1-16, latitude 17-26, longitude 27-37, path half-width
// 38-43). Each track becomes a yellow line with a start point and, for a
// half-width above 0.2, magenta limit lines that far on either side of it.
// listingDistanceFactor is the listing's unit (1.0 km, 0.621371 miles). A
// listing without tracks gives the observer's placemark alone.
KmlWrite WriteTrackKml(const std::vector<std::string> &lines, ObserverRecord observer,
                       double listingDistanceFactor, std::string *error = nullptr);

// For each flare, the ground line where its reflected sunlight falls over
// the 20 s about it (points 2 s apart from 8 s before the flare; the point
// 10 s after the start is the flare itself), and its start point.
// displayOffset (days) is added to the times shown. NothingToWrite for an
// empty list.
KmlWrite WriteFlareKml(const PassList &passes, ObserverRecord observer, double displayOffset,
                       std::string *error = nullptr);

// Text as KML element content: invalid UTF-8 and control characters are
// replaced, & < > " escaped. At most maxCharacters characters (code points)
// of the text are kept, cut before escaping.
std::string KmlText(std::string_view text, std::size_t maxCharacters = std::string::npos);
