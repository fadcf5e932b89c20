#pragma once

// The command line, read before Qt takes its own arguments out of it: the program's own --help
// and --version, and the two Qt arguments start-up must know of. The platform names what failed
// when no display opens; the style decides whether the program's own style replaces Qt's.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korvel {

struct CommandLine {
    enum class Asks : std::uint8_t { Window, Help, Version };
    Asks asks = Asks::Window;
    std::string platform;  // -platform NAME; empty when none is given
    std::string style;     // -style NAME or -style=NAME; empty when none is given
};

// Reads the arguments after the program's name as Qt does: one or two leading dashes alike, a
// value after "=" only for the style, an option's value never read as an option itself, each of
// Qt's passes over what the one before left.
CommandLine readCommandLine(std::span<const char* const> arguments);

// What --help and --version print.
std::string_view usage();
std::string_view versionLine();

}  // namespace korvel
