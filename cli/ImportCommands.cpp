// zentaro-cli import, update, remove and clear: the rate import and the data
// maintenance, without the window's confirmation boxes.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/UpdateFromUrl.h"
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

int RunImport(const Invocation& invocation)
{
    const auto [file, rest] = TakeDataFile(invocation.args, 1, "import takes [FILE] UPDATEFILE");
    RateTable table(invocation.decimalSeparator);
    if (Exists(file))
        table.LoadFromFile(file);
    else
        table.SaveToFile(file);
    return Report(ImportUpdateFile(table, rest[0], file, kFileUpdateSuccessText));
}

int RunUpdate(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {"--url"});
    const std::filesystem::path file = TakeDataFile(args.positional, 0, "update takes at most one FILE").file;
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
    return Report(ImportUpdateFile(table, fetched.updateFile, file, kUrlUpdateSuccessText));
}

int RunRemove(const Invocation& invocation)
{
    const auto [file, rest] = TakeDataFile(invocation.args, 1, "remove takes [FILE] TIME");
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    RemoveBatch(table, rest[0]);
    table.SaveToFile(file);
    return 0;
}

int RunClear(const Invocation& invocation)
{
    const std::filesystem::path file = TakeDataFile(invocation.args, 0, "clear takes at most one FILE").file;
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    ClearAll(table);
    table.SaveToFile(file);
    return 0;
}

const bool registered =
    RegisterCommand({"import", "import [FILE] UPDATEFILE   add an update file's batch (FILE created when missing; "
                               "exit 3: upload time already there)",
                     RunImport}) &&
    RegisterCommand({"update", "update [FILE] [--url URL]   download the update address (or URL) to \"Last Update.txt\" "
                               "beside FILE and import it (exit 3: upload time already there)",
                     RunUpdate}) &&
    RegisterCommand({"remove", "remove [FILE] TIME   remove every rate of upload time TIME; prints nothing", RunRemove}) &&
    RegisterCommand({"clear", "clear [FILE]   remove all rates, without asking; prints nothing", RunClear});

} // namespace
} // namespace zentaro::cli
