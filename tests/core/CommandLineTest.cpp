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
        {{"-style", "-platform", "x", "-stylesheet", "-qwindowtitle", "t"}, Window, "x", "-stylesheet"},
        {{"--platform", "wayland", "--style", "fusion"}, Window, "wayland", "fusion"}, {{}, Window, "", ""},
        {{"-qwindowtitle", "--help", "-platform", "-style"}, Window, "-style", ""},
        {{"-platform", "xcb", "-style", "Windows"}, Window, "xcb", "Windows"}, {{"-style"}, Window, "", ""},
        {{"--platform=xcb", "-platform=xcb", "-style="}, Window, "", ""},
        {{"-platform", "a", "--platform", "b"}, Window, "b", ""}, {{"-style=windows"}, Window, "", "windows"},
        {{"-session", "-style", "w", "--help"}, Help, "", ""}, {{"--style=windows"}, Window, "", "windows"},
        {{"-help", "-version", "--help=1"}, Window, "", ""}, {{"-reverse", "-platform"}, Window, "", ""},
        {{"file", "--help", "-style", "w"}, Help, "", "w"}, {{"--version", "--help"}, Version, "", ""},
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
