#include "store/StoredRates.h"
#include "store/ConversionRules.h"
#include "store/DataFileInput.h"
#include "store/FileReplacement.h"
#include "store/PacketFormat.h"
#include "store/RateTable.h"
#include "store/StoreError.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <limits>
#include <unistd.h>

namespace zentaro {
namespace {

// One cell of a view's column as the row stores it; a view whose field the
// packet lacks reads as null, which shows the empty text as a missing view does.
struct StoredCell {
    std::uint8_t flags = kCellNull;
    const char* text = nullptr;
    std::size_t length = 0;
    double number = 0;
};

// Where a view's field is in the packet and how its cells show.
struct ViewField {
    std::optional<std::size_t> column;
    ColumnKind kind = ColumnKind::Text;
    std::size_t width = 0;
};

// A rate cell kept past its row, whose bytes are gone with the next block.
struct KeptRate {
    std::size_t run = 0;
    std::uint8_t flags = kCellNull;
    double number = 0;
    std::string text;
};

// A text of up to 16 bytes as two words: its first eight bytes and its last
// eight (the low bytes alone when it is shorter), so two such texts of one
// length are equal exactly when their words are.
struct TextWords {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::size_t length = 0;
    bool operator==(const TextWords&) const = default;
};

// Reads eight bytes from text and from text + length - 8, whatever length
// is: the caller makes sure they can be read. Longer texts give words that
// compare unequal to nothing in particular and are not trusted.
TextWords WordsOf(const char* text, std::size_t length)
{
    const auto* bytes = reinterpret_cast<const std::byte*>(text);
    if (length >= 8)
        return {LoadLittle<std::uint64_t>(bytes), LoadLittle<std::uint64_t>(bytes + length - 8), length};
    const std::uint64_t low = length == 0 ? 0 : ~std::uint64_t{0} >> (64 - 8 * length);
    return {LoadLittle<std::uint64_t>(bytes) & low, 0, length};
}

// The rules of CurrentUploadTime and LookUpStoredRate as one pass over the
// rows: visible rows in stored order (the order a load gives), texts as the
// views show them (cut at the first zero byte and at the width; a number as
// general number text; null and unchanged cells empty). Runs are consecutive
// visible rows that show one upload time.
class RateSearch final : public PacketRowSink {
public:
    RateSearch(std::optional<std::string_view> uploadTime, std::span<const std::string_view> currencies,
               char decimalSeparator)
        : asked_(uploadTime), currencies_(currencies), separator_(decimalSeparator), found_(currencies.size())
    {
        for (const std::string_view currency : currencies) {
            clean_.push_back(currency.find('\0') == std::string_view::npos);
            std::array<char, 24> padded{};
            std::memcpy(padded.data(), currency.data(), std::min(currency.size(), std::size_t{16}));
            wantedWords_.push_back(currency.size() <= 16 ? WordsOf(padded.data(), currency.size()) : TextWords{});
            wantedWords_.back().length = currency.size();
        }
    }

    void Begin(const TableData& metadata, const RowLayout& layout, std::uint32_t rowCount, std::size_t) override
    {
        layout_ = &layout;
        rowCount_ = rowCount;
        for (std::size_t v = 0; v < fields_.size(); ++v) {
            fields_[v].column = metadata.ColumnIndex(kRateViewFields[v]);
            if (!fields_[v].column)
                continue;
            const ColumnDef& column = metadata.columns[*fields_[v].column];
            fields_[v].kind = column.kind;
            fields_[v].width = column.width;
            viewColumns_[v] = *fields_[v].column;
        }
        // The views read columns 0, 1 and 2 as this program writes them.
        direct_ = layout.rateShape && viewColumns_ == std::array<std::size_t, 3>{0, 1, 2};
    }

    std::size_t Read(std::span<const std::byte> bytes) override
    {
        const DecodedRows decoded = DecodeRows(bytes, *layout_, rows_, rowCount_, *this);
        rows_ = decoded.next;
        return decoded.bytes;
    }

    bool Done() const override { return rows_ == rowCount_; }

