// zentaro-cli import, update, remove and clear: the rate import and the data
// maintenance, without the window's confirmation boxes. Each holds the data
// file's lock for its whole read-change-save, as the window does.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "cli/UploadTimeChoice.h"
#include "import/CurlFetcher.h"
#include "import/ImportError.h"
#include "import/UpdateFromUrl.h"
#include "import/RatesFile.h"
#include "import/UpdateImport.h"
#include "store/DataFileChange.h"
#include "store/Maintenance.h"
#include "store/RateTable.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>

namespace zentaro::cli {
namespace {

constexpr int kDuplicateStatus = 3;
constexpr std::string_view kLockWaitOption = "--lock-wait";
constexpr double kMaxLockWaitSeconds = 24 * 3600;

int Report(const ImportResult& result)
{
    std::cout << Escape(result.message) << '\n';
    return result.outcome == ImportOutcome::Duplicate ? kDuplicateStatus : 0;
}

// How long to wait for another program's change of the file: --lock-wait
// SECONDS, 10 seconds when not given.
DataFileAccess Access(const Options& args, const std::filesystem::path& file, bool createMissing)
{
    DataFileAccess access;
    access.createMissing = createMissing;
    access.companions = {LastUpdatePath(file)};
    if (const auto text = args.Value(kLockWaitOption)) {
        double seconds = -1;
        const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
        if (error != std::errc{} || end != text->data() + text->size() || !std::isfinite(seconds) ||
            seconds < 0 || seconds > kMaxLockWaitSeconds)
            throw UsageError("--lock-wait takes a number of seconds");
        access.lockWait = std::chrono::milliseconds(std::llround(seconds * 1000));
    }
    return access;
}

} // namespace

int RunImport(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kLockWaitOption});
    const auto [file, rest] = TakeDataFile(args.positional, 1, "import takes [FILE] UPDATEFILE");
    RateTable table(invocation.decimalSeparator);
    ImportResult result;
    // A missing FILE comes to exist only through a successful import's save.
    ChangeDataFile(table, file, Access(args, file, true), [&] {
        result = ImportRatesFile(table, rest[0], file, kFileUpdateSuccessText);
    });
    return Report(result);
}

int RunUpdate(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {"--url", kLockWaitOption});
    const std::filesystem::path file = TakeDataFile(args.positional, 0, "update takes at most one FILE").file;
    UrlUpdateRequest request;
    request.url = args.Value("--url").value_or(DefaultUpdateUrl());
    request.dataFile = file;
    request.access = Access(args, file, true);

    RateTable table(invocation.decimalSeparator);
    CurlFetcher fetcher;
    const UrlUpdateResult result = RunUrlUpdate(table, fetcher, request);
    if (result.outcome == UrlUpdateOutcome::DownloadFailed || result.outcome == UrlUpdateOutcome::Cancelled)
        throw ImportError(result.message);
    return Report(result.import);
}

int RunRemove(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kLockWaitOption});
    const auto [file, rest] = TakeDataFile(args.positional, 1, "remove takes [FILE] TIME");
    RateTable table(invocation.decimalSeparator);
    ChangeDataFile(table, file, Access(args, file, false), [&] {
        RequireUploadTime(table, rest[0]);
        RemoveBatch(table, rest[0]);
        table.SaveToFile(file);
    });
    return 0;
}

int RunClear(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kLockWaitOption});
    const std::filesystem::path file = TakeDataFile(args.positional, 0, "clear takes at most one FILE").file;
    RateTable table(invocation.decimalSeparator);
    ChangeDataFile(table, file, Access(args, file, false), [&] {
        ClearAll(table);
        table.SaveToFile(file);
    });
    return 0;
}

} // namespace zentaro::cli
