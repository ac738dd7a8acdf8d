// The one shape of an engine's answer: the values it computed, or why it
// refused its inputs. A refusal names the input to correct by the engine's
// own field enum; the window declares once which control each field means
// (forms/refusal_view.h) and shows the message there. A warning or question
// that does not refuse is a notice: its message, title and box style, all
// decided by the engine; the window only shows it (forms::showNotice) and,
// for a question, acts on the answer.
#pragma once

#include <QString>

#include <optional>

namespace textio {

// Why an engine refused its inputs: the field to correct, the message that
// names it and the title of the message box.
template <class Field>
struct Refusal {
    Field field;
    QString message;
    QString title;
};

// Message box styles a notice is shown with, numbered as the forms runtime
// numbers them (forms::MsgBoxStyle): buttons, icon and default button added.
namespace box_style {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kCritical = 16;
inline constexpr int kExclamation = 48;
inline constexpr int kDefaultButton2 = 256;
} // namespace box_style

// A warning or question an engine gives beside its values: the message,
// the title of its message box and the box's style.
struct Notice {
    QString message;
    QString title;
    int style = box_style::kOkOnly;

    bool operator==(const Notice&) const = default;
};

// An engine's answer: a refusal, or the values (meaningful only without one).
template <class Values, class Field>
struct Outcome {
    std::optional<Refusal<Field>> refusal;
    Values values;

    explicit operator bool() const { return !refusal; }
};

} // namespace textio
