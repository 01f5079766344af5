#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::cli {

// What every command gets: its own arguments (global options already taken
// out) and the decimal separator in force.
struct Invocation {
    std::vector<std::string> args;
    char decimalSeparator = '.';
};

// A command returns the process's exit status; errors are thrown (CliError or
// a lower layer's error) and printed by main with exit status 1.
using CommandFn = std::function<int(const Invocation&)>;

struct CommandInfo {
    std::string name;
    std::string usage; // one line for the help text
    CommandFn run;
};

// Commands register themselves from their own source file:
//   static const bool registered = RegisterCommand({"new", "new FILE", RunNew});
bool RegisterCommand(CommandInfo info);
const std::vector<CommandInfo>& Commands();

// Writes a text the way every CLI output does: backslash, TAB, LF and CR as
// \\ \t \n \r, other bytes below 32 as \xHH, everything else unchanged.
std::string Escape(std::string_view text);

// The CLI's own errors, with the text printed to standard error (exit 1).
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A wrong command line: printed with the usage.
class UsageError : public CliError {
public:
    using CliError::CliError;
};

} // namespace zentaro::cli
