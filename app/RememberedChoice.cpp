#include "app/RememberedChoice.h"

#include <QSettings>

#include <algorithm>

namespace zentaro {

namespace {

const QString kFromKey = QStringLiteral("choice/from");
const QString kToKey = QStringLiteral("choice/to");
const QString kAmountKey = QStringLiteral("choice/amount");

std::string Bytes(const QVariant& value) { return value.toString().toUtf8().toStdString(); }
QString Text(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

std::optional<Choice> RememberedChoice::Load() const
{
    if (!Keeps())
        return std::nullopt;
    const QSettings settings(file_, QSettings::IniFormat);
    if (!settings.contains(kFromKey) && !settings.contains(kToKey))
        return std::nullopt;
    return Choice{Bytes(settings.value(kFromKey)), Bytes(settings.value(kToKey)), Bytes(settings.value(kAmountKey))};
}

void RememberedChoice::Save(const Choice& choice) const
{
    if (!Keeps())
        return;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(kFromKey, Text(choice.from));
    settings.setValue(kToKey, Text(choice.to));
    settings.setValue(kAmountKey, Text(choice.amount));
}

FirstPair FirstStartPair(const std::vector<std::string>& offered, const std::string& localeCurrency)
{
    const auto holds = [&](const std::string& code) {
        return !code.empty() && std::find(offered.begin(), offered.end(), code) != offered.end();
    };
    FirstPair pair;
    if (holds("EUR"))
        pair.from = "EUR";
    if (holds(localeCurrency) && localeCurrency != "EUR")
        pair.to = localeCurrency;
    return pair;
}

} // namespace zentaro
