#include "tools/render/RenderProperties.h"

#include "controls/ColorSchemes.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QImage>

#include <array>
#include <climits>
#include <functional>
#include <map>
#include <string_view>
#include <utility>

namespace zentaro {

namespace {

[[noreturn]] void BadValue(const QString& name, const QString& value)
{
    throw RenderError(QStringLiteral("invalid value '%1' for %2").arg(value, name).toStdString());
}

bool ParseBool(const QString& name, const QString& value)
{
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    BadValue(name, value);
}

int ParseInt(const QString& name, const QString& value, int minimum)
{
    bool ok = false;
    const int n = value.toInt(&ok, 10);
    if (!ok || n < minimum)
        BadValue(name, value);
    return n;
}

TColor ParseColor(const QString& name, const QString& value)
{
    QString digits;
    if (value.startsWith(u'$'))
        digits = value.mid(1);
    else if (value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = value.mid(2);
    bool ok = false;
    const qulonglong n = digits.toULongLong(&ok, 16);
    if (digits.isEmpty() || digits.size() > 8 || !ok)
        BadValue(name, value);
    return static_cast<TColor>(n);
}

template <typename Enum, std::size_t N>
Enum ParseEnum(const QString& name, const QString& value, const std::array<const char*, N>& literals)
{
    for (std::size_t i = 0; i < N; ++i)
        if (value == QLatin1String(literals[i]))
            return static_cast<Enum>(i);
    BadValue(name, value);
}

constexpr std::array<const char*, 4> kLayouts = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
constexpr std::array<const char*, 3> kDirections = {"fdHorizontal", "fdVertical", "fdDiagonal"};
constexpr std::array<const char*, 4> kBevels = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
constexpr std::array<const char*, 3> kAlignments = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr std::array<const char*, 3> kDrawStates = {"normal", "over", "down"};

template <typename Control>
using Setter = std::function<void(Control&, const QString& name, const QString& value)>;

std::pair<QString, QString> Split(const QString& assignment)
{
    const qsizetype eq = assignment.indexOf(u'=');
    if (eq <= 0)
        throw RenderError(QStringLiteral("expected Property=Value, got '%1'").arg(assignment).toStdString());
    return {assignment.left(eq), assignment.mid(eq + 1)};
}

template <typename Control>
void Apply(const std::map<QString, Setter<Control>>& setters, Control& control, const QString& assignment)
{
    const auto [name, value] = Split(assignment);
    const auto it = setters.find(name);
    if (it == setters.end())
        throw RenderError(QStringLiteral("unknown property '%1'").arg(name).toStdString());
    it->second(control, name, value);
}

// What every control takes.
template <typename Control>
std::map<QString, Setter<Control>> CommonSetters()
{
    return {
        {"Width", [](Control& c, const QString& n, const QString& v) { c.resize(ParseInt(n, v, 0), c.height()); }},
        {"Height", [](Control& c, const QString& n, const QString& v) { c.resize(c.width(), ParseInt(n, v, 0)); }},
        {"Caption", [](Control& c, const QString&, const QString& v) { c.SetCaption(v); }},
        {"Enabled", [](Control& c, const QString& n, const QString& v) { c.setEnabled(ParseBool(n, v)); }},
        {"Font.Name", [](Control& c, const QString&, const QString& v) {
             QFont font = c.font();
             font.setFamily(v);
             c.setFont(font);
         }},
        {"Font.Size", [](Control& c, const QString& n, const QString& v) {
             QFont font = c.font();
             font.setPointSize(ParseInt(n, v, 1));
             c.setFont(font);
         }},
        {"Font.Bold", [](Control& c, const QString& n, const QString& v) {
             QFont font = c.font();
             font.setBold(ParseBool(n, v));
             c.setFont(font);
         }},
    };
}

// The colour properties by their names, and ColorScheme by the names that
// schemeFromName knows.
template <typename Control, std::size_t N, typename SchemeFromName>
void AddColorSetters(std::map<QString, Setter<Control>>& s, const std::array<std::string_view, N>& names,
                     SchemeFromName schemeFromName)
{
    for (int i = 0; i < static_cast<int>(N); ++i)
        s[QString::fromLatin1(names[i].data(), names[i].size())] =
            [i](Control& c, const QString& n, const QString& v) { c.SetColor(i, ParseColor(n, v)); };
    s["ColorScheme"] = [schemeFromName](Control& c, const QString& n, const QString& v) {
        const auto scheme = schemeFromName(v.toStdString());
        if (!scheme)
            BadValue(n, v);
        c.SetColorScheme(*scheme);
    };
}

const std::map<QString, Setter<TXiButton>>& ButtonSetters()
{
    static const std::map<QString, Setter<TXiButton>> setters = [] {
        auto s = CommonSetters<TXiButton>();
        AddColorSetters(s, kButtonColorNames, ButtonSchemeFromName);
        s["Ctl3D"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetCtl3D(ParseBool(n, v)); };
        s["Layout"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.SetLayout(ParseEnum<TButtonLayout>(n, v, kLayouts));
        };
        s["Glyph"] = [](TXiButton& b, const QString& n, const QString& v) {
            const QImage glyph(v);
            if (glyph.isNull())
                BadValue(n, v);
            b.SetGlyph(glyph);
        };
        s["Spacing"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.SetSpacing(ParseInt(n, v, INT_MIN));
        };
        s["TransparentGlyph"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.SetTransparentGlyph(ParseBool(n, v));
        };
        s["Gradient"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetGradient(ParseBool(n, v)); };
        s["HotTrack"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetHotTrack(ParseBool(n, v)); };
        s["Cancel"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetCancel(ParseBool(n, v)); };
        s["Default"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetDefault(ParseBool(n, v)); };
        s["ModalResult"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.SetModalResult(ParseInt(n, v, INT_MIN));
        };
        s["TabStop"] = [](TXiButton& b, const QString& n, const QString& v) { b.SetTabStop(ParseBool(n, v)); };
        s["State"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.ShowDrawState(ParseEnum<TDrawState>(n, v, kDrawStates), b.Focused());
        };
        s["Focused"] = [](TXiButton& b, const QString& n, const QString& v) {
            b.ShowDrawState(b.DrawState(), ParseBool(n, v));
        };
        return s;
    }();
    return setters;
}

const std::map<QString, Setter<TXiPanel>>& PanelSetters()
{
    static const std::map<QString, Setter<TXiPanel>> setters = [] {
        auto s = CommonSetters<TXiPanel>();
        AddColorSetters(s, kPanelColorNames, PanelSchemeFromName);
        s["FillDirection"] = [](TXiPanel& p, const QString& n, const QString& v) {
            p.SetFillDirection(ParseEnum<TFillDirection>(n, v, kDirections));
        };
        s["Alignment"] = [](TXiPanel& p, const QString& n, const QString& v) {
            p.SetAlignment(ParseEnum<TAlignment>(n, v, kAlignments));
        };
        s["BevelInner"] = [](TXiPanel& p, const QString& n, const QString& v) {
            p.SetBevelInner(ParseEnum<TBevelCut>(n, v, kBevels));
        };
        s["BevelOuter"] = [](TXiPanel& p, const QString& n, const QString& v) {
            p.SetBevelOuter(ParseEnum<TBevelCut>(n, v, kBevels));
        };
        s["BevelWidth"] = [](TXiPanel& p, const QString& n, const QString& v) {
            p.SetBevelWidth(ParseInt(n, v, 0));
        };
        return s;
    }();
    return setters;
}

} // namespace

void ApplyButtonProperty(TXiButton& button, const QString& assignment)
{
    Apply(ButtonSetters(), button, assignment);
}

void ApplyPanelProperty(TXiPanel& panel, const QString& assignment)
{
    Apply(PanelSetters(), panel, assignment);
}

} // namespace zentaro
