// What the fire hydrant and fire extinguisher calculators check before they
// report: whether the results on screen belong to the inputs shown. Typed
// figures are read by textio (field_values.h) against the ranges their
// engines state.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace building_services {

// A report of results calculated from other inputs than those shown is
// refused with this message, under the title "提示".
inline constexpr QStringView kCalculateFirstMessage =
    u"请先按“计 算”按当前设计参数进行计算，再查看结果！";

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
