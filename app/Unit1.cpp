#include "app/Unit1.h"
#include "app/Accessibility.h"
#include "app/AmountKeys.h"
#include "app/DataFileCommands.h"
#include "app/FollowDataFile.h"
#include "app/HintConFont.h"
#include "app/KeyCharacter.h"
#include "app/Keypad.h"
#include "app/KeypadNavigation.h"
#include "app/KeypadRules.h"
#include "app/MessageBoxDialogs.h"
#include "app/PairTools.h"
#include "app/PictureControl.h"
#include "app/RatesKeeper.h"
#include "app/ShownText.h"
#include "app/TextComboBox.h"
#include "app/WindowCommands.h"
#include "app/WindowDrag.h"
#include "app/WindowLooks.h"
#include "app/WindowShape.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"
#include "import/UpdateImport.h"
#include "store/Maintenance.h"

#include <QLabel>
#include <QLineEdit>

namespace zentaro {

namespace {

const QString kOpenFileFilter =
    QStringLiteral("currency data (*.txt)|*.txt|ECB reference rates (*.xml *.csv *.zip)|*.xml;*.csv;*.zip");
// The two lines of each question are parted by a single carriage return.
const QString kRemoveQuestion =
    QStringLiteral("Are You Sure Want To Remove Current Time ?\rWarning this cannot be Undone.");
const QString kClearQuestion =
    QStringLiteral("Are You Sure Want To Clear All Currency Database ?\rWarning this cannot be Undone.");

const QString kTypeNumericText = QStringLiteral("Please type a numeric format");
const QString kInvalidKeyText = QStringLiteral("Invalid numeric format : ");

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

} // namespace

TForm1::TForm1(Settings settings, std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent),
      settings_(std::move(settings)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<MessageBoxDialogs>()),
      table_(settings_.decimalSeparator),
      drag_(*this, settings_),
      pairRates_(table_)
{
    CreateControls();
    ConnectEvents();
    // Without its folder the data file cannot be there either: the one box
    // gives the folder's reason.
    if (!settings_.dataFolderError.empty())
        dialogs_->ShowError(ErrorBoxText(settings_.dataFolderError));
    try {
        FormCreate(this);
        if (tools_->RestoreChoice())
            Guard([this] { ConvertAgain(); });
    } catch (const std::exception& error) {
        if (settings_.dataFolderError.empty())
            dialogs_->ShowError(StartupErrorBoxText(error.what(), DataFilePath()));
    }
    rates_ = new RatesKeeper(this, *commands_, settings_,
                             {[this] { return Transferring(); }, [this] { FollowDataFile(*this); },
                              [this]() -> const std::vector<std::string>& { return ComboBox3->Entries(); },
                              [this] { return ComboBox3->Text(); }});
    rates_->AgeLine()->stackUnder(ComboBox3);
    // The window opens ready for an amount; it takes the focus when the window is activated.
    Edit8->setFocus();
}

TForm1::~TForm1()
{
    tools_->SaveChoice();
    // The controls outlive this part of the window; closing them must not
    // reach the handlers any more.
    delete amountKeys_;
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

void TForm1::CreateControls()
{
    InstallAccessibility();
    SetUpMainWindow(*this);
    const QFont font = ControlFont(kControlFontPixels);
    Label1 = CreateLabel(this, "Current Time : ", {233, 86, 89, 16}, font);
    Label2 = CreateLabel(this, "From :", {225, 125, 39, 16}, font);
    Label3 = CreateLabel(this, "To :", {225, 158, 24, 16}, font);
    ComboBox3 = CreateList(this, "Click to Select Time", {327, 84, 263, 24}, font);
    Edit8 = CreateEdit(this, "Type a Numeric Format Here", {279, 122, 122, 24}, font);
    ComboBox1 = CreateList(this, "Click to Select Unit Currency", {432, 122, 159, 24}, font);
    Edit9 = CreateEdit(this, "Result", {279, 154, 146, 24}, font);
    Edit9->setReadOnly(true);
    ComboBox2 = CreateList(this, "Click to Select Unit Currency", {432, 154, 159, 24}, font);
    NameFields({{ComboBox3, "Current Time", Label1}, {Edit8, "Amount"}, {ComboBox1, "From currency", Label2},
                {Edit9, "Result"}, {ComboBox2, "To currency", Label3}});

    CreateKeypad(font);
    CreateShell();
    ArrangeControls();
    tools_ = std::make_unique<PairTools>(table_, PairTools::Controls{ComboBox3, ComboBox1, ComboBox2, Edit8},
                                         PairTools::Options{settings_.decimalSeparator, settings_.locale,
                                                            settings_.localeCurrency, settings_.configFile});
}

void TForm1::ConnectEvents()
{
    // Lists raise their handlers only on the user's typing and picking; the
    // amount field raises Edit8Change on every change, also from code.
    Bind(ComboBox1->lineEdit(), &QLineEdit::textEdited, &TForm1::ComboBox1Change, ComboBox1);
    Bind(ComboBox1, &QComboBox::textActivated, &TForm1::ComboBox1Change, ComboBox1);
    Bind(ComboBox2->lineEdit(), &QLineEdit::textEdited, &TForm1::ComboBox2Change, ComboBox2);
    Bind(ComboBox2, &QComboBox::textActivated, &TForm1::ComboBox2Change, ComboBox2);
    Bind(ComboBox3, &QComboBox::textActivated, &TForm1::ComboBox3Click, ComboBox3);
    // A typed upload time is chosen by Enter or by leaving the list; until
    // then the result belongs to another time and is not shown.
    connect(ComboBox3->lineEdit(), &QLineEdit::textEdited, this, [this] {
        uploadTimeTyped_ = true;
        Edit9->clear();
    });
    Bind(ComboBox3, &TextComboBox::returnPressed, &TForm1::ComboBox3Click, ComboBox3);
    connect(ComboBox3, &TextComboBox::left, this, [this] {
        if (uploadTimeTyped_)
            Guard([this] { ComboBox3Click(ComboBox3); });
    });
    Bind(Edit8, &QLineEdit::textChanged, &TForm1::Edit8Change, Edit8);
    amountKeys_ = new AmountKeys(Edit8, {[this](char32_t& key) { return Guard([&] { Edit8KeyPress(Edit8, key); }); },
                                         [this] { Guard([this] { tools_->PasteAmount(); }); },
                                         [this](QPoint at) { tools_->ShowAmountMenu(at); }});
}

void TForm1::FormCreate(QObject*)
{
    drag_.Enable();
    THintConFont::Install();
    // Whatever the reload brings, the old result no longer belongs to it.
    Edit9->clear();
    // A file that this window itself has just loaded or saved, unchanged
    // since, holds nothing new: reading it again would only cost time.
    if (table_.HoldsFileContent(DataFilePath()))
        table_.First();
    else
        table_.LoadFromFile(DataFilePath());

    ComboBox1->ClearAll();
    ComboBox2->ClearAll();
    ComboBox3->ClearAll();

    const UploadTimeList times = BuildUploadTimeList(table_);
    for (const auto& entry : times.entries)
        ComboBox3->AddEntry(entry);
    ComboBox3->SetText(times.text);

    const CurrencyPass pass = BuildCurrencyList(table_, ComboBox3->Text());
    FillCurrencyList(*ComboBox1, pass);
    FillCurrencyList(*ComboBox2, pass);

    if (!currencyListsSorted_) {
        for (TextComboBox* list : {ComboBox1, ComboBox2})
            list->SetEntries(SortCurrencyEntries(list->Entries()), list->Text());
        currencyListsSorted_ = true;
    }
    tools_->TableLoaded();
    // Sets both scratch rates to the shown currencies' own. An error here is
    // reported on its own: the refresh itself is complete.
    Guard([this] { ConvertAgain(); });
    if (rates_)
        rates_->ShowAge();
}

// Once the lists are sorted, a refresh's entries take their sorted places.
void TForm1::FillCurrencyList(TextComboBox& list, const CurrencyPass& pass)
{
    std::vector<std::string> entries;
    for (const auto& entry : pass.entries) {
        const std::size_t at = currencyListsSorted_ ? SortedInsertPosition(entries, entry) : entries.size();
        entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }
    list.SetEntries(entries, pass.text);
}

// The scratch fields hold the rate texts of the from and to currency.
void TForm1::LookUpShownRate(PairRates::Side side, bool again)
{
    const bool from = side == PairRates::kFrom;
    pairRates_.LookUp(side, ComboBox3->Text(), (from ? ComboBox1 : ComboBox2)->Text(), again, from ? Edit1 : Edit4);
}

void TForm1::ShowConversion(EmptyAmount emptyAmount)
{
    if (const auto result = pairRates_.Convert(AmountText(), settings_.decimalSeparator, emptyAmount))
        ShowResult(*result);
}

void TForm1::ComboBox1Change(QObject*)
{
    tools_->PairChanged();
    Edit9->clear();
    LookUpShownRate(PairRates::kFrom, true);
    LookUpShownRate(PairRates::kTo, false);
    ShowConversion(EmptyAmount::IsZero);
}

void TForm1::ComboBox2Change(QObject*)
{
    tools_->PairChanged();
    if (Edit8->text().isEmpty())
        Edit8->setText(QStringLiteral("0"));
    Edit9->clear();
    LookUpShownRate(PairRates::kTo, true);
    LookUpShownRate(PairRates::kFrom, false);
    ShowConversion(EmptyAmount::IsText);
}

void TForm1::ConvertAgain()
{
    Edit9->clear();
    LookUpShownRate(PairRates::kFrom, true);
    LookUpShownRate(PairRates::kTo, true);
    if (!Edit8->text().isEmpty())
        ShowConversion(EmptyAmount::IsText);
}

void TForm1::ComboBox3Click(QObject*)
{
    uploadTimeTyped_ = false;
    Edit9->clear();
    // A typed date picks the day on or before it; one before the first day picks none.
    if (!tools_->ResolveTypedTime())
        return;
    const CurrencyPass pass = BuildCurrencyList(table_, ComboBox3->Text());
    for (TextComboBox* list : {ComboBox1, ComboBox2}) {
        const std::string kept = KeptCurrency(pass, list->Text());
        FillCurrencyList(*list, pass);
        list->SetText(kept);
    }
    tools_->TimeChosen();
    if (rates_)
        rates_->ShowAge();
    ConvertAgain();
}

void TForm1::Edit8Change(QObject* sender)
{
    const std::string text = AmountText();
    const char first = text.empty() ? '\0' : text.front();
    if (text.empty() || IsDigit(static_cast<unsigned char>(first)) || first == settings_.decimalSeparator ||
        first == '-') {
        ComboBox1Change(sender);
        return;
    }
    dialogs_->ShowMessage(kTypeNumericText);
    Edit8->setText(QStringLiteral("0"));
    Edit8->setFocus();
}

void TForm1::Edit8KeyPress(QObject* sender, char32_t& key)
{
    const auto separator = static_cast<char32_t>(static_cast<unsigned char>(settings_.decimalSeparator));
    if (key == '.' || key == ',')
        key = separator;
    if (IsDigit(key) || key == separator || key == '-' || key == kBackspace || key == 0) {
        ComboBox1Change(sender);
        return;
    }
    const char32_t typed = key;
    key = 0;
    dialogs_->ShowMessage(kInvalidKeyText + QString::fromUcs4(&typed, 1));
}

std::string TForm1::AmountText() const { return Bytes(Edit8->text()); }

void TForm1::ShowResult(const std::string& text) { Edit9->setText(Shown(text)); }

void TForm1::KeepImportScratch(const ImportScratch& scratch)
{
    Edito1 = scratch.edito1;
    Edito2 = scratch.edito2;
    Edito3 = scratch.edito3;
    Edito4 = scratch.edito4;
}

void TForm1::UpdateFromFile1Click(QObject* sender)
{
    const std::optional<QString> picked = dialogs_->OpenFile(kOpenFileFilter);
    if (!picked)
        return;
    const ImportResult result = dataCommands_->Import(LocalPath(*picked), kFileUpdateSuccessText);
    KeepImportScratch(result.scratch);
    dialogs_->ShowMessage(Shown(result.message));
    if (result.outcome == ImportOutcome::Added)
        FormCreate(sender);
}

bool TForm1::Transferring() const { return dataCommands_->Transferring(); }

void TForm1::Update1Click(QObject* sender)
{
    const UrlUpdateResult result = dataCommands_->UpdateFromUrl();
    Memo1 = result.body;
    if (result.outcome == UrlUpdateOutcome::Added || result.outcome == UrlUpdateOutcome::Duplicate)
        KeepImportScratch(result.import.scratch);
    dialogs_->ShowMessage(Shown(result.message));
    if (result.outcome == UrlUpdateOutcome::Added)
        FormCreate(sender);
}

// The question comes before the lock: the file is never held while the user thinks.
void TForm1::Removecurrentdata1Click(QObject* sender)
{
    Edit2 = ComboBox3->Text();
    const bool remove = dialogs_->Confirm(kRemoveQuestion);
    // Saved and refreshed whatever the answer; the refresh reloads the file.
    dataCommands_->Change([&] {
        if (remove)
            RemoveBatch(table_, Edit2);
        table_.SaveToFile(DataFilePath());
    });
    FormCreate(sender);
}

void TForm1::Clear1Click(QObject* sender)
{
    if (!dialogs_->Confirm(kClearQuestion))
        return;
    dataCommands_->Change([&] {
        ClearAll(table_);
        table_.SaveToFile(DataFilePath());
    });
    FormCreate(sender);
}

void TForm1::CreateKeypad(const QFont& controlFont)
{
    Bitbtn2 = CreateKeypadToggle(this, controlFont);
    Bind(Bitbtn2, &TXiButton::clicked, &TForm1::Bitbtn2Click, Bitbtn2);

    XiPanel1 = CreateKeypadPanel(this, controlFont);
    // The key of each entry of the key table, and its handler; tab follows the table.
    static const std::array<std::pair<TXiButton* TForm1::*, void (TForm1::*)(QObject*)>, kKeypadKeyCount> kBindings = {{
        {&TForm1::Bitbtn3, &TForm1::Bitbtn3Click},   {&TForm1::Bitbtn4, &TForm1::Bitbtn4Click},
        {&TForm1::Bitbtn5, &TForm1::Bitbtn5Click},   {&TForm1::Bitbtn15, &TForm1::Bitbtn15Click},
        {&TForm1::Bitbtn6, &TForm1::Bitbtn6Click},   {&TForm1::Bitbtn7, &TForm1::Bitbtn7Click},
        {&TForm1::Bitbtn8, &TForm1::Bitbtn8Click},   {&TForm1::Bitbtn16, &TForm1::Bitbtn16Click},
        {&TForm1::Bitbtn9, &TForm1::Bitbtn9Click},   {&TForm1::Bitbtn10, &TForm1::Bitbtn10Click},
        {&TForm1::Bitbtn11, &TForm1::Bitbtn11Click}, {&TForm1::Bitbtn17, &TForm1::Bitbtn17Click},
        {&TForm1::Bitbtn12, &TForm1::Bitbtn12Click}, {&TForm1::Bitbtn13, &TForm1::Bitbtn13Click},
        {&TForm1::Bitbtn14, &TForm1::Bitbtn14Click}, {&TForm1::Bitbtn18, &TForm1::Bitbtn18Click},
        {&TForm1::Bitbtn19, &TForm1::Bitbtn19Click}, {&TForm1::Bitbtn21, &TForm1::Bitbtn21Click},
    }};
    QWidget* previous = Bitbtn2;
    for (int i = 0; i < kKeypadKeyCount; ++i) {
        TXiButton* key = CreateKeypadKey(XiPanel1, kKeypadKeys[i]);
        this->*kBindings[i].first = key;
        Bind(key, &TXiButton::clicked, kBindings[i].second, key);
        setTabOrder(previous, key);
        previous = key;
    }
    new KeypadNavigation(XiPanel1, [this] { HideKeypad(); });
}

struct TForm1::PictureButton {
    PictureControl* TForm1::*control;
    const char* picture;
    QRect box;
    const char* hint;
    QKeySequence shortcut;
    void (TForm1::*mouseMove)(QObject*, Qt::KeyboardModifiers, int, int);
    void (TForm1::*click)(QObject*);
    DataFileCommands::WhileBusy whileBusy = DataFileCommands::WhileBusy::Wait;
};

void TForm1::CreateShell()
{
    using enum DataFileCommands::WhileBusy;
    // In painting order, later over earlier; the background menu lists them
    // in this order, by their hints and with their shortcuts.
    static const PictureButton kButtons[] = {
        {&TForm1::Clear1, ":/art/clear.bmp", {386, 222, 51, 54}, "Delete All Data", Qt::CTRL | Qt::SHIFT | Qt::Key_D,
         &TForm1::Clear1MouseMove, &TForm1::Clear1Click},
        {&TForm1::Removecurrentdata1, ":/art/remove.bmp", {440, 222, 51, 54}, "Delete Current Time",
         Qt::CTRL | Qt::Key_D, &TForm1::Removecurrentdata1MouseMove, &TForm1::Removecurrentdata1Click},
        {&TForm1::Updatefromfile1, ":/art/updatefile.bmp", {496, 222, 51, 54}, "Update From File",
         Qt::CTRL | Qt::Key_O, &TForm1::Updatefromfile1MouseMove, &TForm1::UpdateFromFile1Click},
        {&TForm1::Update1, ":/art/updateurl.bmp", {553, 222, 51, 54}, "Update From URL", Qt::Key_F5,
         &TForm1::Update1MouseMove, &TForm1::Update1Click, Cancel},
        {&TForm1::Image2, ":/art/exit.bmp", {576, 25, 27, 29}, "Exit", Qt::CTRL | Qt::Key_Q, &TForm1::Image2MouseMove,
         &TForm1::Image2Click},
        {&TForm1::Image3, ":/art/help.bmp", {547, 25, 27, 29}, "Help", Qt::Key_F1, &TForm1::Image3MouseMove,
         &TForm1::Image3Click, Run},
        {&TForm1::History1, ":/art/history.bmp", {330, 222, 51, 54}, "History", Qt::CTRL | Qt::Key_H,
         &TForm1::History1MouseMove, &TForm1::History1Click},
        {&TForm1::Swap1, ":/art/swap.bmp", {217, 24, 41, 31}, "Swap Currencies", Qt::CTRL | Qt::Key_S,
         &TForm1::Swap1MouseMove, &TForm1::Swap1Click},
    };
    CreateBackgroundPicture();
    commands_ = new WindowCommands(this);
    dataCommands_ = new DataFileCommands(this, table_, settings_.UpdateSettings(),
                                         {[this] { FormCreate(this); }, [this] { Guard([this] { FormCreate(this); }); },
                                          [this] { return rates_ && rates_->Updating(); },
                                          [this] {
                                              if (rates_)
                                                  rates_->CancelUpdate();
                                          }});
    for (const PictureButton& button : kButtons)
        AddPictureButton(button);
    Image4 = CreateDecoration(this);
}

void TForm1::CreateBackgroundPicture()
{
    Image1 = CreateBackground(this);
    connect(Image1, &PictureControl::mouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at) {
                Guard([&] { Image1MouseDown(Image1, button, shift, at.x(), at.y()); });
            });
    connect(Image1, &PictureControl::mouseMove, this, [this](Qt::KeyboardModifiers shift, QPoint at) {
        Guard([&] { Image1MouseMove(Image1, shift, at.x(), at.y()); });
    });
    connect(Image1, &PictureControl::mouseUp, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at) {
                Guard([&] { Image1MouseUp(Image1, button, shift, at.x(), at.y()); });
            });
}

