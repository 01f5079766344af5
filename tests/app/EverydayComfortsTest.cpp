#include "app/PictureControl.h"
#include "tests/app/WindowFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QStyledItemDelegate>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::IsEmpty;

// 2008-09-13 and 14 are a weekend; the last batch's upload time is not a date.
const std::vector<Row> kDays = {
    {"2008-09-11", "USD", "1.4"},  {"2008-09-11", "JPY", "150"},   {"2008-09-11", "EUR", "1"},
    {"2008-09-12", "USD", "1.42"}, {"2008-09-12", "JPY", "152"},   {"2008-09-12", "EUR", "1"},
    {"2008-09-12", "ABX", "3"},    {"2008-09-15", "USD", "1.41"},  {"2008-09-15", "JPY", "151"},
    {"2008-09-15", "EUR", "1"},    {"NEWEST", "USD", "1.43"},      {"NEWEST", "JPY", "149.5"},
    {"NEWEST", "EUR", "1"},
};

class Comforts : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTable(kDays);
        adjustSettings = [this](TForm1::Settings& settings) {
            settings.configFile = QString::fromStdString((folder / "zentaro.conf").string());
            settings.locale = "en";
            settings.localeCurrency = localeCurrency;
        };
    }

    void TypeTime(const QString& typed)
    {
        RetypeList(form->ComboBox3, typed);
        if (QWidget* popup = form->ComboBox3->completer()->popup(); popup->isVisible())
            popup->hide();
        QTest::keyClick(form->ComboBox3->lineEdit(), Qt::Key_Return);
    }

    std::string localeCurrency = "JPY";
};

TEST_F(Comforts, SwapExchangesTheCurrenciesAndConvertsAgain)
{
    Open();
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "JPY");
    form->Edit8->clear();
    Type("10");
    EXPECT_EQ(Result(), "1045.454545"); // 10 * 149.5 / 1.43
    EXPECT_EQ(form->Swap1->toolTip(), "Swap Currencies");
    QTest::mouseClick(form->Swap1, Qt::LeftButton, {}, form->Swap1->rect().center());
    EXPECT_EQ(form->ComboBox1->Text(), "JPY");
    EXPECT_EQ(form->ComboBox2->Text(), "USD");
    EXPECT_EQ(Amount(), "10");
    EXPECT_EQ(Result(), "0.095652"); // 10 * 1.43 / 149.5
    QTest::mouseClick(form->Swap1, Qt::LeftButton, {}, form->Swap1->rect().center());
    EXPECT_EQ(Result(), "1045.454545");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Comforts, NamesShowBesideTheCodesWhileTheTextsStayCodes)
{
    Open();
    Pick(form->ComboBox3, "2008-09-12"); // the day that has ABX
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "ABX");
    EXPECT_EQ(form->ComboBox1->Text(), "USD");
    EXPECT_EQ(form->ComboBox1->toolTip(), "Click to Select Unit Currency\nUSD - US Dollar");
    EXPECT_EQ(form->ComboBox2->toolTip(), "Click to Select Unit Currency\nABX");
    QAbstractItemView* view = form->ComboBox1->view();
    const auto* delegate = qobject_cast<QStyledItemDelegate*>(view->itemDelegate());
    ASSERT_TRUE(delegate);
    std::map<QString, QString> shown;
    for (int row = 0; row < form->ComboBox1->count(); ++row)
        shown[form->ComboBox1->itemText(row)] =
            delegate->displayText(form->ComboBox1->model()->index(row, 0).data(), QLocale());
    EXPECT_EQ(shown["USD"], "USD - US Dollar");
    EXPECT_EQ(shown["EUR"], "EUR - Euro");
    EXPECT_EQ(shown["JPY"], "JPY - Japanese Yen");
    // Typing a code still finds its rate.
    RetypeList(form->ComboBox2, "EUR");
    EXPECT_EQ(form->ComboBox2->Text(), "EUR");
    EXPECT_EQ(form->ComboBox2->toolTip(), "Click to Select Unit Currency\nEUR - Euro");
    form->Edit8->clear();
    Type("3");
    EXPECT_EQ(Result(), "2.112676"); // 3 * 1 / 1.42
}

