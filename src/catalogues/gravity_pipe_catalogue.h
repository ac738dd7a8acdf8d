#pragma once

// Gravity pipe catalogues: the diameter, slope and fullness lists from which a
// gravity drainage pipe is chosen, by pipe material and flow mode, and the
// minimum slope per diameter of GBJ 14-87 §3.2.9.
//
// Every entry is the exact display text of a drop-down list; the calculators
// read the chosen text back as a number. Lists are constant, keep their order
// and hold no value twice.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace catalogues {

// The four gravity pipe materials of the drainage calculator.
enum class DrainPipeMaterial {
    Concrete,   // 混凝土圆管
    Corrugated, // 聚乙烯双壁波纹管 (PE double-wall corrugated)
    CastIron,   // 铸铁管
    Pvcu,       // PVC-U排水管
};

enum class DrainFlowMode {
    Full,     // 满  流
    PartFull, // 非满流
};

enum class GravityListKind { Diameter, Slope, Fullness };

// Prompts the diameter and slope lists show until a choice is made; also the
// messages that ask for that choice.
inline const QString kDiameterPrompt = QStringLiteral("请选择管径");
inline const QString kSlopePrompt = QStringLiteral("请选择坡度");
// Warning on a slope below the minimum of GBJ 14-87 §3.2.9.
inline const QString kMinSlopeWarning =
    QStringLiteral("您所选择的坡度小于规范规定【GBJ 14-87 第3.2.9条】，继续请按确定。");

// Caption of the material's option button ("混凝土圆管", ...).
QString drainPipeMaterialCaption(DrainPipeMaterial material);
// Caption of the flow mode's option button ("满  流" with two blanks, "非满流").
QString drainFlowModeCaption(DrainFlowMode mode);

namespace GravityPipeCatalogue {

// 33 diameters in mm, "200" ... "3000" (1640 in place of 1700).
const QStringList& drainDiameterList();
// The same 33 diameters written with a leading "d" ("d200" ... "d3000"), as the
// storm water window's check panel shows them.
const QStringList& stormDrainDiameterList();
// 129 slopes in per mille: "0.6" ... "10.0" by 0.1, "11" ... "30", "35" ... "100" by 5.
const QStringList& drainSlopeList();
// 41 diameters in mm for concrete in part-full flow, "150" ... "3000".
const QStringList& partFullDiameterList();
// 132 slopes: "0.5", the 129 of drainSlopeList(), "120", "140".
const QStringList& partFullSlopeList();
// 6 diameters of PE double-wall corrugated pipe: "225" ... "700".
const QStringList& corrugatedDiameterList();
// 7 cast-iron diameters: "75" ... "300".
const QStringList& castIronDiameterList();
// 18 cast-iron slopes, integers "5" ... "80".
const QStringList& castIronSlopeList();
// 7 PVC-U outside diameters: "50" ... "200".
const QStringList& pvcuDiameterList();
// 24 PVC-U slopes without trailing ".0": "1", "1.5", "2", ... "60".
const QStringList& pvcuSlopeList();
// 19 fullness values h/D: "0.1" ... "0.95" by 0.05, then "1".
const QStringList& fullnessList();
// 18 fullness values: "0.1" ... "0.95".
const QStringList& corrugatedFullnessList();
// 11 fullness values: "0.1" ... "0.6".
const QStringList& castIronPvcuFullnessList();

// The list in force for a material, flow mode and kind, or nullptr when there
// is none (the fullness list in full flow; cast iron and PVC-U in full flow,
// which they do not have).
const QStringList* list(DrainPipeMaterial material, DrainFlowMode mode, GravityListKind kind);

// True when the material can be computed in this flow mode (cast iron and
// PVC-U run part-full only).
bool hasFlowMode(DrainPipeMaterial material, DrainFlowMode mode);

} // namespace GravityPipeCatalogue

// Minimum slope per diameter, GBJ 14-87 §3.2.9.
namespace MinSlopeTable {

// By the exact diameter text of the drainage calculator: "150" -> "8.0";
// "200", "225", "250" -> "4.0"; "300", "350" -> "3.0"; any other text -> "2.0".
QString minSlopeText(QStringView diameterText);
// By the "d"-prefixed diameter text of the storm water check panel:
// "d200", "d250" -> "4.0"; "d300", "d350" -> "3.0"; any other text -> "2.0".
QString stormMinSlopeText(QStringView stormDiameterText);

// The slope warning of the drainage calculator covers only these diameter
// texts: "200", "250", "300", "350", "400".
bool isSlopeCheckedDiameter(QStringView diameterText);
// The same for the storm water check panel: "d200" ... "d400".
bool isSlopeCheckedStormDiameter(QStringView stormDiameterText);

// The minimum slope rule of both calculators: true when the diameter text
// (of the drainage calculator, "300") is one the warning covers and the
// slope text's number in ‰ lies below its minimum; false where either text
// is no number.
bool isBelowMinSlope(QStringView diameterText, QStringView slopeText);

} // namespace MinSlopeTable

} // namespace catalogues
