// The window's designed geometry, in twips, and the pixels it takes on a
// screen, written once for every front end.
//
// The design fits its button labels in a font narrower than any desktop's
// today. So the layout follows the font it is shown in, the way dialog units
// follow a dialog's font: where a label needs more room than its designed
// button gives, the whole layout grows by the same factor (buttons, gaps,
// pictures, window); where every label fits, it is the design, scaled to the
// screen. It does not measure text itself: the front end, which knows its
// fonts and its style's margins, says how wide each label needs to be, and,
// where the program draws its own frame, how wide the frame must be for the
// longest caption to show whole. That widens the window alone: the buttons
// and pictures keep their places, and the room right of them grows.
#pragma once

#include <array>

namespace orvando {

// The controls a player sees, the buttons first in tab order.
enum class Shown { rename, unrename, cmdErrorHelp, Image1, Image2 };
inline constexpr int kShownCount = 5;
inline constexpr int kButtonCount = 3;

struct PixelBox {
    int left, top, width, height;
};

class WindowLayout {
  public:
    // `pixelsPerInch`: the screen's (96 at 100 %). `labelWidths`: for each
    // button in tab order, the width in pixels its label needs with the
    // style's margins, in the button's own font at that screen.
    // `captionWidth`: the outer width in pixels that the longest caption
    // needs in the frame the program draws; 0 where a window manager draws it.
    WindowLayout(double pixelsPerInch, const std::array<int, kButtonCount>& labelWidths,
                 int captionWidth = 0);

    // How many pixels a twip takes: 1/15 at 96 pixels per inch, more where a
    // label needs it.
    double pixelsPerTwip() const { return pixelsPerTwip_; }
    // A length in twips (a window width, say) in pixels.
    int pixels(double twips) const;
    // The window's outer width, frame included, for a width in twips.
    int outerWidth(double twips) const;
    // Where a control stands in the client area.
    PixelBox box(Shown control) const;
    // The designed client area.
    int clientWidth() const;
    int clientHeight() const;

  private:
    double pixelsPerTwip_;
    int captionWidth_;
};

}  // namespace orvando
