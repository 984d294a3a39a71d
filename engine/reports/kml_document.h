// The pieces both KML writers share: the document head with the two line
// styles and the observer's placemark, line and start-point placemarks, the
// document end and the file's replacement.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/files/settings.h"
#include "engine/reports/kml_export.h"

enum class KmlStyle { Track, Limit }; // "#KYTStyle1" yellow, "#KYTStyle2" magenta

class KmlDocument {
public:
    // The head and the observer's placemark.
    explicit KmlDocument(const ObserverRecord &observer);

    // A line placemark; names and descriptions are plain text. Nothing for
    // fewer than two points: a line needs two.
    void AddLine(std::string_view name, KmlStyle style, std::string_view description,
                 const std::vector<std::string> &points);
    void AddStartPoint(std::string_view name, std::string_view timeText, std::string_view point);

    // Ends the document and replaces DataDir + GoogleTracksFileName by it.
    KmlWrite Save(std::string *error);

private:
    void Line(std::string_view text);
    std::string text_;
};

// "longitude,latitude" in degrees with four decimals, the longitude in
// [-180, 180], from radians.
std::string KmlCoordinates(double latitude, double longitude);
