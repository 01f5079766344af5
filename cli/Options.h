#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::cli {

// A command line with the options a command knows taken out: "--name VALUE"
// for value options, "--name" alone for flags. Everything else stays, in
// order, as positional arguments.
struct Options {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::set<std::string, std::less<>> flags;

    std::optional<std::string> Value(std::string_view name) const;
    bool Flag(std::string_view name) const { return flags.contains(name); }
};

// A value option without its value is a UsageError.
Options TakeOptions(const std::vector<std::string>& args, std::initializer_list<std::string_view> valueNames,
                    std::initializer_list<std::string_view> flagNames = {});

} // namespace zentaro::cli