// The button and its menu entry run the same command, which waits while a
// download does (see DataFileCommands).
void TForm1::AddPictureButton(const PictureButton& button)
{
    PictureControl* control = CreatePictureButton(this, button.picture, button.box, button.hint);
    this->*button.control = control;
    connect(control, &PictureControl::mouseMove, this,
            [this, control, handler = button.mouseMove](Qt::KeyboardModifiers shift, QPoint at) {
                Guard([&] { (this->*handler)(control, shift, at.x(), at.y()); });
            });
    const auto run = dataCommands_->Gate(button.whileBusy, [this, control, handler = button.click] {
        Guard([&] { (this->*handler)(control); });
    });
    connect(control, &PictureControl::clicked, this, run);
    commands_->Add({QString::fromLatin1(button.hint), button.shortcut, run});
}

void TForm1::ArrangeControls()
{
    // Pictures and labels lie under the edits, lists and the keypad, each
    // later one over the earlier ones.
    for (QWidget* control : std::initializer_list<QWidget*>{
             Image1, Clear1, Removecurrentdata1, Updatefromfile1, Update1, Image2, Image3, History1, Swap1, Label1, Label2,
             Label3, Image4, ComboBox3, Edit8, Bitbtn2, ComboBox1, Edit9, ComboBox2, XiPanel1})
        control->raise();

    QWidget* previous = Bitbtn21;
    for (QWidget* next : std::initializer_list<QWidget*>{ComboBox3, ComboBox2, ComboBox1, Edit9, Edit8, Bitbtn2}) {
        setTabOrder(previous, next);
        previous = next;
    }

    CentreOnScreen(*this);
    shape_ = std::make_unique<WindowShape>(this, Image1);
}

