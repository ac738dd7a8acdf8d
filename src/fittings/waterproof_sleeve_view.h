// Drawing of the waterproof sleeve window: a section through a wall, the
// pipe passing through a rigid sleeve that carries a ring inside the wall,
// with D1 across the pipe, D2 across the sleeve and D3 across the ring.
#pragma once

#include <QPixmap>
#include <QSize>

namespace fittings {

QPixmap sleeveDrawing(QSize size);

} // namespace fittings