    // The decoder's calls, one per row and cell. Every column of the packet
    // is handed over in every row, so a view's cell never keeps a value from
    // the row before; a view whose field is missing keeps its null cell.
    void Status(std::size_t, std::uint8_t status) { visible_ = TableData::Visible(status); }
    void Empty(std::size_t, std::size_t column, std::uint8_t cell)
    {
        if (StoredCell* stored = CellOf(column))
            stored->flags = cell;
    }
    void Number(std::size_t, std::size_t column, double value)
    {
        if (StoredCell* stored = CellOf(column))
            *stored = {0, nullptr, 0, value};
    }
    void Text(std::size_t, std::size_t column, const char* text, std::size_t length)
    {
        if (StoredCell* stored = CellOf(column))
            *stored = {0, text, length, 0};
    }
    // A row of the layout this program writes, nothing null: the common case, taken in one step.
    void RateRow(std::size_t row, std::uint8_t status, const char* time, std::size_t timeLength,
                 const char* currency, std::size_t currencyLength, double rate)
    {
        if (!direct_) {
            Status(row, status);
            Text(row, 0, time, timeLength);
            Text(row, 1, currency, currencyLength);
            Number(row, 2, rate);
            EndRow(row);
            return;
        }
        if (!TableData::Visible(status))
            return;
        // In this layout at least nine bytes follow either text (a length
        // byte and the rate), so eight bytes can be read from anywhere in it.
        const TextWords timeWords = WordsOf(time, timeLength);
        if (!(timeWordsValid_ && timeWords == timeWords_)) {
            const StoredCell cell{0, time, timeLength, 0};
            if (!SameRawUploadTime(cell))
                NextUploadTime(cell);
            timeWords_ = timeWords;
            timeWordsValid_ = timeLength <= 16;
        }
        if (!runWanted_)
            return;
        const TextWords currencyWords = WordsOf(currency, currencyLength);
        for (std::size_t i = 0; i < currencies_.size(); ++i) {
            // A stored text as long as wanted shows it when its bytes are
            // wanted's and no cut applies; other lengths take the full rule.
            const bool shows = currencyLength == wantedWords_[i].length && currencyLength <= 16
                                   ? currencyWords == wantedWords_[i] && currencyLength <= fields_[1].width &&
                                         clean_[i]
                                   : Shows(1, {0, currency, currencyLength, 0}, currencies_[i]);
            if (shows)
                Keep(found_[i], {0, nullptr, 0, rate});
        }
    }

    void EndRow(std::size_t)
    {
        if (!visible_)
            return;
        timeWordsValid_ = false;
        if (!SameRawUploadTime(cells_[0]))
            NextUploadTime(cells_[0]);
        if (!runWanted_)
            return;
        for (std::size_t i = 0; i < currencies_.size(); ++i)
            if (Shows(1, cells_[1], currencies_[i]))
                Keep(found_[i], cells_[2]);
    }

    // Only when no time was asked: the newest time stands in an earlier run
    // too, and a currency is not in its last run, so the last match may lie
    // in that earlier run.
    bool NeedsSecondPass() const
    {
        if (asked_ || runs_ == 0)
            return false;
        const bool allInLastRun = std::all_of(found_.begin(), found_.end(),
                                              [&](const std::optional<KeptRate>& kept) { return kept && kept->run == runs_; });
        return !allInLastRun && std::find(runHashes_.begin(), runHashes_.end() - 1, runHashes_.back()) != runHashes_.end() - 1;
    }

    const std::string& LastUploadTime() const { return runText_; }

    StoredRates Result() const
    {
        StoredRates result;
        result.rates.resize(currencies_.size());
        // No visible row: CurrentUploadTime is empty and nothing is stored to match.
        result.uploadTime = asked_ ? std::string(*asked_) : runText_;
        if (runs_ == 0)
            return result;
        for (std::size_t i = 0; i < currencies_.size(); ++i) {
            const auto& kept = found_[i];
            if (kept && (asked_ || kept->run == runs_))
                result.rates[i] = Shown(2, {kept->flags, kept->text.data(), kept->text.size(), kept->number});
        }
        return result;
    }

private:
    StoredCell* CellOf(std::size_t column)
    {
        for (std::size_t v = 0; v < viewColumns_.size(); ++v)
            if (viewColumns_[v] == column)
                return &cells_[v];
        return nullptr;
    }

    std::string Shown(std::size_t view, const StoredCell& cell) const
    {
        const bool text = cell.flags == 0 && fields_[view].kind == ColumnKind::Text;
        return CellDisplayText(cell.flags, fields_[view].kind,
                               text ? StoredTextOf({cell.text, cell.length}, fields_[view].width) : std::string_view(),
                               cell.number, separator_);
    }

    // Whether the cell shows wanted, without building the text it shows.
    bool Shows(std::size_t view, const StoredCell& cell, std::string_view wanted) const
    {
        if (cell.flags != 0)
            return wanted.empty();
        if (fields_[view].kind == ColumnKind::Float)
            return Shown(view, cell) == wanted;
        const std::size_t stored = std::min(cell.length, fields_[view].width);
        // A shown text holds no zero byte; one that starts with wanted shows
        // it when it ends there or is cut there.
        return wanted.size() <= stored && SameTextBytes(cell.text, wanted.data(), wanted.size()) &&
               (wanted.size() == stored || cell.text[wanted.size()] == '\0') &&
               wanted.find('\0') == std::string_view::npos;
    }

