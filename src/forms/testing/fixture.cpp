#include "forms/testing/fixture.h"

#include "forms/form.h"

#include <QApplication>

namespace forms::testing {

void FormsTest::SetUp()
{
    destroyAllDefaultInstances();
    scripted().reset();
}

void FormsTest::TearDown()
{
    EXPECT_EQ(scripted().pendingAnswers(), 0u) << "queued answers were not asked for";
    destroyAllDefaultInstances();
    QApplication::processEvents();
}

bool FormsTest::endsProgram(const std::function<void()>& action)
{
    // A handler reached through a signal or an event stops quietly at its
    // boundary; one called directly unwinds to here.
    const int before = scripted().endings();
    try {
        action();
    } catch (const ProgramEnded&) {
    }
    return scripted().endings() > before;
}

} // namespace forms::testing
