#pragma once

namespace pictarium {

// Shrinks a picture of picW x picH to fit a box of boxW x boxH, keeping its
// proportions and never enlarging it, and centres it. On return boxW, boxH
// hold the size to draw and offX, offY its place. An offset of -1 or less
// is left as it is: no centring in that direction.
void FitPicture(int picW, int picH, int& boxW, int& boxH, int& offX, int& offY);

}  // namespace pictarium
