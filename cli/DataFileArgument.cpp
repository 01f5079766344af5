#include "cli/DataFileArgument.h"
#include "cli/CliCommand.h"
#include "store/DataLocation.h"

namespace zentaro::cli {

DataFileArgs TakeDataFile(const std::vector<std::string>& positional, std::size_t others, std::string_view usage)
{
    if (positional.size() == others + 1)
        return {positional.front(), {positional.begin() + 1, positional.end()}};
    if (positional.size() == others)
        return {DefaultDataFile(true), positional};
    throw UsageError{std::string(usage)};
}

std::filesystem::path DefaultDataFile(bool prepare)
{
    const ProgramLayout layout = FindProgramLayout(RunningProgramFolder());
    const EnvironmentLookup environment = ProcessEnvironment();
    return DataFileIn(prepare ? PrepareDataFolder(layout, environment) : DataFolder(layout, environment));
}

} // namespace zentaro::cli
