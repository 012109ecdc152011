#pragma once
// The image list of the EMCY word trees, drawn in code at 16 by 16 pixels on a transparent
// ground: 0 a closed folder marked W, 1 the same folder open, 2 a closed register (a word's
// bit), 3 the register open.

#include <array>

#include <QIcon>
#include <QPixmap>

#include "canopen/EmcyWords.h"

namespace quastor {

inline constexpr int kNodeImageSize = 16;

// The four pictures, indexed by NodeImage.
std::array<QPixmap, 4> DrawNodeImages();

// A node's icon: its image, and its selected image for the selected state.
QIcon NodeIcon(const std::array<QPixmap, 4>& images, const WordNode& node);

}  // namespace quastor
