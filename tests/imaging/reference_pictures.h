#pragma once

#include <QImage>

namespace pictarium::test {

// Pictures of known pixels that the samples are made from.

// 24 x 16, six flat 8 x 8 blocks: red, green, blue, then yellow, white,
// black. Flat blocks survive lossy formats well enough to compare.
[[nodiscard]] QImage colourReference();

// The colour reference scaled to 768 x 512, the size a PhotoCD holds.
[[nodiscard]] QImage photoCdReference();

// 21 x 13 black and white; the width is not a multiple of 8, so row
// padding shows when a decoder gets it wrong.
[[nodiscard]] QImage monochromeReference();

// 19 x 6 in the sixteen standard PC colours (Indexed8 over that table):
// pixel (x, y) has colour (x + 3y) mod 16.
[[nodiscard]] QImage sixteenColourReference();

// 20 x 10 in four shades of grey (0, 64, 160, 255).
[[nodiscard]] QImage greyReference();

// The colour reference with its top-left block transparent and its
// top-middle block half transparent, and the same laid on white.
[[nodiscard]] QImage transparentReference();
[[nodiscard]] QImage transparentReferenceOnWhite();

}  // namespace pictarium::test
