#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro::cli {

// A command's data file and the positional arguments after it.
struct DataFileArgs {
    std::filesystem::path file;
    std::vector<std::string> rest;
};

// Every command that works on a data file takes it as its first positional
// argument, or leaves it out to use the window's data file. others is how many
// positional arguments follow the file; any other count is a UsageError with
// usage as its text.
DataFileArgs TakeDataFile(const std::vector<std::string>& positional, std::size_t others, std::string_view usage);

// The running program's data file, the window's: beside the program when
// portable, in the user's data folder when installed. With prepare set, an
// installed program's first use creates that folder with the sample data; a
// failure to do so is a StoreError with its reason.
std::filesystem::path DefaultDataFile(bool prepare);

} // namespace zentaro::cli
