// The one shape of an engine's answer: the values it computed, or why it
// refused its inputs. A refusal names the input to correct by the engine's
// own field enum; the window declares once which control each field means
// (forms/refusal_view.h) and shows the message there.
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

// An engine's answer: a refusal, or the values (meaningful only without one).
template <class Values, class Field>
struct Outcome {
    std::optional<Refusal<Field>> refusal;
    Values values;

    explicit operator bool() const { return !refusal; }
};

} // namespace textio
