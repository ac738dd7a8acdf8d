#include "catalogues/gravity_pipe_catalogue.h"

#include "textio/numtext.h"

#include <initializer_list>
#include <optional>

namespace catalogues {

namespace {

QStringList integerTexts(std::initializer_list<int> values)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(values.size()));
    for (int v : values)
        texts.append(QString::number(v));
    return texts;
}

// Appends "first", "first+step", ... "last" as integer texts.
void appendIntegerRun(QStringList& texts, int first, int last, int step)
{
    for (int v = first; v <= last; v += step)
        texts.append(QString::number(v));
}

// Appends tenths from firstTenths/10 to lastTenths/10, each written with
// exactly one decimal ("0.6", "1.0", "10.0"). Counting in whole tenths keeps
// the texts free of binary rounding.
void appendTenthsRun(QStringList& texts, int firstTenths, int lastTenths)
{
    for (int t = firstTenths; t <= lastTenths; ++t)
        texts.append(QStringLiteral("%1.%2").arg(t / 10).arg(t % 10));
}

// Fullness values from 0.1 by 0.05 in hundredths, written in their shortest
// form ("0.1", "0.15", ... "0.95").
QStringList fullnessRun(int lastHundredths)
{
    QStringList texts;
    for (int h = 10; h <= lastHundredths; h += 5) {
        QString digits = QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        if (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        texts.append(QStringLiteral("0.") + digits);
    }
    return texts;
}

} // namespace

QString drainPipeMaterialCaption(DrainPipeMaterial material)
{
    switch (material) {
    case DrainPipeMaterial::Concrete:
        return QStringLiteral("混凝土圆管");
    case DrainPipeMaterial::Corrugated:
        return QStringLiteral("聚乙烯双壁波纹管");
    case DrainPipeMaterial::CastIron:
        return QStringLiteral("铸铁管");
    case DrainPipeMaterial::Pvcu:
        return QStringLiteral("PVC-U排水管");
    }
    return {};
}

QString drainFlowModeCaption(DrainFlowMode mode)
{
    switch (mode) {
    case DrainFlowMode::Full:
        return QStringLiteral("满  流");
    case DrainFlowMode::PartFull:
        return QStringLiteral("非满流");
    }
    return {};
}

