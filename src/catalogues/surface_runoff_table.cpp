#include "catalogues/surface_runoff_table.h"

namespace catalogues {

const QList<SurfaceRunoffRow>& SurfaceRunoffTable::Rows()
{
    static const QList<SurfaceRunoffRow> rows = {
        {QStringLiteral("屋面"), QStringLiteral("0.9"), 0.9},
        {QStringLiteral("混凝土和沥青路面"), QStringLiteral("0.9"), 0.9},
        {QStringLiteral("块石路面"), QStringLiteral("0.6"), 0.6},
        {QStringLiteral("级配碎石路面"), QStringLiteral("0.45"), 0.45},
        {QStringLiteral("干砖及碎石路面"), QStringLiteral("0.4"), 0.4},
        {QStringLiteral("非铺砌地面"), QStringLiteral("0.3"), 0.3},
        {QStringLiteral("公园绿地"), QStringLiteral("0.15"), 0.15},
    };
    return rows;
}

QStringList SurfaceRunoffTable::SurfaceTypes()
{
    QStringList surfaces;
    for (const SurfaceRunoffRow& row : Rows())
        surfaces.append(row.surface);
    return surfaces;
}

std::optional<QString> SurfaceRunoffTable::CoefficientText(const QString& surface)
{
    for (const SurfaceRunoffRow& row : Rows()) {
        if (row.surface == surface)
            return row.coefficientText;
    }
    return std::nullopt;
}

std::optional<double> SurfaceRunoffTable::Coefficient(const QString& surface)
{
    for (const SurfaceRunoffRow& row : Rows()) {
        if (row.surface == surface)
            return row.coefficient;
    }
    return std::nullopt;
}

}  // namespace catalogues
