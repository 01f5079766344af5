// zentaro-cli times, currencies and convert: the window's lists and conversion
// on a data file, except that a currency not found is an error where the
// window leaves its result empty.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "cli/UploadTimeChoice.h"
#include "store/ConversionRules.h"
#include "store/RateTable.h"

#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace zentaro::cli {
namespace {

void PrintLines(const std::vector<std::string>& lines)
{
    for (const auto& line : lines)
        std::cout << Escape(line) << '\n';
}

std::string RateOf(RateTable& table, const std::string& time, const std::string& currency)
{
    const auto rate = LookUpStoredRate(table, time, currency);
    if (!rate)
        throw CliError(UnknownCurrencyText(currency, time));
    return *rate;
}

} // namespace

int RunTimes(const Invocation& invocation)
{
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(TakeDataFile(invocation.args, 0, "times takes at most one FILE").file);
    PrintLines(BuildUploadTimeList(table).entries);
    return 0;
}

int RunCurrencies(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kTimeOption, kOnOption});
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(TakeDataFile(args.positional, 0, "currencies takes at most one FILE").file);
    const std::string time = ChosenUploadTime(table, args);
    PrintLines(SortCurrencyEntries(BuildCurrencyList(table, time).entries));
    return 0;
}

int RunConvert(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kTimeOption, kOnOption});
    const auto [file, rest] = TakeDataFile(args.positional, 3, "convert takes [FILE] AMOUNT FROM TO");
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    const std::string time = ChosenUploadTime(table, args);
    const std::string source = RateOf(table, time, rest[1]);
    const std::string target = RateOf(table, time, rest[2]);
    std::cout << Escape(ConvertAmount(rest[0], source, target, invocation.decimalSeparator,
                                      EmptyAmount::IsZero))
              << '\n';
    return 0;
}

} // namespace zentaro::cli
