#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace korvel {
namespace {

using enum CommandLine::Asks;

// Qt's own arguments in every spelling Qt takes, and not in those it does not take; the value of
// an option is never read as an option, in each of Qt's passes over what the one before left;
// --help and --version only as such, the first one counting.
TEST(CommandLine, ReadsQtsArgumentsAsQtDoesAndAsksForHelpOrVersion) {
    const struct {
        std::vector<const char*> arguments;
        CommandLine::Asks asks;
        std::string platform, style;
    } rows[] = {
        // clang-format off
        {{}, Window, "", ""},
        {{"-platform", "xcb", "-style", "Windows"}, Window, "xcb", "Windows"},
        {{"--platform", "wayland", "--style", "fusion"}, Window, "wayland", "fusion"},
        {{"-style=windows"}, Window, "", "windows"},
        {{"--style=windows"}, Window, "", "windows"},
        {{"--platform=xcb", "-platform=xcb", "-style="}, Window, "", ""},
        {{"-platform", "a", "--platform", "b"}, Window, "b", ""},
        {{"-reverse", "-platform"}, Window, "", ""},
        {{"-style"}, Window, "", ""},
        {{"-style", "-platform", "x", "-stylesheet", "-qwindowtitle", "t"}, Window, "x", "-stylesheet"},
        {{"-session", "-style", "w", "--help"}, Help, "", ""},
        {{"-qwindowtitle", "--help", "-platform", "-style"}, Window, "-style", ""},
        {{"--version", "--help"}, Version, "", ""},
        {{"file", "--help", "-style", "w"}, Help, "", "w"},
        {{"-help", "-version", "--help=1"}, Window, "", ""},
        // clang-format on
    };
    for (const auto& [arguments, asks, platform, style] : rows) {
        const std::string said = ::testing::PrintToString(arguments);
        const CommandLine line = readCommandLine(arguments);
        EXPECT_EQ(line.asks, asks) << said;
        EXPECT_EQ(line.platform, platform) << said;
        EXPECT_EQ(line.style, style) << said;
    }
}

}  // namespace
}  // namespace korvel
