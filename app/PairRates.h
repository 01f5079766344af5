#pragma once

#include "store/ConversionRules.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zentaro {

class RateTable;

// The rates of the pair the two currency lists show, each kept with the
// upload time and currency it was looked up for, so that a keystroke in the
// amount field costs one lookup: the other list's rate is looked up again
// only when its currency or the upload time changed since.
class PairRates {
public:
    enum Side { kFrom, kTo };

    explicit PairRates(RateTable& table) : table_(table) {}

    // Looks up side's rate of currency at uploadTime, unless it holds that
    // one already and again is false; the rate's text, empty when no row has
    // it, goes into scratch then.
    void LookUp(Side side, std::string uploadTime, std::string currency, bool again, std::string& scratch);
    // amount converted with the two rates; nullopt when either is missing.
    std::optional<std::string> Convert(std::string_view amount, char decimalSeparator,
                                       EmptyAmount emptyAmount) const;

private:
    struct Shown {
        std::string uploadTime;
        std::string currency;
        std::optional<std::string> rateText; // nullopt: no row has it
    };

    RateTable& table_;
    std::array<Shown, 2> shown_;
};

} // namespace zentaro
