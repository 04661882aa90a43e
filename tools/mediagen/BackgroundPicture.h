#pragma once

#include "Bitmap.h"

namespace tavlix::mediagen {

// The picture behind the program's window: a soft diagonal gradient from misty blue to
// warm cream with a faint lattice of the four card suits, light enough that text and
// cards drawn over it stay easy to read.
Bitmap BuildBackgroundPicture();

}  // namespace tavlix::mediagen