void TForm1::Bitbtn2Click(QObject*)
{
    if (XiPanel1->isHidden())
        XiPanel1->show();
    else
        HideKeypad();
}

// The focus moves first: left on a hidden key it would pass to the next
// control in tab order, the upload-time list.
void TForm1::HideKeypad()
{
    Edit8->setFocus();
    XiPanel1->hide();
}

void TForm1::DigitKey(char digit) { Edit8->setText(Shown(DigitKeyText(AmountText(), digit))); }

void TForm1::Bitbtn3Click(QObject*) { DigitKey('7'); }
void TForm1::Bitbtn4Click(QObject*) { DigitKey('8'); }
void TForm1::Bitbtn5Click(QObject*) { DigitKey('9'); }
void TForm1::Bitbtn6Click(QObject*) { DigitKey('4'); }
void TForm1::Bitbtn7Click(QObject*) { DigitKey('5'); }
void TForm1::Bitbtn8Click(QObject*) { DigitKey('6'); }
void TForm1::Bitbtn9Click(QObject*) { DigitKey('1'); }
void TForm1::Bitbtn10Click(QObject*) { DigitKey('2'); }
void TForm1::Bitbtn11Click(QObject*) { DigitKey('3'); }
void TForm1::Bitbtn12Click(QObject*) { DigitKey('0'); }

