#pragma once

#include "import/CurlFetcher.h"
#include "store/RateTable.h"

#include <QString>
#include <QWidget>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class TextComboBox;

// The text of the error message box for an error's text: a full stop is
// appended when the last byte sorts after ".".
QString ErrorBoxText(const std::string& errorText);

// The main window. Its handlers carry the names of the events they handle and
// call one another directly; every one that an event raises runs through
// Guard, which turns an uncaught error into the error message box.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Every modal box the window shows; tests replace it.
    class Dialogs {
    public:
        virtual ~Dialogs() = default;
        // The plain message box: application title, the text, one OK, no icon.
        virtual void ShowMessage(const QString& text) = 0;
        // The error message box: the same with a stop icon.
        virtual void ShowError(const QString& text) = 0;
        // The "Confirm" question box with Yes and No; true for Yes.
        virtual bool Confirm(const QString& text) = 0;
        // The open-file dialog with one name filter; nullopt when cancelled.
        virtual std::optional<QString> OpenFile(const QString& nameFilter) = 0;
    };

    struct Settings {
        std::filesystem::path programFolder; // holds the rate data file
        char decimalSeparator = '.';
        std::string updateUrl;
        zentaro::FetchLimits fetchLimits; // timeouts and size caps of the update download

        // The installed program's: the executable's folder, the user's locale.
        static Settings Installed();
    };

    static constexpr const char* kDataFileName = "conversion data.kvx";

    // Runs FormCreate as the window's creation event. Without dialogs the
    // window shows real message boxes.
    explicit TForm1(Settings settings, std::unique_ptr<Dialogs> dialogs = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up and the refresh: reloads the data file and rebuilds the lists.
    void FormCreate(QObject* sender);
    void ComboBox1Change(QObject* sender);
    void ComboBox2Change(QObject* sender);
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

    std::filesystem::path DataFilePath() const;
    zentaro::RateTable& Table() { return table_; }
    bool DragEnabled() const { return dragEnabled_; }
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void ConnectEvents();
    void FillCurrencyList(TextComboBox& list, std::string& rateText);
    void SortCurrencyList(TextComboBox& list);
    std::string AmountText() const;
    void ShowResult(const std::string& text);
    void UpdateImport(const std::filesystem::path& updateFile, std::string_view successText,
                      QObject* sender);

    Settings settings_;
    std::unique_ptr<Dialogs> dialogs_;
    zentaro::RateTable table_;
    bool dragEnabled_ = false;
    bool currencyListsSorted_ = false;
};
