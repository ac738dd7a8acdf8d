// Drawings of the drainage fittings of the stack window, with their
// dimension marks L1 and L2, drawn by the program itself.
#pragma once

#include <QPixmap>

namespace fittings::drainage {

enum class FittingDrawing {
    Tee,             // 管件1: tee with one swept side branch, L1 and L2
    Cross,           // 管件2: cross with swept branches on both sides, L1 and L2
    QuarterBend,     // 管件3: horizontal end at the top, vertical end at the bottom, L2
    OffsetBend,      // 管件4: vertical end through a 45° diagonal into a horizontal end, L1
    SweptInlet,      // 管件5: vertical inlet swept into a horizontal run, L1
    PvcuReducer,     // 管件6 in PVC-U: stepped reducing coupling, L1
    CastIronReducer, // 管件6 in cast iron: conical reducer, L1
};

// Width and height of every drawing, in pixels.
inline constexpr int kFittingDrawingWidth = 113;
inline constexpr int kFittingDrawingHeight = 88;

// The drawing on a white ground, kFittingDrawingWidth × kFittingDrawingHeight.
QPixmap fittingDrawing(FittingDrawing which);

} // namespace fittings::drainage
