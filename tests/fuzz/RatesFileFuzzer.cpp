// Reads arbitrary bytes as the ECB's XML and CSV rates, checking that a read
// either fails with the import's error or gives days the import can use.
#include "import/EcbCsv.h"
#include "import/EcbXml.h"
#include "import/ImportError.h"
#include "import/RatesFile.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace {

void Check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// What a read gives holds dates of the calendar and, on each day, every
// currency but the euro at most once.
void CheckDays(const std::vector<zentaro::RatesDay>& days, std::size_t inputSize)
{
    Check(!days.empty() && days.size() <= zentaro::kMaxImportDays);
    for (const auto& day : days) {
        Check(zentaro::IsIsoDate(day.date));
        std::set<std::string> codes;
        for (const auto& rate : day.rates) {
            Check(rate.code.size() + rate.rateText.size() <= inputSize);
            Check(rate.code != "EUR" && codes.insert(rate.code).second);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zentaro::RatesLayout layout = zentaro::DetectRatesLayout(bytes);
    try {
        CheckDays(zentaro::ReadEcbXml(bytes), size);
        Check(zentaro::IsEcbXml(bytes)); // what reads as ECB XML is recognised as such
    } catch (const zentaro::ImportError&) {
    }
    try {
        const auto days = zentaro::ReadEcbCsv(bytes);
        CheckDays(days, size);
        Check(layout == zentaro::RatesLayout::EcbCsv);
        for (const auto& day : days) {
            Check(day.line > 1); // the header is line 1
            for (const auto& rate : day.rates)
                Check(!zentaro::IsMissingRate(rate.rateText)); // missing rates are left out
        }
    } catch (const zentaro::ImportError&) {
    }
    return 0;
}
