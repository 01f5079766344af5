#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "store/NumberText.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace zentaro::cli {

std::vector<CommandInfo>& Registry()
{
    static std::vector<CommandInfo> commands;
    return commands;
}

bool RegisterCommand(CommandInfo info)
{
    Registry().push_back(std::move(info));
    return true;
}

const std::vector<CommandInfo>& Commands() { return Registry(); }

std::string Escape(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (byte < 32) {
                out += "\\x";
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            } else {
                out += c;
            }
        }
    }
    return out;
}

} // namespace zentaro::cli

namespace {

std::string DataFileHelpText()
{
    try {
        // Appended, not '"\"" + std::string', which GCC 12 takes for an overlapping copy (-Wrestrict).
        std::string text(1, '"');
        text += zentaro::cli::DefaultDataFile(false).string();
        text += '"';
        return text;
    } catch (const std::exception& error) {
        return std::string("which cannot be found here: ") + error.what();
    }
}

void PrintHelp(std::ostream& out)
{
    out << "usage: zentaro-cli [--decimal-separator C] COMMAND ARGS...\n\ncommands:\n";
    for (const auto& command : zentaro::cli::Commands())
        out << "  zentaro-cli " << command.usage << "\n";
    out << "\nThe decimal separator defaults to the user's locale.\n";
    out << "FILE defaults to the window's data file, " << DataFileHelpText() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zentaro::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    Invocation invocation;
    invocation.decimalSeparator = zentaro::LocaleDecimalSeparator();
    try {
        const Options global = TakeOptions(args, {"--decimal-separator"});
        if (const auto separator = global.Value("--decimal-separator")) {
            if (separator->size() != 1)
                throw UsageError{"--decimal-separator takes one character"};
            invocation.decimalSeparator = separator->front();
        }
        args = global.positional;
        if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            PrintHelp(args.empty() ? std::cerr : std::cout);
            return args.empty() ? 1 : 0;
        }
        for (const auto& command : Commands()) {
            if (command.name == args[0]) {
                invocation.args.assign(args.begin() + 1, args.end());
                return command.run(invocation);
            }
        }
        throw UsageError{"unknown command " + args[0]};
    } catch (const UsageError& error) {
        std::cerr << "zentaro-cli: " << error.what() << "\n";
        PrintHelp(std::cerr);
        return 1;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << Escape(error.what()) << "\n";
        return 1;
    }
}
