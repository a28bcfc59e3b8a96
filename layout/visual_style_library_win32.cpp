// The size grip's way to the visual-style library: from the system folder only.
#include "visual_style_library.h"

#include "system_library.h"

VisualStyleLibrary visualStyleLibrary{FindSystemFunction};
