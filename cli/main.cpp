#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "store/MessageText.h"
#include "store/NumberText.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <malloc.h>
#include <string>
#include <vector>

namespace zentaro::cli {

std::string Escape(std::string_view text)
{
    return EscapedText(text);
}

} // namespace zentaro::cli

namespace {

std::string DataFileHelpText()
{
    try {
        return zentaro::Joined({"\"", zentaro::cli::DefaultDataFile(false).string(), "\""});
    } catch (const std::exception& error) {
        return std::string("which cannot be found here: ") + error.what();
    }
}

struct Command {
    std::string_view name;
    std::string_view arguments;
    std::string_view description; // one line in the help
    int (*run)(const zentaro::cli::Invocation&);
};

// Up to this size (M_MMAP_THRESHOLD's largest) allocations come from the heap.
constexpr int kKeptAllocation = 32 * 1024 * 1024;

// Every command, in the order the help lists them.
constexpr Command kCommands[] = {
    {"new", "FILE", "write the empty table", zentaro::cli::RunNew},
    {"dump", "[--all] [FILE]", "the visible rows, or with --all the stored rows and the change log",
     zentaro::cli::RunDump},
    {"import", "[FILE] UPDATEFILE [--lock-wait S]",
     "add an update file's batch or an ECB rates file's days (FILE created when missing; exit 3: all there already)",
     zentaro::cli::RunImport},
    {"update", "[FILE] [--url URL] [--lock-wait S]",
     "download the update address (or URL) to \"Last Update.txt\" beside FILE and import it (exit 3 as import)",
     zentaro::cli::RunUpdate},
    {"remove", "[FILE] TIME [--lock-wait S]", "remove every rate of upload time TIME; prints nothing", zentaro::cli::RunRemove},
    {"clear", "[FILE] [--lock-wait S]", "remove all rates, without asking; prints nothing", zentaro::cli::RunClear},
    {"times", "[FILE]", "the upload times in the table's order", zentaro::cli::RunTimes},
    {"currencies", "[FILE] [--time T | --on DATE]",
     "the sorted currencies of the last upload time (or T, or the newest day on or before DATE)",
     zentaro::cli::RunCurrencies},
    {"convert", "[FILE] AMOUNT FROM TO [--time T | --on DATE]",
     "convert AMOUNT from FROM to TO at the last upload time (or T, or the newest day on or before DATE)",
     zentaro::cli::RunConvertCommand},
    {"convert", "[FILE] - [--time T | --on DATE]",
     "one conversion per line \"AMOUNT FROM TO\" of standard input, one result per line (exit 1: a line failed)",
     zentaro::cli::RunConvertCommand},
    {"history", "[FILE] FROM TO [--since DATE] [--until DATE]",
     "the rate of one FROM in TO on every day (YYYY-MM-DD) that has both, oldest first: DATE<TAB>RATE",
     zentaro::cli::RunHistory},
};

void PrintHelp(std::ostream& out)
{
    out << "usage: zentaro-cli [--decimal-separator C] COMMAND ARGS...\n       zentaro-cli --version\n\ncommands:\n";
    for (const auto& command : kCommands)
        out << "  zentaro-cli " << command.name << " " << command.arguments << "\n      " << command.description
            << "\n";
    out << "\nThe decimal separator defaults to the user's locale. DATE is YYYY-MM-DD.\n";
    out << "FILE defaults to the window's data file, " << DataFileHelpText() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zentaro::cli;
    // A command runs once and exits: memory a load frees (the packet's
    // metadata, its first rows) is kept for the table's arrays instead of
    // going back to the system and being faulted in again, page by page.
    mallopt(M_MMAP_THRESHOLD, kKeptAllocation);
    mallopt(M_TRIM_THRESHOLD, kKeptAllocation);
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
        if (args[0] == "--version") {
            std::cout << "zentaro-cli " << ZENTARO_VERSION << "\n";
            return 0;
        }
        for (const auto& command : kCommands) {
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
