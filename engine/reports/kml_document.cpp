#include "engine/reports/kml_document.h"

#include <cstdint>
#include <utility>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"
#include "engine/files/data_files.h"
#include "engine/text/text_format.h"

namespace {

// What stands in for a byte that starts no valid UTF-8 sequence and for a
// control character: U+FFFD.
constexpr std::string_view Replacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when
// the bytes there are not one (stray continuation, overlong form, surrogate,
// beyond U+10FFFF, cut short).
std::size_t Utf8Sequence(std::string_view text, std::size_t i, std::uint32_t &code)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    std::size_t length;
    std::uint32_t minimum;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool IsControl(std::uint32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

const char *StyleUrl(KmlStyle style) { return style == KmlStyle::Track ? "#KYTStyle1" : "#KYTStyle2"; }

} // namespace

std::string KmlText(std::string_view text, std::size_t maxCharacters)
{
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < maxCharacters; ++characters) {
        std::uint32_t code = 0;
        const std::size_t length = Utf8Sequence(text, i, code);
        if (length == 0 || IsControl(code)) {
            out += Replacement;
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (code) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string KmlCoordinates(double latitude, double longitude)
{
    return FormatReport("%0:.4f,%1:.4f", {RadToDeg(NormalizeAnglePi(longitude)), RadToDeg(latitude)});
}

KmlDocument::KmlDocument(const ObserverRecord &observer)
{
    Line("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    Line("<kml xmlns=\"http://earth.google.com/kml/2.0\">");
    Line(" <Document>");
    for (const auto &[id, colour] : {std::pair{"KYTStyle1", "ff00ffff"}, std::pair{"KYTStyle2", "ffff00ff"}}) {
        Line(std::string("  <Style id=\"") + id + "\">");
        Line("   <LineStyle>");
        Line(std::string("     <color>") + colour + "</color>");
        Line("     <width>2</width>");
        Line("     <tessellate>1</tessellate>");
        Line("    </LineStyle>");
        Line("  </Style>");
    }
    Line("  <Placemark>");
    Line("   <name>" + KmlText(observer.Name.str(), 80) + "</name>");
    Line("   <description>Observer Location</description>");
    Line("     <Point>");
    Line("      <coordinates>" + KmlCoordinates(observer.Latitude, observer.Longitude) + "</coordinates>");
    Line("     </Point>");
    Line("  </Placemark>");
}

void KmlDocument::Line(std::string_view text)
{
    text_.append(text);
    text_ += "\r\n";
}

void KmlDocument::AddLine(std::string_view name, KmlStyle style, std::string_view description,
                          const std::vector<std::string> &points)
{
    if (points.size() < 2)
        return;
    Line("  <Placemark>");
    Line("   <name>" + KmlText(name) + "</name>");
    Line(std::string("   <styleUrl>") + StyleUrl(style) + "</styleUrl>");
    Line("   <description>" + KmlText(description) + "</description>");
    Line("    <LineString>");
    Line("      <coordinates>");
    for (const std::string &point : points)
        Line("        " + point);
    Line("      </coordinates>");
    Line("    </LineString>");
    Line("  </Placemark>");
}

void KmlDocument::AddStartPoint(std::string_view name, std::string_view timeText, std::string_view point)
{
    Line("  <Placemark>");
    Line("   <name>" + KmlText(name) + "</name>");
    Line("   <description>Start Point Time - " + KmlText(timeText) + "</description>");
    Line("     <Point>");
    Line("      <coordinates>");
    Line("       " + std::string(point));
    Line("      </coordinates>");
    Line("     </Point>");
    Line("  </Placemark>");
}

KmlWrite KmlDocument::Save(std::string *error)
{
    Line("</Document>");
    Line("</kml>");
    return SaveFileAtomically(DataDir + GoogleTracksFileName, text_, error) ? KmlWrite::Written
                                                                            : KmlWrite::Failed;
}