void TForm1::Bitbtn13Click(QObject*)
{
    Edit8->setText(Shown(AmountText() + settings_.decimalSeparator));
    Bitbtn13->setEnabled(false);
}

void TForm1::Bitbtn14Click(QObject*)
{
    if (const auto negated = SignKeyText(AmountText(), settings_.decimalSeparator))
        Edit8->setText(Shown(*negated));
}

void TForm1::OperatorKey(char op)
{
    if (Edit8->text().isEmpty())
        Edit8->setText(QStringLiteral("0"));
    Edit5 = AmountText();
    Edit8->clear();
    Edit6 = std::string(1, op);
    Bitbtn13->setEnabled(true);
}

void TForm1::Bitbtn15Click(QObject*) { OperatorKey('/'); }
void TForm1::Bitbtn16Click(QObject*) { OperatorKey('*'); }
void TForm1::Bitbtn17Click(QObject*) { OperatorKey('-'); }
void TForm1::Bitbtn18Click(QObject*) { OperatorKey('+'); }

void TForm1::Bitbtn19Click(QObject*)
{
    Edit8->setText(QStringLiteral("0"));
    Edit5.clear();
    Edit6.clear();
    Bitbtn13->setEnabled(true);
}

void TForm1::Bitbtn21Click(QObject*)
{
    // An error here leaves the operands, the operator and the keypad as they are.
    if (!Edit6.empty() && !Edit5.empty() && !Edit8->text().isEmpty())
        Edit8->setText(Shown(
            KeypadResultText(Edit5, Edit6.front(), AmountText(), settings_.decimalSeparator)));
    Edit5.clear();
    Edit6.clear();
    Bitbtn13->setEnabled(true);
    HideKeypad();
}

