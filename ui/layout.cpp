#include "layout.h"

#include <algorithm>
#include <cmath>

namespace ui {

float heldInPixels(float twips, float twipsPerPixel) {
    return static_cast<float>(std::lround(twips / twipsPerPixel)) * twipsPerPixel;
}

LayoutPass layoutPass(float width, float height, float twipsPerPixel, float cmdtolTop) {
    using P = LayoutMove::Property;
    LayoutPass pass;
    auto set = [&pass](std::string_view control, P property, float twips) {
        pass.moves.push_back({control, property, twips});
    };
    set("Frame1", P::Left, 100);
    set("Frame1", P::Top, height - 2000);
    set("Text1", P::Left, 50);
    set("Text1", P::Top, 50);
    // Below 1500 x 2200 twips the workspace would get a negative size; it gets none instead and
    // the minimum-size step below restores the window.
    const float textWidth = std::max(0.0f, width - 1500);
    const float textHeight = std::max(0.0f, height - 2200);
    set("Text1", P::Width, textWidth);
    set("Text1", P::Height, textHeight);
    const float w = heldInPixels(textWidth, twipsPerPixel);
    const float h = heldInPixels(textHeight, twipsPerPixel);
    const float top = heldInPixels(cmdtolTop, twipsPerPixel);
    set("cmdtol", P::Left, w + 120);
    set("cmdtos", P::Left, w + 720);
    for (std::string_view name : {"Check1", "cmdend", "cmdabout", "cmdcopy", "cmdclear", "cmdpaste", "cmdjt"})
        set(name, P::Left, w + 120);
    set("cmdft", P::Left, w + 720);
    set("cmdmoney", P::Left, w + 120);
    set("CmdGetPY", P::Left, w + 120);
    set("cmdabout", P::Top, h - 1200);
    set("Check1", P::Top, h - 800);
    set("cmdend", P::Top, h - 360);
    set("cmdtos", P::Top, top);
    set("cmdmoney", P::Top, top + 500);
    set("cmdclear", P::Top, top + 1500);
    set("cmdcopy", P::Top, top + 1900);
    set("cmdpaste", P::Top, top + 2400);
    set("cmdjt", P::Top, 100);
    set("cmdft", P::Top, 100);
    if (height < kMinimumHeight)
        pass.newHeight = kMinimumHeight;
    else if (width < kMinimumWidth)
        pass.newWidth = kMinimumWidth;
    return pass;
}

} // namespace ui
