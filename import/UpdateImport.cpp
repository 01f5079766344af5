#include "import/UpdateImport.h"
#include "import/ImportError.h"
#include "import/UpdateFile.h"
#include "store/ConversionRules.h"
#include "store/MessageText.h"
#include "store/RateTable.h"
#include "store/StoreError.h"

#include <cmath>
#include <optional>
#include <vector>

namespace zentaro {
namespace {

struct PreparedRow {
    std::string code;
    std::string rateText;
};

} // namespace

void CheckRateText(const std::string& rateText, char decimalSeparator)
{
    std::optional<double> value;
    try {
        value = FloatFieldValue(rateText, decimalSeparator, kRateViewFields[2]);
    } catch (const StoreError& error) {
        throw ImportError(error.what());
    }
    // Every conversion divides by a rate: one that is not above 0 is as
    // unusable as one that is not a number, and is refused the same way.
    if (value && !(std::isfinite(*value) && *value > 0))
        throw ImportError(NotAFloatText(rateText, kRateViewFields[2]));
}

void PostRateRow(RateTable& table, std::string_view uploadTime, std::string_view code, std::string_view rateText)
{
    table.Insert();
    table.DBEdit1().SetText(uploadTime);
    table.DBEdit2().SetText(code);
    table.DBEdit3().SetText(rateText);
    try {
        table.Post();
    } catch (...) {
        table.Cancel();
        throw;
    }
}

std::string DuplicateUploadTimeMessage(std::string_view uploadTime)
{
    return "Upload Time : " + QuotedInput(uploadTime) + " is already exist";
}

ImportResult ImportUpdate(RateTable& table, std::string_view bytes,
                          const std::filesystem::path& dataFile, std::string_view successText)
{
    UpdateFileReader reader(bytes);
    ImportResult result;
    result.uploadTime = reader.ReadLine();
    result.scratch.edito4 = result.uploadTime;

    if (HoldsUploadTime(table, result.uploadTime)) {
        result.outcome = ImportOutcome::Duplicate;
        result.message = DuplicateUploadTimeMessage(result.uploadTime);
        return result;
    }

    RateLines batch = ReadRateLines(reader);
    // A batch without a rate line would add nothing yet report success.
    if (batch.lines.empty())
        throw ImportError(std::string(kNoRatesText));
    const char separator = table.DecimalSeparator();
    std::vector<PreparedRow> rows;
    rows.reserve(batch.lines.size());
    // Each line goes once split: a long one is held once, not three times.
    for (auto& line : batch.lines) {
        SplitLine split = SplitRateLine(line);
        std::string().swap(line);
        PreparedRow row{std::move(split.code), RateText(std::move(split.valueText), separator)};
        CheckRateText(row.rateText, separator);
        rows.push_back(std::move(row));
    }

    for (const auto& row : rows)
        PostRateRow(table, result.uploadTime, row.code, row.rateText);
    table.SaveToFile(dataFile);

    result.rowsAdded = rows.size();
    result.message = std::string(successText);
    result.scratch.edito1 = batch.lastRead;
    result.scratch.lineCounter = batch.linesRead;
    if (!rows.empty()) {
        result.scratch.edito2 = rows.back().code;
        // An empty line ends the batch after the field was cleared for it.
        if (!batch.lastRead.empty())
            result.scratch.edito3 = rows.back().rateText;
    }
    return result;
}

} // namespace zentaro
