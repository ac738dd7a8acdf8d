// Base fixture for window tests: every test starts a fresh run (no window
// created yet, splash counters at their first values) and ends with every
// queued answer used.
#pragma once

#include "forms/testing/scripted_platform.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <functional>

namespace forms::testing {

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScriptedPlatform& platform() { return scripted(); }
    // The message boxes shown so far.
    const std::vector<MessageBoxCall>& boxes() { return scripted().messageBoxes(); }
    // Runs `action` and reports whether it ended the program.
    static bool endsProgram(const std::function<void()>& action);
};

// Whether `window` was destroyed or unloaded. The pointer is read once: a
// window destroyed in between cannot be reached through it.
template <class F>
bool goneOrUnloaded(const QPointer<F>& window)
{
    const F* form = window.data();
    return form == nullptr || form->isUnloaded();
}

} // namespace forms::testing
