#include <gtest/gtest.h>

#include "ProcessRunner.h"

namespace tavlix {
namespace {

using testing::ProcessResult;
using testing::ProcessRunner;

// Started where there is no display, the program says how to get one instead of
// aborting inside the windowing system.
TEST(ProgramStartTest, WithoutADisplayExitsWithTwoAndSaysWhatToDo)
{
    const struct {
        const char* name;
        const char* emptyVariable;  // set but empty, or nullptr for all three unset
    } cases[] = {{"unset", nullptr}, {"empty DISPLAY", "DISPLAY"}};
    for (const auto& c : cases) {
        ProcessRunner runner;
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            runner.Unset(variable);
        if (c.emptyVariable)
            runner.Set(c.emptyVariable, "");
        const ProcessResult r = runner.Run(TAVLIX_PROGRAM, {"/opt/tavlix/tavlix"});
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_EQ(r.err,
                  "Tavlix needs a graphical display, and none was found (DISPLAY is not set).\n"
                  "On a machine without one, start it under a virtual display:\n"
                  "    xvfb-run -a /opt/tavlix/tavlix\n")
            << c.name;
    }
}

}  // namespace
}  // namespace tavlix
