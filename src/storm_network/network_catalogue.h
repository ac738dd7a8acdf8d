// Pipe catalogues of the storm sewer network design: the pipe materials in
// list order, the diameters the sizing walks for each material, and each
// material's Manning roughness. A material's position in the list is the
// index that ties its diameters and its roughness together.
//
// Every entry is the exact text the network window holds; the sizing reads
// the texts back as numbers.
#pragma once

#include <QString>
#include <QStringList>

namespace storm_network {

// Positions of the pipe materials in the material list.
inline constexpr int kReinforcedConcretePipe = 0;  // 钢筋混凝土管
inline constexpr int kHdpeCorrugatedPipe = 1;      // HDPE双壁波纹管

// "钢筋混凝土管", "HDPE双壁波纹管".
const QStringList& NetworkMaterials();

// Diameters in mm of the material at `position`, ascending from "300" to
// "3000": 31 sizes of reinforced concrete pipe (1640 between 1600 and 1800),
// 17 of HDPE double-wall corrugated pipe. Empty for a position that names no
// material.
const QStringList& NetworkDiameterList(int position);

// Manning roughness n per material position: "0.013" for reinforced
// concrete, "0.01" for HDPE double-wall corrugated pipe.
const QStringList& NetworkRoughnessList();

}  // namespace storm_network
