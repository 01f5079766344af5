// zentaro-cli history: a pair's rate on every day, as the History window draws it.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "cli/UploadTimeChoice.h"
#include "store/MessageText.h"
#include "store/NumberText.h"
#include "store/RateHistory.h"
#include "store/RateTable.h"

#include <cstdio>
#include <string>

namespace zentaro::cli {
namespace {

constexpr std::string_view kSinceOption = "--since";
constexpr std::string_view kUntilOption = "--until";

std::string NoDaysText(const std::vector<std::string>& pair, const Options& args)
{
    std::string text = "No days with rates of both " + QuotedInput(pair[0]) + " and " + QuotedInput(pair[1]);
    if (const auto since = args.Value(kSinceOption))
        text += " since " + *since;
    if (const auto until = args.Value(kUntilOption))
        text += " until " + *until;
    return text;
}

} // namespace

int RunHistory(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kSinceOption, kUntilOption});
    const auto [file, pair] = TakeDataFile(args.positional, 2, "history takes [FILE] FROM TO");
    const DayRange range{DateOption(args, kSinceOption), DateOption(args, kUntilOption)};
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    const auto points = PairHistory(table, pair[0], pair[1], range);
    if (points.empty())
        throw CliError(NoDaysText(pair, args));
    std::string out;
    for (const auto& point : points) {
        out += point.date;
        out += '\t';
        out += ResultText(point.rate, invocation.decimalSeparator);
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace zentaro::cli