    // Most rows repeat the upload time of the row before byte for byte.
    bool SameRawUploadTime(const StoredCell& cell) const
    {
        return runs_ > 0 && rawValid_ && cell.flags == 0 && cell.length == raw_.size() &&
               SameTextBytes(cell.text, raw_.data(), cell.length);
    }

    void NextUploadTime(const StoredCell& cell)
    {
        rawValid_ = fields_[0].kind == ColumnKind::Text && cell.flags == 0;
        if (rawValid_)
            raw_.assign(cell.text, cell.length);
        std::string shown = Shown(0, cell);
        if (runs_ > 0 && shown == runText_)
            return;
        runText_ = std::move(shown);
        ++runs_;
        if (!asked_)
            runHashes_.push_back(std::hash<std::string>{}(runText_));
        runWanted_ = !asked_ || runText_ == *asked_;
    }

    void Keep(std::optional<KeptRate>& kept, const StoredCell& rate)
    {
        if (!kept)
            kept.emplace();
        kept->run = runs_;
        kept->flags = rate.flags;
        kept->number = rate.number;
        if (rate.flags == 0 && fields_[2].kind == ColumnKind::Text)
            kept->text.assign(rate.text, rate.length);
    }

    const std::optional<std::string_view> asked_;
    const std::span<const std::string_view> currencies_;
    const char separator_;
    const RowLayout* layout_ = nullptr;
    std::uint32_t rowCount_ = 0;
    std::size_t rows_ = 0;
    std::array<ViewField, 3> fields_;
    std::array<std::size_t, 3> viewColumns_ = {SIZE_MAX, SIZE_MAX, SIZE_MAX};
    bool direct_ = false;
    bool visible_ = false;
    std::array<StoredCell, 3> cells_;
    std::string raw_; // the stored upload time of the last visible row
    bool rawValid_ = false;
    std::size_t runs_ = 0;
    std::string runText_;
    std::vector<std::size_t> runHashes_;
    bool runWanted_ = false;
    std::vector<std::optional<KeptRate>> found_;
    std::vector<bool> clean_; // per currency: holds no zero byte, so a stored text can show it
    std::vector<TextWords> wantedWords_;
    TextWords timeWords_; // of the last visible row taken in one step
    bool timeWordsValid_ = false;
};

} // namespace

StoredRates SearchStoredRates(const PacketStream& stream, std::optional<std::string_view> uploadTime,
                              std::span<const std::string_view> currencies, char decimalSeparator)
{
    RateSearch search(uploadTime, currencies, decimalSeparator);
    TableData metadata;
    stream(metadata, search);
    if (!search.NeedsSecondPass())
        return search.Result();
    const std::string newest = search.LastUploadTime();
    RateSearch again(newest, currencies, decimalSeparator);
    stream(metadata, again);
    return again.Result();
}

StoredRates ReadStoredRates(const std::filesystem::path& path, std::optional<std::string_view> uploadTime,
                            std::span<const std::string_view> currencies, char decimalSeparator)
{
    const DataFileInput input = OpenDataFileInput(path);
    const auto size = static_cast<std::uint64_t>(input.info.st_size);
    // From 4 GiB on a load can fail on the size of a text column, which a
    // pass that keeps no texts cannot tell; such a file is loaded instead.
    if (size == 0 || size > std::numeric_limits<std::uint32_t>::max()) {
        RateTable table(decimalSeparator);
        table.LoadFromFile(path);
        StoredRates result;
        result.uploadTime = uploadTime ? std::string(*uploadTime) : CurrentUploadTime(table);
        for (const std::string_view currency : currencies)
            result.rates.push_back(LookUpStoredRate(table, result.uploadTime, currency));
        return result;
    }
    const ByteSource read = input.Source(path);
    const ByteSkip skip = input.Skip();
    return SearchStoredRates(
        [&](TableData& metadata, PacketRowSink& sink) {
            if (::lseek(input.fd.Get(), 0, SEEK_SET) != 0)
                throw StoreError(FileErrorText("Cannot open file", path, errno));
            StreamPacket(read, static_cast<std::size_t>(size), metadata, ChangeLogUse::CheckOnly, sink, skip);
        },
        uploadTime, currencies, decimalSeparator);
}

} // namespace zentaro
