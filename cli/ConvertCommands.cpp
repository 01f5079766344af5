// zentaro-cli times, currencies and convert: the window's lists and conversion
// on a data file, except that a currency not found is an error, never a stale rate.
#include "cli/CliCommand.h"
#include "cli/Options.h"
#include "store/ConversionRules.h"
#include "store/RateTable.h"

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zentaro::cli {
namespace {

std::string CurrentOr(RateTable& table, const std::optional<std::string>& time)
{
    return time ? *time : BuildUploadTimeList(table).text;
}

void PrintLines(const std::vector<std::string>& lines)
{
    for (const auto& line : lines)
        std::cout << Escape(line) << '\n';
}

std::string RateOf(RateTable& table, const std::string& time, const std::string& currency)
{
    auto rate = LookUpRate(table, time, currency);
    if (!rate)
        throw std::runtime_error("Unknown currency " + currency + " at upload time " + time);
    return std::move(*rate);
}

} // namespace

int RunTimes(const Invocation& invocation)
{
    if (invocation.args.size() != 1)
        throw UsageError{"times takes one FILE"};
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(invocation.args[0]);
    PrintLines(BuildUploadTimeList(table).entries);
    return 0;
}

int RunCurrencies(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {"--time"});
    if (args.positional.size() != 1)
        throw UsageError{"currencies takes one FILE"};
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(args.positional[0]);
    const std::string time = CurrentOr(table, args.Value("--time"));
    PrintLines(SortCurrencyEntries(BuildCurrencyList(table, time).entries));
    return 0;
}

int RunConvert(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {"--time"});
    if (args.positional.size() != 4)
        throw UsageError{"convert takes FILE AMOUNT FROM TO"};
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(args.positional[0]);
    const std::string time = CurrentOr(table, args.Value("--time"));
    const std::string source = RateOf(table, time, args.positional[2]);
    const std::string target = RateOf(table, time, args.positional[3]);
    std::cout << Escape(ConvertAmount(args.positional[1], source, target, invocation.decimalSeparator,
                                      EmptyAmount::IsZero))
              << '\n';
    return 0;
}

} // namespace zentaro::cli
