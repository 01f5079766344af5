#include "cli/Options.h"
#include "cli/CliCommand.h"

#include <algorithm>

namespace zentaro::cli {

std::optional<std::string> Options::Value(std::string_view name) const
{
    const auto found = values.find(name);
    if (found == values.end())
        return std::nullopt;
    return found->second;
}

Options TakeOptions(const std::vector<std::string>& args, std::initializer_list<std::string_view> valueNames,
                    std::initializer_list<std::string_view> flagNames)
{
    const auto listed = [](std::initializer_list<std::string_view> names, const std::string& arg) {
        return std::find(names.begin(), names.end(), arg) != names.end();
    };
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (listed(valueNames, args[i])) {
            if (i + 1 >= args.size())
                throw UsageError{args[i] + " takes a value"};
            options.values[args[i]] = args[i + 1];
            ++i;
        } else if (listed(flagNames, args[i])) {
            options.flags.insert(args[i]);
        } else {
            options.positional.push_back(args[i]);
        }
    }
    return options;
}

} // namespace zentaro::cli
