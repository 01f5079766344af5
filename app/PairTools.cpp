#include "app/PairTools.h"

#include "app/AmountPaste.h"
#include "app/CurrencyListNames.h"
#include "app/HistoryWindow.h"
#include "app/TextComboBox.h"
#include "app/UploadTimeList.h"
#include "store/RateHistory.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>

namespace zentaro {

namespace {

const QString kCurrencyHint = QStringLiteral("Click to Select Unit Currency");
const QString kTimeHint = QStringLiteral("Click to Select Time");

bool Offers(const TextComboBox& list, const std::string& code)
{
    const auto& entries = list.Entries();
    return !code.empty() && std::find(entries.begin(), entries.end(), code) != entries.end();
}

} // namespace

PairTools::PairTools(RateTable& table, Controls controls, Options options)
    : table_(table),
      controls_(controls),
      options_(std::move(options)),
      names_(options_.locale),
      remembered_(options_.settingsFile)
{
    ShowCurrencyNames(*controls_.from, names_, kCurrencyHint);
    ShowCurrencyNames(*controls_.to, names_, kCurrencyHint);
    OfferMatchingDays(*controls_.uploadTimes);
}

PairTools::~PairTools() = default;

void PairTools::TableLoaded()
{
    dates_ = UploadTimeDates::Of(table_);
    controls_.uploadTimes->setToolTip(kTimeHint);
    SelectEntryOfText(*controls_.uploadTimes);
    if (history_) {
        shownPair_ = {controls_.from->Text(), controls_.to->Text()};
        history_->ShowPair(shownPair_.first, shownPair_.second);
    }
}

void PairTools::PairChanged()
{
    if (!history_)
        return;
    std::pair<std::string, std::string> pair{controls_.from->Text(), controls_.to->Text()};
    if (pair == shownPair_)
        return;
    shownPair_ = std::move(pair);
    history_->ShowPair(shownPair_.first, shownPair_.second);
}

bool PairTools::ResolveTypedTime()
{
    TextComboBox& list = *controls_.uploadTimes;
    const TypedTime typed = ChooseTypedTime(dates_, list.Entries(), list.Text());
    list.setToolTip(typed.note.isEmpty() ? kTimeHint : kTimeHint + QLatin1Char('\n') + typed.note);
    if (!typed.pick)
        return false;
    if (*typed.pick != list.Text())
        list.SetText(*typed.pick);
    return true;
}

void PairTools::TimeChosen() { SelectEntryOfText(*controls_.uploadTimes); }

void PairTools::Swap()
{
    const std::string from = controls_.from->Text();
    controls_.from->SetText(controls_.to->Text());
    controls_.to->SetText(from);
    PairChanged();
}

void PairTools::OpenHistory(const QIcon& icon)
{
    if (!history_) {
        history_ = std::make_unique<HistoryWindow>(
            [this](const std::string& from, const std::string& to) { return PairHistory(table_, from, to); },
            options_.decimalSeparator);
        history_->setWindowIcon(icon);
        shownPair_ = {controls_.from->Text(), controls_.to->Text()};
        history_->ShowPair(shownPair_.first, shownPair_.second);
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
}

bool PairTools::RestoreChoice()
{
    if (!remembered_.Keeps())
        return false;
    if (const std::optional<Choice> kept = remembered_.Load()) {
        if (Offers(*controls_.from, kept->from))
            controls_.from->SetText(kept->from);
        if (Offers(*controls_.to, kept->to))
            controls_.to->SetText(kept->to);
        controls_.amount->setText(QString::fromStdString(kept->amount));
        return true;
    }
    const FirstPair first = FirstStartPair(controls_.from->Entries(), options_.localeCurrency);
    if (first.from)
        controls_.from->SetText(*first.from);
    if (first.to)
        controls_.to->SetText(*first.to);
    return true;
}

void PairTools::SaveChoice() const
{
    remembered_.Save({controls_.from->Text(), controls_.to->Text(), controls_.amount->text().toStdString()});
}

void PairTools::PasteAmount()
{
    const std::optional<std::string> amount =
        PastedAmount(QApplication::clipboard()->text().toStdString(), options_.decimalSeparator);
    if (amount)
        controls_.amount->insert(QString::fromStdString(*amount));
}

void PairTools::ShowAmountMenu(const QPoint& at)
{
    std::unique_ptr<QMenu> menu(controls_.amount->createStandardContextMenu());
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            action->setEnabled(true);
            QObject::connect(action, &QAction::triggered, controls_.amount, [this] { PasteAmount(); });
        }
    }
    menu->exec(controls_.amount->mapToGlobal(at));
}

} // namespace zentaro
