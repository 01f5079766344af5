#pragma once

#include <QImage>

namespace zentaro {

// Buttons in every scheme and state (normal, over, down, disabled, and
// focused), and panels in the three fill directions, on one image.
QImage RenderSheet();

} // namespace zentaro
