// Showing an engine's refusal: the message box in the window's style, then
// the focus on the control the refused field means. Each window declares
// once, by name, which control each of its engine's fields means. An
// engine's notice is shown as it stands.
#pragma once

#include "forms/platform.h"
#include "textio/refusal.h"

#include <QWidget>

#include <initializer_list>
#include <utility>
#include <vector>

namespace forms {

// Shows `message` under `title` with `style`, then puts the focus on
// `control` when it can take it.
void refuseInput(const QString& message, const QString& title, QWidget* control,
                 int style = vbOKOnly);

// Shows `notice` in a message box with its own title and style; returns the
// answer (one of MsgBoxResult), which a question's window acts on.
int showNotice(const textio::Notice& notice);

// Which control of a window each field of its engine means.
template <class Field>
class FieldControls {
public:
    FieldControls(std::initializer_list<std::pair<Field, QWidget*>> controls)
        : m_controls(controls)
    {
    }

    // The control that `field` means; none for a field not declared.
    QWidget* control(Field field) const
    {
        for (const auto& [f, c] : m_controls) {
            if (f == field)
                return c;
        }
        return nullptr;
    }

    // Shows `refusal` and puts the focus on its field's control.
    void refuse(const textio::Refusal<Field>& refusal, int style = vbOKOnly) const
    {
        refuseInput(refusal.message, refusal.title, control(refusal.field), style);
    }

private:
    std::vector<std::pair<Field, QWidget*>> m_controls;
};

} // namespace forms
