// One segment of a storm sewer run as the engineer entered it: its length in
// m, its own catchment area in m² and its runoff coefficient Ψ. The rows of a
// run are in flow order, the most upstream segment first; a row's place in
// the run is its only identity. Values are kept exactly as typed or read
// from a segment file: the network calculation reads them as numbers.
#pragma once

#include <QString>

namespace storm_network {

struct SegmentRow {
    QString length;  // m
    QString area;    // own catchment area, m²
    QString runoff;  // runoff coefficient Ψ

    bool operator==(const SegmentRow&) const = default;
};

}  // namespace storm_network