TEST_F(Comforts, ChosenPairAndAmountAreKeptAcrossStarts)
{
    Open();
    EXPECT_EQ(form->ComboBox1->Text(), "EUR") << "the first start";
    EXPECT_EQ(form->ComboBox2->Text(), "JPY") << "the locale's currency";
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "EUR");
    form->Edit8->clear();
    Type("12.5");
    form.reset();
    localeCurrency = "USD";
    Open();
    EXPECT_EQ(form->ComboBox1->Text(), "USD");
    EXPECT_EQ(form->ComboBox2->Text(), "EUR");
    EXPECT_EQ(Amount(), "12.5");
    EXPECT_EQ(Result(), "8.741259"); // 12.5 * 1 / 1.43
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Comforts, PastedAmountIsTheNumberTheTextHolds)
{
    Open();
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "JPY");
    QApplication::clipboard()->setText(QStringLiteral("1,234.50"));
    form->Edit8->selectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Amount(), "1234.50");
    EXPECT_EQ(Result(), "129061.363636"); // 1234.5 * 149.5 / 1.43
    QApplication::clipboard()->setText(QStringLiteral("no amount here"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Amount(), "1234.50");
    EXPECT_THAT(boxes, IsEmpty()) << "no error box";
}

TEST_F(Comforts, TypedDateChoosesTheDayOnOrBeforeIt)
{
    Open();
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "JPY");
    Type("1");
    const struct {
        const char* typed;
        const char* chosen;
        const char* result;
    } kCases[] = {
        {"2008-09-12", "2008-09-12", "107.042254"}, // a weekday that has rates
        {"2008-09-13", "2008-09-12", "107.042254"}, // Saturday: the Friday before
        {"2008-09-14", "2008-09-12", "107.042254"}, // Sunday
        {"2008-09-16", "2008-09-15", "107.092199"}, // after the last day that is a date
    };
    for (const auto& c : kCases) {
        TypeTime(QString::fromLatin1(c.typed));
        EXPECT_EQ(form->ComboBox3->Text(), c.chosen) << c.typed;
        EXPECT_EQ(Result(), c.result) << c.typed;
        EXPECT_EQ(form->ComboBox3->toolTip(), "Click to Select Time") << c.typed;
    }
    // Leaving the list chooses as Enter does.
    form->ComboBox3->setFocus();
    RetypeList(form->ComboBox3, "2008-09-14");
    form->ComboBox3->completer()->popup()->hide();
    QTest::keyClick(form->ComboBox3->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(form->ComboBox3->Text(), "2008-09-12");

    TypeTime(QStringLiteral("2008-09-01"));
    EXPECT_EQ(form->ComboBox3->Text(), "2008-09-01") << "nothing is picked";
    EXPECT_EQ(Result(), "");
    EXPECT_EQ(form->ComboBox3->toolTip(),
              "Click to Select Time\nNo rates on or before 2008-09-01 (the first day is 2008-09-11)");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Comforts, UploadTimeListOpensAtTheCurrentTimeAndOffersMatchingDays)
{
    Open();
    const int current = static_cast<int>(form->ComboBox3->Entries().size()) - 1;
    form->ComboBox3->showPopup();
    EXPECT_EQ(form->ComboBox3->view()->currentIndex().row(), current);
    form->ComboBox3->hidePopup();

    Pick(form->ComboBox3, "2008-09-11");
    form->ComboBox3->showPopup();
    EXPECT_EQ(form->ComboBox3->view()->currentIndex().row(), 0);
    form->ComboBox3->hidePopup();

    RetypeList(form->ComboBox3, "2008-09-1");
    QCompleter* completer = form->ComboBox3->completer();
    ASSERT_TRUE(completer);
    EXPECT_EQ(completer->completionCount(), 3); // the 11th, the 12th and the 15th
    EXPECT_TRUE(completer->popup()->isVisible());
    // Picking an offered day chooses it.
    completer->popup()->setCurrentIndex(completer->completionModel()->index(1, 0));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(form->ComboBox3->Text(), "2008-09-12");
}

} // namespace
} // namespace zentaro::test
