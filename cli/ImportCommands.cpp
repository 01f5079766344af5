// zentaro-cli import, update, remove and clear: the rate import and the data
// maintenance, without the window's confirmation boxes.
#include "cli/CliCommand.h"
#include "cli/Options.h"
#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/UpdateFromUrl.h"
#include "import/RatesFile.h"
#include "import/UpdateImport.h"
#include "store/Maintenance.h"
#include "store/RateTable.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

namespace zentaro::cli {
namespace {

constexpr int kDuplicateStatus = 3;

bool Exists(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

int Report(const ImportResult& result)
{
    std::cout << Escape(result.message) << '\n';
    return result.outcome == ImportOutcome::Duplicate ? kDuplicateStatus : 0;
}

} // namespace

int RunImport(const Invocation& invocation)
{
    if (invocation.args.size() != 2)
        throw UsageError{"import takes FILE and UPDATEFILE"};
    const std::filesystem::path file = invocation.args[0];
    RateTable table(invocation.decimalSeparator);
    if (Exists(file))
        table.LoadFromFile(file);
    else
        table.SaveToFile(file);
    return Report(ImportRatesFile(table, invocation.args[1], file, kFileUpdateSuccessText));
}

int RunUpdate(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {"--url"});
    if (args.positional.size() != 1)
        throw UsageError{"update takes one FILE"};
    const std::filesystem::path file = args.positional[0];
    const std::string url = args.Value("--url").value_or(DefaultUpdateUrl());

    RateTable table(invocation.decimalSeparator);
    const bool existed = Exists(file);
    if (existed)
        table.LoadFromFile(file);

    CurlFetcher fetcher;
    const FetchedUpdate fetched = FetchUpdateFile(fetcher, url, std::filesystem::absolute(file).parent_path());
    if (!fetched.ReadyToImport())
        throw ImportError(*fetched.message);
    if (!existed)
        table.SaveToFile(file);
    return Report(ImportRatesFile(table, fetched.updateFile, file, kUrlUpdateSuccessText));
}

int RunRemove(const Invocation& invocation)
{
    if (invocation.args.size() != 2)
        throw UsageError{"remove takes FILE and TIME"};
    const std::filesystem::path file = invocation.args[0];
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    RemoveBatch(table, invocation.args[1]);
    table.SaveToFile(file);
    return 0;
}

int RunClear(const Invocation& invocation)
{
    if (invocation.args.size() != 1)
        throw UsageError{"clear takes one FILE"};
    const std::filesystem::path file = invocation.args[0];
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    ClearAll(table);
    table.SaveToFile(file);
    return 0;
}

} // namespace zentaro::cli
