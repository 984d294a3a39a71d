// "Options.bin" of any content: whatever it holds, the settings loaded are
// usable (no zero or non-finite divisor, a known view mode, valid strings)
// and save back to a full-size file.
#include "engine/files/settings.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    OptionsRecord options;
    OptionsViewState view;
    OptionsFromBytes(std::string_view(reinterpret_cast<const char *>(data), size), options, view);
    const bool usable = std::isfinite(options.SkyZoom) && options.SkyZoom > 0 && std::isfinite(options.GlobeScale) &&
                        options.GlobeScale > 0 && options.ViewMode >= ViewModeMap && options.ViewMode <= ViewModeGlobe &&
                        options.FontName.lengthValid() && options.MapFile.lengthValid() &&
                        options.IridiumFile.lengthValid() && options.SkySatFile.lengthValid() &&
                        options.UpdateFolder.lengthValid() && std::isfinite(view.CentreAlt) && std::isfinite(view.CentreAz);
    if (!usable || OptionsToBytes(options, view).size() != OptionsFileSize)
        std::abort();
    return 0;
}