void TForm1::Image1MouseDown(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    FormMouseDown(sender, button, shift, x, y);
}

void TForm1::Image1MouseMove(QObject* sender, Qt::KeyboardModifiers shift, int x, int y)
{
    EndHoverEnlargement();
    FormMouseMove(sender, shift, x, y);
}

void TForm1::Image1MouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    FormMouseUp(sender, button, shift, x, y);
}

// The press on the background grabs the mouse until the release, so the
// moves keep coming when the pointer leaves the window.
void TForm1::FormMouseDown(QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) { drag_.Press(button); }
void TForm1::FormMouseMove(QObject*, Qt::KeyboardModifiers, int, int) { drag_.Move(); }
void TForm1::FormMouseUp(QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int, int) { drag_.Release(button); }

void TForm1::EndHoverEnlargement()
{
    for (PictureControl* picture : {Clear1, Removecurrentdata1, Updatefromfile1, Update1, Image2, Image3, History1, Swap1})
        picture->SetStretch(false);
}

void TForm1::Clear1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Clear1->SetStretch(true); }
void TForm1::Removecurrentdata1MouseMove(QObject*, Qt::KeyboardModifiers, int, int)
{
    Removecurrentdata1->SetStretch(true);
}
void TForm1::Updatefromfile1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Updatefromfile1->SetStretch(true); }
void TForm1::Update1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Update1->SetStretch(true); }
void TForm1::Image2MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Image2->SetStretch(true); }
void TForm1::Image3MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Image3->SetStretch(true); }

void TForm1::Image2Click(QObject*) { settings_.quit(); }

void TForm1::History1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { History1->SetStretch(true); }
void TForm1::Swap1MouseMove(QObject*, Qt::KeyboardModifiers, int, int) { Swap1->SetStretch(true); }

void TForm1::History1Click(QObject*) { tools_->OpenHistory(windowIcon()); }
HistoryWindow* TForm1::History() const { return tools_->History(); }

void TForm1::Swap1Click(QObject*)
{
    tools_->Swap();
    ConvertAgain();
}

// Whether the viewer opened anything is not examined.
void TForm1::Image3Click(QObject*)
{
    settings_.openDocument(QUrl::fromLocalFile(ShownPath(settings_.HelpFilePath())));
}

} // namespace zentaro
