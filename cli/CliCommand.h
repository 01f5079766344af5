#pragma once

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

// Each command returns the process's exit status; errors are thrown (CliError or
// a lower layer's error) and printed by main with exit status 1. main.cpp lists them
// all in one table.
int RunNew(const Invocation& invocation);
int RunDump(const Invocation& invocation);
int RunImport(const Invocation& invocation);
int RunUpdate(const Invocation& invocation);
int RunRemove(const Invocation& invocation);
int RunClear(const Invocation& invocation);
int RunTimes(const Invocation& invocation);
int RunCurrencies(const Invocation& invocation);
int RunConvert(const Invocation& invocation);
// convert, and convert [FILE] - for many conversions read from standard input.
int RunConvertCommand(const Invocation& invocation);
int RunHistory(const Invocation& invocation);

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
