#include "app/PairRates.h"

namespace zentaro {

void PairRates::LookUp(Side side, std::string uploadTime, std::string currency, bool again, std::string& scratch)
{
    Shown& shown = shown_[side];
    if (!again && shown.uploadTime == uploadTime && shown.currency == currency)
        return;
    shown.rateText = LookUpStoredRate(table_, uploadTime, currency);
    shown.uploadTime = std::move(uploadTime);
    shown.currency = std::move(currency);
    scratch = shown.rateText.value_or(std::string());
}

std::optional<std::string> PairRates::Convert(std::string_view amount, char decimalSeparator,
                                              EmptyAmount emptyAmount) const
{
    return ConvertWithRates(amount, shown_[kFrom].rateText, shown_[kTo].rateText, decimalSeparator, emptyAmount);
}

} // namespace zentaro
