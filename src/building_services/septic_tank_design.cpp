#include "building_services/septic_tank_design.h"

#include "textio/field_values.h"
#include "textio/numtext.h"

#include <cmath>
#include <limits>

namespace building_services {

namespace {

// A value as its field holds it: written as its shortest text and read
// back; not finite values become NaN, which every later check refuses.
double carried(double value)
{
    return textio::atTextPrecision(value).value_or(std::numeric_limits<double>::quiet_NaN());
}

const QString kPerUserVolumeOutOfRange =
    QStringLiteral("人均化粪池容积超出计算范围，请检查设计参数！");

SepticRefusal warning(SepticField field, const QString& message)
{
    return {field, message, textio::kWarningTitle};
}

bool usablePerUserVolume(double u)
{
    return std::isfinite(u) && u > 0;
}

// The whole users a tank serves: a part of a user is not served, so the
// figure is rounded down (350.88 users serve 350; 351 would need more).
double wholeUsers(double users)
{
    return std::floor(users);
}

} // namespace

double sewageVolume(const SepticTankInputs& in)
{
    return in.users * in.usageFactor * in.quotaLitres * in.retentionHours / 24000;
}

double sludgeVolume(const SepticTankInputs& in)
{
    return in.sludgeConstant * in.users * in.usageFactor * in.cleaningDays * 1.2;
}

double perUserVolume(const SepticTankInputs& in)
{
    const double sludge = 120000 * in.sludgeConstant * in.cleaningDays;
    const double sewage = kPerUserSewageFactor * in.quotaLitres * in.retentionHours;
    return 1e-5 * in.usageFactor * (sludge + sewage);
}

SepticTankDesign designSepticTank(const SepticTankInputs& in)
{
    SepticTankDesign out;
    const double V1 = carried(sewageVolume(in));
    double V2 = carried(sludgeVolume(in));
    double V = carried(V2 + V1);
    if (!std::isfinite(V1) || !std::isfinite(V2) || !std::isfinite(V) || !(V > 0)) {
        out.status = SepticDesignStatus::VolumeOutOfRange;
        return out;
    }
    const double share = carried(V2 / V);
    out.sewageVolume = textio::generalNumberText(V1);
    out.sludgeShare = textio::generalNumberText(share);

    // Small tanks: the sludge part may take no more than its share of the
    // volume; the sewage part then sets the volume.
    if (V <= kShareLimitVolume && share > kSludgeShareLimit) {
        V = carried(V1 / kSewageShareAtLimit);
        V2 = carried(kSludgeShareLimit * V);
        out.shareLimited = true;
    }
    out.sludgeVolume = textio::generalNumberText(V2);

    out.tank = SepticTankCatalogue::smallestHolding(V);
    if (out.tank)
        V = out.tank->effectiveVolume;
    out.volume = textio::generalNumberText(V);

    const double u = perUserVolume(in);
    const double users = carried(V / u);
    if (!usablePerUserVolume(u) || !std::isfinite(users)) {
        out = SepticTankDesign{};
        out.status = SepticDesignStatus::PerUserVolumeOutOfRange;
        return out;
    }
    out.usersServed = textio::generalNumberText(users);
    out.usersServedShown = textio::formatNumber(wholeUsers(users), QStringLiteral("#"));
    out.status = SepticDesignStatus::Designed;
    return out;
}

std::optional<QString> handPickedTankUsers(const StandardTank& tank, const SepticTankInputs& in)
{
    const double u = perUserVolume(in);
    const double users = carried(tank.effectiveVolume / u);
    if (!usablePerUserVolume(u) || !std::isfinite(users))
        return std::nullopt;
    return textio::generalNumberText(wholeUsers(users));
}

SepticInputsOutcome readSepticTankInputs(const SepticTankInputTexts& texts, bool withUsers)
{
    SepticInputsOutcome out;
    if (withUsers) {
        if (texts.users.trimmed().isEmpty()) {
            out.refusal = warning(SepticField::Users, QStringLiteral("请输入设计人数！"));
            return out;
        }
        const std::optional<double> users = textio::readInRange(texts.users, kDesignUsersRange);
        if (!users) {
            out.refusal = warning(SepticField::Users, QStringLiteral("请输入正确的设计人数！"));
            return out;
        }
        out.values.users = *users;
    }
    struct Field {
        const QString& text;
        textio::ValueRange range;
        SepticField field;
        const char* message;
        double SepticTankInputs::*value;
    };
    // The sludge constant comes from the drainage system list; any positive
    // one is taken.
    const Field fields[] = {
        {texts.usageFactor, kUsageFactorRange, SepticField::UsageFactor,
         "请输入正确的使用系数！", &SepticTankInputs::usageFactor},
        {texts.quota, kSewageQuotaRange, SepticField::Quota, "请输入正确的污水定额！",
         &SepticTankInputs::quotaLitres},
        {texts.retention, kRetentionHoursRange, SepticField::Retention,
         "请输入正确的污水停留时间！", &SepticTankInputs::retentionHours},
        {texts.cleaning, kCleaningDaysRange, SepticField::Cleaning, "请输入正确的清掏周期！",
         &SepticTankInputs::cleaningDays},
        {texts.sludgeConstant, textio::positiveUpTo(1), SepticField::DrainageSystem,
         "请选择排水类型！", &SepticTankInputs::sludgeConstant},
    };
    for (const Field& field : fields) {
        const std::optional<double> value = textio::readInRange(field.text, field.range);
        if (!value) {
            out.refusal = warning(field.field, QString::fromUtf8(field.message));
            return out;
        }
        out.values.*field.value = *value;
    }
    return out;
}

SepticOutcome calculateSepticTank(const SepticTankInputTexts& texts)
{
    const SepticInputsOutcome reading = readSepticTankInputs(texts, true);
    if (reading.refusal)
        return {reading.refusal, {}};
    SepticOutcome out{std::nullopt, designSepticTank(reading.values)};
    switch (out.values.status) {
    case SepticDesignStatus::Designed:
        break;
    case SepticDesignStatus::VolumeOutOfRange:
        out.refusal = warning(SepticField::Users,
                            QStringLiteral("化粪池容积超出计算范围，请检查设计参数！"));
        break;
    case SepticDesignStatus::PerUserVolumeOutOfRange:
        out.refusal = warning(SepticField::UsageFactor, kPerUserVolumeOutOfRange);
        break;
    }
    return out;
}

SepticSelectionOutcome selectSepticTank(const SepticTankInputTexts& texts, QStringView materialText,
                                        const SiteConditions& site)
{
    SepticOutcome calculation = calculateSepticTank(texts);
    if (calculation.refusal)
        return {calculation.refusal, {}};
    const std::optional<TankMaterial> material = tankMaterialOf(materialText);
    if (!material)
        return {warning(SepticField::Material, QStringLiteral("请选择化粪池类型！")), {}};
    SepticTankSelection selection{std::move(calculation.values), materialLetter(*material), {}, {}};
    const StandardTank* tank = selection.design.tank;
    selection.typeCode = SepticTankCatalogue::typeCode(*material, tank, site);
    if (tank)
        selection.outlineSize =
            SepticTankCatalogue::outlineSize(*material, tank->number, site).value_or(QString());
    return {std::nullopt, std::move(selection)};
}

HandPickOutcome handPickTank(const StandardTank& tank, const SepticTankInputTexts& texts)
{
    const SepticInputsOutcome reading = readSepticTankInputs(texts, false);
    if (reading.refusal)
        return {reading.refusal, {}};
    if (const std::optional<QString> users = handPickedTankUsers(tank, reading.values))
        return {std::nullopt, *users};
    return {warning(SepticField::UsageFactor, kPerUserVolumeOutOfRange), {}};
}

} // namespace building_services
