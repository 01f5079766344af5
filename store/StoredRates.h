#pragma once

#include "store/DataPacket.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentaro {

// What a conversion needs from a data file: the upload time (the one asked
// for, or else CurrentUploadTime) and LookUpStoredRate of each currency at
// that time, exactly as a RateTable loaded from the file gives them.
struct StoredRates {
    std::string uploadTime;
    std::vector<std::optional<std::string>> rates; // one per currency asked; nullopt where no row matches
};

// Reads them from the file's rows as they stream past, without building the
// table: a one-off question on a long history costs a pass over the file and
// a few kilobytes. Fails where LoadFromFile fails, with the same texts.
StoredRates ReadStoredRates(const std::filesystem::path& path, std::optional<std::string_view> uploadTime,
                            std::span<const std::string_view> currencies, char decimalSeparator);

// The same over a packet that stream hands to a sink from its first byte
// each time it is called: once, or twice when the newest upload time also
// stands earlier in the table and a currency is not in its last run.
using PacketStream = std::function<void(TableData& metadata, PacketRowSink& sink)>;
StoredRates SearchStoredRates(const PacketStream& stream, std::optional<std::string_view> uploadTime,
                              std::span<const std::string_view> currencies, char decimalSeparator);

} // namespace zentaro
