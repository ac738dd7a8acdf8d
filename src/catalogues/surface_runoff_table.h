// Runoff coefficients by surface type for storm water design: the seven
// surface types of the storm windows' surface list, each with the coefficient
// text a pick writes into the runoff coefficient field.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace catalogues {

// The runoff coefficient the storm windows show for an outdoor catchment
// before a surface type is picked.
inline const QString kDefaultRunoffCoefficientText = QStringLiteral("0.65");

struct SurfaceRunoffRow {
    QString surface;          // e.g. "屋面"
    QString coefficientText;  // e.g. "0.9", written into the coefficient field
    double coefficient;       // the same value as a number
};

class SurfaceRunoffTable {
public:
    // The seven rows in list order, from 屋面 (0.9) to 公园绿地 (0.15).
    static const QList<SurfaceRunoffRow>& Rows();

    // The surface type texts in list order.
    static QStringList SurfaceTypes();

    // The coefficient text of a surface type (exact comparison); no value for
    // any other text, such as the prompt "请选择地面种类" or a typed text.
    static std::optional<QString> CoefficientText(const QString& surface);

    // The coefficient of a surface type as a number; no value as above.
    static std::optional<double> Coefficient(const QString& surface);
};

}  // namespace catalogues
