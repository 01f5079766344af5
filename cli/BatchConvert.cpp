// zentaro-cli convert -: many conversions from standard input, one table
// load and one lookup per currency for the whole run.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "cli/UploadTimeChoice.h"
#include "store/ConversionRules.h"
#include "store/RateTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zentaro::cli {
namespace {

constexpr std::string_view kStandardInput = "-";
constexpr std::size_t kReadChunk = 1 << 16;
constexpr std::size_t kFlushAt = 1 << 16;

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The rate of each currency at the chosen upload time, looked up once.
class RateCache {
public:
    RateCache(RateTable& table, std::string uploadTime) : table_(table), uploadTime_(std::move(uploadTime)) {}

    const std::string& RateOf(std::string_view currency)
    {
        auto found = rates_.find(currency);
        if (found == rates_.end())
            found = rates_.emplace(std::string(currency), LookUpStoredRate(table_, uploadTime_, currency)).first;
        if (!found->second)
            throw CliError(UnknownCurrencyText(currency, uploadTime_));
        return *found->second;
    }

private:
    RateTable& table_;
    std::string uploadTime_;
    std::unordered_map<std::string, std::optional<std::string>, TextHash, std::equal_to<>> rates_;
};

// A line's first words, split at spaces and tabs, and how many there are
// in all; a line needs exactly three.
struct LineWords {
    std::array<std::string_view, 3> words;
    std::size_t count = 0;
};

LineWords Words(std::string_view line)
{
    LineWords split;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        if (split.count < split.words.size())
            split.words[split.count] = line.substr(start, end - start);
        ++split.count;
        at = end;
    }
    return split;
}

void Write(std::string& buffer, std::FILE* stream)
{
    std::fwrite(buffer.data(), 1, buffer.size(), stream);
    buffer.clear();
}

// Each line's result on its own line of standard output, so that output line
// n answers input line n; a line that fails leaves its output line empty and
// says why on standard error, with its number.
class BatchRun {
public:
    BatchRun(RateCache& rates, char separator) : rates_(rates), separator_(separator) {}

    void Line(std::string_view line)
    {
        ++number_;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        try {
            const auto [words, count] = Words(line);
            if (count != words.size())
                throw CliError("expected AMOUNT FROM TO");
            const std::string& source = rates_.RateOf(words[1]);
            const std::string& target = rates_.RateOf(words[2]);
            out_ += Escape(ConvertAmount(words[0], source, target, separator_, EmptyAmount::IsZero));
        } catch (const std::exception& error) {
            err_ += "line " + std::to_string(number_) + ": " + Escape(error.what()) + '\n';
            failed_ = true;
        }
        out_ += '\n';
        if (out_.size() >= kFlushAt)
            Flush();
    }

    void Flush()
    {
        Write(out_, stdout);
        Write(err_, stderr);
    }

    bool Failed() const { return failed_; }

private:
    RateCache& rates_;
    char separator_;
    std::size_t number_ = 0;
    bool failed_ = false;
    std::string out_;
    std::string err_;
};

int RunConvertBatch(const Invocation& invocation, const Options& args)
{
    const auto file = TakeDataFile(args.positional, 1, "convert takes [FILE] - to read standard input").file;
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    RateCache rates(table, ChosenUploadTime(table, args));
    BatchRun run(rates, invocation.decimalSeparator);

    std::string pending;
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        const std::size_t read = std::fread(chunk.data(), 1, chunk.size(), stdin);
        if (read == 0)
            break;
        pending.append(chunk.data(), read);
        std::size_t start = 0;
        for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1)
            run.Line(std::string_view(pending).substr(start, end - start));
        pending.erase(0, start);
    }
    if (!pending.empty())
        run.Line(pending);
    run.Flush();
    return run.Failed() ? 1 : 0;
}

} // namespace

int RunConvertCommand(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {kTimeOption, kOnOption});
    const auto& positional = args.positional;
    if (!positional.empty() && positional.size() <= 2 && positional.back() == kStandardInput)
        return RunConvertBatch(invocation, args);
    return RunConvert(invocation);
}

} // namespace zentaro::cli
