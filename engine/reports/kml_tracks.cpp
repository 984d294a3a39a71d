// The ground tracks of a ground-track listing as KML lines.
#include "engine/reports/kml_export.h"

#include <cmath>
#include <string_view>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/vectors.h"
#include "engine/files/data_files.h"
#include "engine/reports/kml_document.h"
#include "engine/satellites/satellite_driver.h"

namespace {

// Fields of a track row as the ground-track search writes it (0-based start,
// length). Each is read from its own columns, so a wide Path value cannot run
// into the longitude.
struct Field {
    std::size_t start, length;
};
constexpr Field TimeField{0, 16};
constexpr Field LatitudeField{16, 10};
constexpr Field LongitudeField{26, 11};
constexpr Field PathField{37, 6};

// Half-widths up to this (in the listing's unit) get no limit lines.
constexpr double NarrowestLimits = 0.2;
// The half-width taken when the Path text is not a number.
constexpr double DefaultHalfWidth = 1.0;

std::string_view FieldText(std::string_view row, Field field)
{
    return field.start < row.size() ? TrimText(row.substr(field.start, field.length)) : std::string_view();
}

double FieldValue(std::string_view row, Field field, double otherwise)
{
    double value = 0.0;
    return ParseDecimal(FieldText(row, field), value) ? value : otherwise;
}

bool StartsLike(std::string_view line, std::string_view marker)
{
    return line.substr(0, 8) == marker.substr(0, 8);
}

bool IsEndLine(std::string_view line) { return TrimText(line) == "End of track"; }

// A row's point: latitude and longitude in radians, and as KML text.
struct RowPoint {
    Angles3 position;
    std::string text;
};

RowPoint ReadRow(std::string_view row)
{
    const double latitude = FieldValue(row, LatitudeField, 0.0);
    const double longitude = FieldValue(row, LongitudeField, 0.0);
    RowPoint point{Angles3{DegToRad(latitude), DegToRad(longitude), 0.0}, {}};
    // The listing's own text where it is a number, so the track keeps its
    // four decimals exactly.
    double value = 0.0;
    if (ParseDecimal(FieldText(row, LatitudeField), value) && ParseDecimal(FieldText(row, LongitudeField), value))
        point.text = std::string(FieldText(row, LongitudeField)) + "," + std::string(FieldText(row, LatitudeField));
    else
        point.text = KmlCoordinates(point.position.first, point.position.second);
    return point;
}

} // namespace

KmlWrite WriteTrackKml(const std::vector<std::string> &lines, ObserverRecord observer,
                       double listingDistanceFactor, std::string *error)
{
    KmlDocument document(observer);
    // The limits are laid off on the sphere through the observer.
    UpdateSiderealObserver(0.0, observer);
    const double radius = observer.Eci.w;
    const std::string trackName = lines.empty() ? std::string() : std::string(TrimText(lines[0]));
    std::string satellite;

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = TrimText(lines[i]);
        if (StartsLike(line, "Satellite:")) {
            satellite = line.size() > 10 ? std::string(TrimText(line.substr(10))) : std::string();
            continue;
        }
        if (!StartsLike(line, "MM/DD Time"))
            continue;

        // The rows follow the header up to the end line or the listing's end.
        std::size_t end = i + 1;
        while (end < lines.size() && !IsEndLine(lines[end]))
            ++end;
        const std::size_t first = i + 1, rows = end - first;
        i = end; // scanning resumes after the end line
        if (rows == 0)
            continue;

        const std::string_view firstRow = lines[first];
        const std::string timeText(FieldText(firstRow, TimeField));
        const double halfWidth = FieldValue(firstRow, PathField, DefaultHalfWidth);
        const bool withLimits = rows >= 2 && halfWidth > NarrowestLimits;
        // The course of the first two rows serves every row.
        double right = 0.0, left = 0.0;
        if (withLimits) {
            const double course =
                CalcInitialBearing(ReadRow(firstRow).position, ReadRow(lines[first + 1]).position);
            right = NormalizeAngle2Pi(course - HalfPi);
            left = NormalizeAngle2Pi(course + HalfPi);
        }
        const double distanceKm = halfWidth / (listingDistanceFactor > 0.0 ? listingDistanceFactor : 1.0);

        std::vector<std::string> track, rightLimit, leftLimit;
        for (std::size_t r = first; r < end; ++r) {
            const RowPoint point = ReadRow(lines[r]);
            track.push_back(point.text);
            if (!withLimits)
                continue;
            Angles3 side;
            CalcDestinationPoint(point.position, side, right, distanceKm, radius);
            rightLimit.push_back(KmlCoordinates(side.first, side.second));
            CalcDestinationPoint(point.position, side, left, distanceKm, radius);
            leftLimit.push_back(KmlCoordinates(side.first, side.second));
        }
        document.AddLine(trackName, KmlStyle::Track, satellite, track);
        document.AddStartPoint(satellite, timeText, track.front());
        document.AddLine("Right Limit", KmlStyle::Limit, satellite, rightLimit);
        document.AddLine("Left Limit", KmlStyle::Limit, satellite, leftLimit);
    }
    return document.Save(error);
}