namespace GravityPipeCatalogue {

const QStringList& drainDiameterList()
{
    static const QStringList list = integerTexts({200,  250,  300,  350,  400,  450,  500,  600,  700,
                                                  800,  900,  1000, 1100, 1200, 1250, 1300, 1350, 1400,
                                                  1500, 1600, 1640, 1800, 2000, 2100, 2200, 2300, 2400,
                                                  2500, 2600, 2700, 2800, 2900, 3000});
    return list;
}

const QStringList& stormDrainDiameterList()
{
    static const QStringList list = [] {
        QStringList texts;
        for (const QString& d : drainDiameterList())
            texts.append(QLatin1Char('d') + d);
        return texts;
    }();
    return list;
}

const QStringList& drainSlopeList()
{
    static const QStringList list = [] {
        QStringList texts;
        appendTenthsRun(texts, 6, 100);    // 0.6 ... 10.0 by 0.1
        appendIntegerRun(texts, 11, 30, 1);
        appendIntegerRun(texts, 35, 100, 5);
        return texts;
    }();
    return list;
}

const QStringList& partFullDiameterList()
{
    static const QStringList list = [] {
        QStringList texts;
        appendIntegerRun(texts, 150, 1100, 50);
        texts += integerTexts({1200, 1250, 1350, 1400, 1500, 1600, 1640, 1750, 1800, 1900});
        appendIntegerRun(texts, 2000, 3000, 100);
        return texts;
    }();
    return list;
}

const QStringList& partFullSlopeList()
{
    static const QStringList list = [] {
        QStringList texts{QStringLiteral("0.5")};
        texts += drainSlopeList();
        texts += QStringList{QStringLiteral("120"), QStringLiteral("140")};
        return texts;
    }();
    return list;
}

const QStringList& corrugatedDiameterList()
{
    static const QStringList list = integerTexts({225, 300, 400, 500, 600, 700});
    return list;
}

const QStringList& castIronDiameterList()
{
    static const QStringList list = integerTexts({75, 100, 125, 150, 200, 250, 300});
    return list;
}

const QStringList& castIronSlopeList()
{
    static const QStringList list =
        integerTexts({5, 6, 7, 8, 9, 10, 12, 15, 20, 25, 26, 30, 40, 45, 50, 60, 70, 80});
    return list;
}

const QStringList& pvcuDiameterList()
{
    static const QStringList list = integerTexts({50, 75, 90, 110, 125, 160, 200});
    return list;
}

const QStringList& pvcuSlopeList()
{
    static const QStringList list{
        QStringLiteral("1"),  QStringLiteral("1.5"), QStringLiteral("2"),  QStringLiteral("3"),
        QStringLiteral("3.5"), QStringLiteral("4"),  QStringLiteral("4.5"), QStringLiteral("5"),
        QStringLiteral("6"),  QStringLiteral("7"),   QStringLiteral("8"),  QStringLiteral("9"),
        QStringLiteral("10"), QStringLiteral("12"),  QStringLiteral("15"), QStringLiteral("20"),
        QStringLiteral("25"), QStringLiteral("26"),  QStringLiteral("30"), QStringLiteral("35"),
        QStringLiteral("40"), QStringLiteral("45"),  QStringLiteral("50"), QStringLiteral("60")};
    return list;
}

const QStringList& fullnessList()
{
    static const QStringList list = fullnessRun(95) + QStringList{QStringLiteral("1")};
    return list;
}

const QStringList& corrugatedFullnessList()
{
    static const QStringList list = fullnessRun(95);
    return list;
}

const QStringList& castIronPvcuFullnessList()
{
    static const QStringList list = fullnessRun(60);
    return list;
}

bool hasFlowMode(DrainPipeMaterial material, DrainFlowMode mode)
{
    if (mode == DrainFlowMode::PartFull)
        return true;
    return material == DrainPipeMaterial::Concrete || material == DrainPipeMaterial::Corrugated;
}

const QStringList* list(DrainPipeMaterial material, DrainFlowMode mode, GravityListKind kind)
{
    if (!hasFlowMode(material, mode))
        return nullptr;
    const bool full = mode == DrainFlowMode::Full;
    switch (material) {
    case DrainPipeMaterial::Concrete:
        switch (kind) {
        case GravityListKind::Diameter:
            return full ? &drainDiameterList() : &partFullDiameterList();
        case GravityListKind::Slope:
            return full ? &drainSlopeList() : &partFullSlopeList();
        case GravityListKind::Fullness:
            return full ? nullptr : &fullnessList();
        }
        break;
    case DrainPipeMaterial::Corrugated:
        switch (kind) {
        case GravityListKind::Diameter:
            return &corrugatedDiameterList();
        case GravityListKind::Slope:
            return full ? &drainSlopeList() : &partFullSlopeList();
        case GravityListKind::Fullness:
            return full ? nullptr : &corrugatedFullnessList();
        }
        break;
    case DrainPipeMaterial::CastIron:
        switch (kind) {
        case GravityListKind::Diameter:
            return &castIronDiameterList();
        case GravityListKind::Slope:
            return &castIronSlopeList();
        case GravityListKind::Fullness:
            return &castIronPvcuFullnessList();
        }
        break;
    case DrainPipeMaterial::Pvcu:
        switch (kind) {
        case GravityListKind::Diameter:
            return &pvcuDiameterList();
        case GravityListKind::Slope:
            return &pvcuSlopeList();
        case GravityListKind::Fullness:
            return &castIronPvcuFullnessList();
        }
        break;
    }
    return nullptr;
}

} // namespace GravityPipeCatalogue

namespace MinSlopeTable {

QString minSlopeText(QStringView diameterText)
{
    if (diameterText == u"150")
        return QStringLiteral("8.0");
    if (diameterText == u"200" || diameterText == u"225" || diameterText == u"250")
        return QStringLiteral("4.0");
    if (diameterText == u"300" || diameterText == u"350")
        return QStringLiteral("3.0");
    return QStringLiteral("2.0");
}

QString stormMinSlopeText(QStringView stormDiameterText)
{
    if (stormDiameterText == u"d200" || stormDiameterText == u"d250")
        return QStringLiteral("4.0");
    if (stormDiameterText == u"d300" || stormDiameterText == u"d350")
        return QStringLiteral("3.0");
    return QStringLiteral("2.0");
}

bool isSlopeCheckedDiameter(QStringView diameterText)
{
    return diameterText == u"200" || diameterText == u"250" || diameterText == u"300"
        || diameterText == u"350" || diameterText == u"400";
}

bool isSlopeCheckedStormDiameter(QStringView stormDiameterText)
{
    return stormDiameterText.startsWith(u'd') && isSlopeCheckedDiameter(stormDiameterText.mid(1));
}

bool isBelowMinSlope(QStringView diameterText, QStringView slopeText)
{
    if (!isSlopeCheckedDiameter(diameterText))
        return false;
    const std::optional<double> minimum = textio::readNumber(minSlopeText(diameterText));
    const std::optional<double> slope = textio::readNumber(slopeText.toString());
    return minimum && slope && *slope / *minimum < 1;
}

} // namespace MinSlopeTable

} // namespace catalogues
