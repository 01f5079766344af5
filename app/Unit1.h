#pragma once

#include "app/PairRates.h"
#include "app/WindowDialogs.h"
#include "app/WindowDrag.h"
#include "app/WindowSettings.h"
#include "store/ConversionRules.h"
#include "store/RateTable.h"

#include <QString>
#include <QWidget>

#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QLineEdit;

namespace zentaro {

class AmountKeys;
class DataFileCommands;
class HistoryWindow;
class PairTools;
class PictureControl;
class RatesKeeper;
class TextComboBox;
class TXiButton;
class TXiPanel;
class WindowCommands;
class WindowShape;
struct ImportScratch;

// The main window. Its handlers carry the names of the events they handle and
// call one another directly; every one that an event raises runs through
// Guard, which turns an uncaught error into the error message box.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    using Dialogs = WindowDialogs;
    using Settings = WindowSettings;

    // Runs FormCreate as the window's creation event. Without dialogs the
    // window shows real message boxes.
    explicit TForm1(Settings settings, std::unique_ptr<Dialogs> dialogs = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up and the refresh: reloads the data file and rebuilds the lists.
    void FormCreate(QObject* sender);
    void ComboBox1Change(QObject* sender);
    void ComboBox2Change(QObject* sender);
    // Choosing an upload time: rebuilds both currency lists for it and converts.
    void ComboBox3Click(QObject* sender);
    void Edit8Change(QObject* sender);
    // key is the typed character; set to 0 it is discarded.
    void Edit8KeyPress(QObject* sender, char32_t& key);
    // The data commands: import a picked file or the update address, remove
    // the current upload time's rates, remove all rates.
    void UpdateFromFile1Click(QObject* sender);
    void Update1Click(QObject* sender);
    void Removecurrentdata1Click(QObject* sender);
    void Clear1Click(QObject* sender);

    // The calculator keypad: the toggle and one handler per key.
    void Bitbtn2Click(QObject* sender);
    void Bitbtn3Click(QObject* sender);
    void Bitbtn4Click(QObject* sender);
    void Bitbtn5Click(QObject* sender);
    void Bitbtn6Click(QObject* sender);
    void Bitbtn7Click(QObject* sender);
    void Bitbtn8Click(QObject* sender);
    void Bitbtn9Click(QObject* sender);
    void Bitbtn10Click(QObject* sender);
    void Bitbtn11Click(QObject* sender);
    void Bitbtn12Click(QObject* sender);
    void Bitbtn13Click(QObject* sender);
    void Bitbtn14Click(QObject* sender);
    void Bitbtn15Click(QObject* sender);
    void Bitbtn16Click(QObject* sender);
    void Bitbtn17Click(QObject* sender);
    void Bitbtn18Click(QObject* sender);
    void Bitbtn19Click(QObject* sender);
    void Bitbtn21Click(QObject* sender);

    // The shell: the drag by the background, the hover enlargement of the
    // picture buttons, exit and help. Positions are in the sender's pixels.
    void Image1MouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void Image1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Image1MouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void Clear1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Removecurrentdata1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Updatefromfile1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Update1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Image2MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Image3MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Image2Click(QObject* sender);
    void Image3Click(QObject* sender);
    // The pair's History window, and swapping From and To.
    void History1Click(QObject* sender);
    void History1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    void Swap1Click(QObject* sender);
    void Swap1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y);
    // The History window once opened, else null.
    HistoryWindow* History() const;

