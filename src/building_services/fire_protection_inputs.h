// What the fire hydrant and fire extinguisher calculators check before they
// compute or report: figures typed into a field, and whether the results on
// screen belong to the inputs shown.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace building_services {

// The number a field's text holds when it is a positive one (a whole one
// when `whole`); empty for any other text, blanks only and negatives
// included.
std::optional<double> positiveNumber(const QString& text, bool whole = false);

// A report of results calculated from other inputs than those shown is
// refused with this message.
inline constexpr QStringView kCalculateFirstMessage =
    u"请先按“计 算”按当前设计参数进行计算，再查看结果！";
inline constexpr QStringView kCalculateFirstTitle = u"提示";

// The inputs of the last calculation, as texts. Results stay on screen when
// an input changes; a report waits for the next calculation.
class CalculatedInputs {
public:
    // A calculation of these inputs has written its results.
    void record(const QStringList& inputs) { m_inputs = inputs; }
    // The results were emptied.
    void forget() { m_inputs.reset(); }
    // True when the inputs shown are those of the last calculation.
    bool areShown(const QStringList& shown) const { return m_inputs == shown; }

private:
    std::optional<QStringList> m_inputs;
};

} // namespace building_services
