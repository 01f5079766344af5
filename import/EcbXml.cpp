#include "import/EcbXml.h"
#include "import/ImportError.h"
#include "store/MessageText.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>

namespace zentaro {
namespace {

// Expat joins a namespace URI and a local name with this character.
constexpr char kNameSeparator = ' ';
constexpr std::string_view kEnvelopeName = "http://www.gesmes.org/xml/2002-08-01 Envelope";
constexpr std::string_view kCubeName = "http://www.ecb.int/vocabulary/2002-08-01/eurofxref Cube";
// Expat takes lengths as int; larger documents are fed in pieces.
constexpr std::size_t kFeedBlock = std::size_t{1} << 20;

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree>;

Parser NewParser()
{
    Parser parser(XML_ParserCreateNS(nullptr, kNameSeparator));
    if (!parser)
        throw ImportError("Out of memory");
    return parser;
}

std::optional<std::string_view> Attribute(const XML_Char** attributes, std::string_view name)
{
    for (const XML_Char** a = attributes; *a; a += 2)
        if (name == *a)
            return std::string_view(a[1]);
    return std::nullopt;
}

// Walks the elements, keeping what the callbacks need; a callback that meets
// something out of shape stores the reason and stops the parser.
struct Reader {
    XML_Parser parser = nullptr;
    std::vector<RatesDay> days;
    std::string failure;
    bool rootSeen = false;
    int cubeDepth = 0;
    int dayDepth = 0; // cubeDepth of the open day, 0 when none
    std::unordered_set<std::string> dayCodes; // the open day's
    ImportCount count;

    void Fail(std::string reason)
    {
        if (failure.empty())
            failure = std::string(kMalformedRatesText) + std::move(reason) + LineText();
        XML_StopParser(parser, XML_FALSE);
    }

    // An error with its whole text, the line added.
    void Fail(const ImportError& error)
    {
        if (failure.empty())
            failure = error.what() + LineText();
        XML_StopParser(parser, XML_FALSE);
    }

    // An exception must not cross the parser's C frames: it stops the parser instead.
    template <typename Step> bool Counted(const Step& step)
    {
        try {
            step();
            return true;
        } catch (const ImportError& error) {
            Fail(error);
            return false;
        }
    }

    std::string LineText() const { return " (line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ")"; }

    void Start(std::string_view name, const XML_Char** attributes)
    {
        if (!rootSeen) {
            rootSeen = true;
            if (name != kEnvelopeName)
                Fail("the root element is not the ECB's Envelope");
            return;
        }
        if (name != kCubeName)
            return;
        ++cubeDepth;
        if (const auto time = Attribute(attributes, "time")) {
            if (dayDepth != 0)
                return Fail("a day inside another day");
            if (!IsIsoDate(*time))
                return Fail(SingleQuoted(*time) + " is not a date");
            if (!Counted([&] { count.AddDay(); }))
                return;
            days.push_back({std::string(*time), {}});
            dayCodes.clear();
            dayDepth = cubeDepth;
            return;
        }
        if (const auto currency = Attribute(attributes, "currency")) {
            const auto rate = Attribute(attributes, "rate");
            if (dayDepth == 0)
                return Fail("a rate outside a day");
            if (!rate)
                return Fail("the rate of " + QuotedInput(*currency) + " is missing");
            RatesDay& day = days.back();
            if (*currency == "EUR")
                return Fail(EuroListedError(day.date));
            if (!dayCodes.insert(std::string(*currency)).second)
                return Fail(RepeatedCodeError(day.date, *currency, ""));
            if (!Counted([&] { count.AddRate(*rate); }))
                return;
            day.rates.push_back({std::string(*currency), std::string(*rate)});
        }
    }

    void End(std::string_view name)
    {
        if (name != kCubeName)
            return;
        if (cubeDepth == dayDepth)
            dayDepth = 0;
        --cubeDepth;
    }
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
{
    static_cast<Reader*>(data)->Start(name, attributes);
}

void XMLCALL OnEnd(void* data, const XML_Char* name) { static_cast<Reader*>(data)->End(name); }

// Feeds the whole document; false when the parser stopped or failed.
bool Feed(XML_Parser parser, std::string_view bytes)
{
    do {
        const std::size_t size = std::min(bytes.size(), kFeedBlock);
        const bool last = size == bytes.size();
        if (XML_Parse(parser, bytes.data(), static_cast<int>(size), last ? XML_TRUE : XML_FALSE) != XML_STATUS_OK)
            return false;
        bytes.remove_prefix(size);
    } while (!bytes.empty());
    return true;
}

struct RootPeek {
    XML_Parser parser = nullptr;
    bool ecb = false;
};

void XMLCALL OnRoot(void* data, const XML_Char* name, const XML_Char**)
{
    auto* peek = static_cast<RootPeek*>(data);
    peek->ecb = name == kEnvelopeName;
    XML_StopParser(peek->parser, XML_FALSE);
}

} // namespace

bool IsEcbXml(std::string_view bytes)
{
    Parser parser = NewParser();
    RootPeek peek{parser.get()};
    XML_SetUserData(parser.get(), &peek);
    XML_SetStartElementHandler(parser.get(), OnRoot);
    Feed(parser.get(), bytes);
    return peek.ecb;
}

std::vector<RatesDay> ReadEcbXml(std::string_view bytes)
{
    Parser parser = NewParser();
    Reader reader;
    reader.parser = parser.get();
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    if (!Feed(parser.get(), bytes)) {
        if (reader.failure.empty())
            reader.Fail(XML_ErrorString(XML_GetErrorCode(parser.get())));
        throw ImportError(reader.failure);
    }
    if (reader.days.empty())
        throw ImportError(std::string(kMalformedRatesText) + "no day of rates");
    return std::move(reader.days);
}

} // namespace zentaro
