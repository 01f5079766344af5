#pragma once

#include "app/CurrencyNames.h"
#include "app/RememberedChoice.h"
#include "store/DateLookup.h"

#include <QString>

#include <memory>
#include <string>

class QIcon;
class QLineEdit;
class QPoint;
class QWidget;

namespace zentaro {

class HistoryWindow;
class RateTable;
class TextComboBox;

// What the main window offers around its three lists: the currencies'
// names, swapping From and To, the pair's History window, the choice kept
// across starts, dates typed into the upload-time list and amounts pasted
// into the amount field. The window calls it from its handlers.
class PairTools {
public:
    struct Controls {
        TextComboBox* uploadTimes; // ComboBox3
        TextComboBox* from;        // ComboBox1
        TextComboBox* to;          // ComboBox2
        QLineEdit* amount;         // Edit8
    };
    struct Options {
        char decimalSeparator = '.';
        std::string locale;         // of the currencies' names
        std::string localeCurrency; // the first start's To
        QString settingsFile;       // where the choice is kept; empty: nowhere
    };

    PairTools(RateTable& table, Controls controls, Options options);
    ~PairTools();

    // After each load of the table: the dates index, the list's current
    // entry, the open History window.
    void TableLoaded();
    // The chosen pair changed: the open History window follows it.
    void PairChanged();
    // Before the upload-time list's text is chosen: a typed date becomes the
    // day the date rule picks; false when it picks none (the list's hint
    // says why).
    bool ResolveTypedTime();
    // After an upload time was chosen.
    void TimeChosen();

    // Exchanges the texts of the two currency lists; the caller converts.
    void Swap();
    // Opens the pair's History window, or brings it forward.
    void OpenHistory(const QIcon& icon);
    HistoryWindow* History() const { return history_.get(); }

    // The kept choice onto the lists and the amount field, or on a first
    // start EUR and the locale's currency; the caller converts when it
    // returns true. Nothing where no choice is kept.
    bool RestoreChoice();
    void SaveChoice() const;

    // Inserts the number the clipboard's text holds into the amount field;
    // nothing for a text without one.
    void PasteAmount();
    // The amount field's context menu, whose Paste pastes that way.
    void ShowAmountMenu(const QPoint& at);

private:
    RateTable& table_;
    Controls controls_;
    Options options_;
    CurrencyNames names_;
    RememberedChoice remembered_;
    UploadTimeDates dates_;
    std::unique_ptr<HistoryWindow> history_;
    // The pair the History window shows: a keystroke in the amount field
    // runs the pair's handlers, which then fetch nothing again.
    std::pair<std::string, std::string> shownPair_;
};

} // namespace zentaro
