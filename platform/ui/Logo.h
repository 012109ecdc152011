#pragma once
// The maker's logo, drawn rather than stored.

#include <QPixmap>

namespace quastor {

QPixmap MakerLogo(int size);

}  // namespace quastor