    std::filesystem::path DataFilePath() const { return settings_.DataFilePath(); }
    // True while "Update From URL" waits for its transfers; the data commands
    // do nothing then.
    bool Transferring() const;
    // The background menu's commands, and the keeper of the rates' age and
    // freshness.
    WindowCommands& Commands() const { return *commands_; }
    RatesKeeper& Rates() const { return *rates_; }
    bool Dragging() const { return drag_.Dragging(); }
    RateTable& Table() { return table_; }
    bool DragEnabled() const { return drag_.Enabled(); }
    char DecimalSeparator() const { return settings_.decimalSeparator; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TextComboBox* ComboBox3 = nullptr; // upload time
    TextComboBox* ComboBox1 = nullptr; // from currency
    TextComboBox* ComboBox2 = nullptr; // to currency
    QLineEdit* Edit8 = nullptr;        // amount
    QLineEdit* Edit9 = nullptr;        // result

    // Hidden scratch fields: the rate texts of the from and to currency.
    std::string Edit1;
    std::string Edit4;
    // The upload time to remove.
    std::string Edit2;
    // What the last import read: the last line, code, rate text, upload time.
    std::string Edito1;
    std::string Edito2;
    std::string Edito3;
    std::string Edito4;
    // The update address's body from the last connection check.
    std::string Memo1;

    TXiButton* Bitbtn2 = nullptr; // shows and hides the keypad
    TXiPanel* XiPanel1 = nullptr; // the keypad
    TXiButton* Bitbtn3 = nullptr;  // 7
    TXiButton* Bitbtn4 = nullptr;  // 8
    TXiButton* Bitbtn5 = nullptr;  // 9
    TXiButton* Bitbtn6 = nullptr;  // 4
    TXiButton* Bitbtn7 = nullptr;  // 5
    TXiButton* Bitbtn8 = nullptr;  // 6
    TXiButton* Bitbtn9 = nullptr;  // 1
    TXiButton* Bitbtn10 = nullptr; // 2
    TXiButton* Bitbtn11 = nullptr; // 3
    TXiButton* Bitbtn12 = nullptr; // 0
    TXiButton* Bitbtn13 = nullptr; // decimal point
    TXiButton* Bitbtn14 = nullptr; // +/-
    TXiButton* Bitbtn15 = nullptr; // /
    TXiButton* Bitbtn16 = nullptr; // *
    TXiButton* Bitbtn17 = nullptr; // -
    TXiButton* Bitbtn18 = nullptr; // +
    TXiButton* Bitbtn19 = nullptr; // C
    TXiButton* Bitbtn21 = nullptr; // OK
    // Hidden scratch fields of the keypad: the first operand and the pending operator.
    std::string Edit5;
    std::string Edit6;

    PictureControl* Image1 = nullptr; // the background; dragging it moves the window
    PictureControl* Image4 = nullptr; // decoration
    PictureControl* Clear1 = nullptr;
    PictureControl* Removecurrentdata1 = nullptr;
    PictureControl* Updatefromfile1 = nullptr;
    PictureControl* Update1 = nullptr;
    PictureControl* Image2 = nullptr; // exit
    PictureControl* Image3 = nullptr; // help
    PictureControl* History1 = nullptr;
    PictureControl* Swap1 = nullptr;

    // Runs an event's handler; an error ends it and shows the error message
    // box. Returns whether the handler completed.
    template <typename Handler>
    bool Guard(Handler&& handler)
    {
        try {
            handler();
            return true;
        } catch (const std::exception& error) {
            dialogs_->ShowError(ErrorBoxText(error.what()));
            return false;
        }
    }

private:
    // Runs handler through Guard on every emission of signal, with as for its sender.
    template <typename Sender, typename Signal>
    void Bind(Sender* sender, Signal signal, void (TForm1::*handler)(QObject*), QObject* as)
    {
        connect(sender, signal, this, [this, handler, as] { Guard([&] { (this->*handler)(as); }); });
    }
    void CreateControls();
    void ConnectEvents();
    void CreateKeypad(const QFont& controlFont);
    void CreateShell();
    struct PictureButton;
    void CreateBackgroundPicture();
    void AddPictureButton(const PictureButton& button);
    void ArrangeControls();
    void DigitKey(char digit);
    void OperatorKey(char op);
    void EndHoverEnlargement();
    void FillCurrencyList(TextComboBox& list, const CurrencyPass& pass);
    std::string AmountText() const;
    void ShowResult(const std::string& text);

    // Looks up side's rate at the current upload time into its scratch
    // field, unless it is held already and again is false.
    void LookUpShownRate(PairRates::Side side, bool again);
    // Converts the amount with the two shown rates; the result stays empty
    // when either is missing.
    void ShowConversion(EmptyAmount emptyAmount);
    // After the lists changed under the amount: both rates looked up again
    // and the amount converted, or the result left empty for an empty amount.
    void ConvertAgain();
    void HideKeypad();
    void KeepImportScratch(const ImportScratch& scratch);

    Settings settings_;
    std::unique_ptr<Dialogs> dialogs_;
    RateTable table_;
    WindowDrag drag_;
    std::unique_ptr<WindowShape> shape_;
    bool currencyListsSorted_ = false;
    PairRates pairRates_;
    bool uploadTimeTyped_ = false; // the upload-time list's text was typed since it was last chosen
    std::unique_ptr<PairTools> tools_;
    WindowCommands* commands_ = nullptr;
    RatesKeeper* rates_ = nullptr;
    DataFileCommands* dataCommands_ = nullptr;
    AmountKeys* amountKeys_ = nullptr;
};

} // namespace zentaro
