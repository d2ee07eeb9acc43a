#include "app/layout.h"

#include <algorithm>
#include <cmath>

namespace orvando {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kClientWidth = 8205;
constexpr int kClientHeight = 3090;

struct TwipBox {
    int left, top, width, height;
};
// By Shown.
constexpr TwipBox kDesigned[kShownCount] = {
    {1080, 240, 2055, 855},   // rename
    {1080, 1320, 2055, 855},  // unrename
    {1080, 2400, 2055, 495},  // cmdErrorHelp
    {0, 0, 720, 720},         // Image1
    {0, 2160, 720, 720},      // Image2
};

}  // namespace

WindowLayout::WindowLayout(double pixelsPerInch, const std::array<int, kButtonCount>& labelWidths,
                           int captionWidth)
    : pixelsPerTwip_(pixelsPerInch / kTwipsPerInch), captionWidth_(captionWidth) {
    for (int i = 0; i < kButtonCount; ++i) {
        // One pixel more than asked, so that rounding both edges never takes
        // a pixel off the label.
        pixelsPerTwip_ =
            std::max(pixelsPerTwip_, (labelWidths[i] + 1) / double(kDesigned[i].width));
    }
}

int WindowLayout::pixels(double twips) const {
    return static_cast<int>(std::lround(twips * pixelsPerTwip_));
}

int WindowLayout::outerWidth(double twips) const {
    return std::max(pixels(twips), captionWidth_);
}

PixelBox WindowLayout::box(Shown control) const {
    // Edges rounded, not lengths, so gaps stay even and nothing overlaps.
    const TwipBox& t = kDesigned[static_cast<int>(control)];
    const int left = pixels(t.left);
    const int top = pixels(t.top);
    const int width = pixels(t.left + t.width) - left;
    // A square stays square, whatever the rounding.
    return {left, top, width, t.width == t.height ? width : pixels(t.top + t.height) - top};
}

int WindowLayout::clientWidth() const {
    return pixels(kClientWidth);
}

int WindowLayout::clientHeight() const {
    return pixels(kClientHeight);
}

}  // namespace orvando
