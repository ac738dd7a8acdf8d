#pragma once

#include <QString>

namespace storm_network { struct SegmentRow { QString length; QString area; QString runoff; }; }
