// The boundary around every handler of a window. Qt's signal and event
// dispatch must never see an exception, so each handler runs inside
// runHandler(): a program end asked for by the handler stops it quietly (the
// platform has ended the program, or recorded the end), and any other
// failure (a failed allocation, a fault of the handler) becomes a critical
// message box that says the operation did not complete; the program then goes
// on with the next event. Each handler is itself responsible for writing
// nothing before it has all it needs.
#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace forms {

namespace detail {
// Tells the user why a handler stopped, unless it stopped for a program end.
void handlerStopped(std::exception_ptr reason) noexcept;
} // namespace detail

// Runs `handler` inside the boundary; true when it ran to its end.
template <class F>
bool runHandler(F&& handler) noexcept
{
    try {
        std::forward<F>(handler)();
        return true;
    } catch (...) {
        detail::handlerStopped(std::current_exception());
        return false;
    }
}

// Connects `signal` of `sender` to `handler` with `receiver` as the context:
// a member function of the receiver (`&Form1::Command1_Click`) or a short
// lambda. The handler runs inside runHandler(); it takes the signal's
// arguments, or the first of them, or none.
template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, Receiver* receiver,
                                       Handler handler)
{
    constexpr bool member = std::is_member_function_pointer_v<Handler>;
    return QObject::connect(
        sender, signal, receiver,
        [receiver, handler](auto... args)
            requires(member ? std::is_invocable_v<const Handler&, Receiver*, decltype(args)...>
                            : std::is_invocable_v<const Handler&, decltype(args)...>)
        {
            runHandler([&] {
                if constexpr (member)
                    std::invoke(handler, receiver, args...);
                else
                    std::invoke(handler, args...);
            });
        });
}

} // namespace forms
