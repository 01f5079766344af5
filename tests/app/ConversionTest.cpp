#include "tests/app/WindowFixture.h"

#include <QApplication>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The newest batch ends with EUR, so both lists start on EUR.
const std::vector<Row> kRates = {
    {"OLD", "USD", "2"},   {"OLD", "GBP", "0.5"}, {"TODAY", "JPY", "120"}, {"TODAY", "THR", "3"},
    {"TODAY", "ZER", "0"},   {"TODAY", "BIG", "1E20"}, {"TODAY", "USD", "1"},   {"TODAY", "EUR", "0.9"},
};

// Each test runs with "." and with "," as the decimal separator; texts in the
// expectations are written with "." and turned into the separator in force.
class ConversionTest : public WindowFixture, public ::testing::TestWithParam<char> {
protected:
    void SetUp() override
    {
        WriteTable(kRates);
        Open(GetParam());
        ASSERT_THAT(boxes, IsEmpty());
    }
    QString Local(const char* text) const
    {
        return QString::fromLatin1(text).replace(QLatin1Char('.'), QLatin1Char(GetParam()));
    }
    Box Error(const char* text) const { return {Box::Error, QString::fromLatin1(text), Amount()}; }
};

TEST_P(ConversionTest, TypedAmountConvertsAtEveryKey)
{
    Pick(form->ComboBox1, "USD");
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(Result(), "0");
    Type("1");
    EXPECT_EQ(Result(), Local("0.9"));
    Type("0");
    EXPECT_EQ(Result(), "9");
    Type(".5");
    EXPECT_EQ(Amount(), Local("10.5"));
    EXPECT_EQ(Result(), Local("9.45"));
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, ResultHasAtMostSixDecimals)
{
    Pick(form->ComboBox2, "USD");
    Pick(form->ComboBox1, "THR");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Amount(), "");
    Type("1");
    EXPECT_EQ(Result(), Local("0.333333"));
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, EmptyAmountWithFromCurrencyChangeConvertsZero)
{
    RetypeList(form->ComboBox1, "USD");
    EXPECT_EQ(Amount(), "");
    EXPECT_EQ(Result(), "0");
    EXPECT_EQ(form->Edit1, "1");
}

TEST_P(ConversionTest, EmptyAmountWithToCurrencyChangeSetsZero)
{
    Pick(form->ComboBox2, "JPY");
    EXPECT_EQ(Amount(), "0");
    EXPECT_EQ(Result(), "0");
    EXPECT_EQ(form->Edit4, "120");
    Type("1");
    EXPECT_EQ(Amount(), "01");
    EXPECT_EQ(Result(), Local("133.333333")); // 1 * 120 / 0.9
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, PointAndCommaKeysTypeTheSeparator)
{
    Type(".");
    EXPECT_EQ(Amount(), QString(QLatin1Char(GetParam())));
    EXPECT_EQ(Result(), "0"); // the separator alone reads as 0
    Key(Qt::Key_Backspace);
    Type(",");
    EXPECT_EQ(Amount(), QString(QLatin1Char(GetParam())));
    Type("5");
    EXPECT_EQ(Result(), Local("0.5"));
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, HugeResultInGeneralNumberText)
{
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "BIG");
    Key(Qt::Key_Backspace);
    Type("1");
    EXPECT_EQ(Result(), "1E20");
}

TEST_P(ConversionTest, TinyNegativeResultIsZero)
{
    Type("0.0000001");
    EXPECT_EQ(Result(), "0");
    Key(Qt::Key_Home);
    Type("-");
    EXPECT_EQ(Amount(), Local("-0.0000001"));
    EXPECT_EQ(Result(), "0");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, RejectedCharactersShowTheirMessage)
{
    Type("12");
    const QString result = Result();
    struct Case {
        std::function<void()> press;
        QString character;
    };
    const Case cases[] = {
        {[&] { Type("a"); }, "a"},
        {[&] { Type("+"); }, "+"},
        {[&] { Type("E"); }, "E"},
        {[&] { Type(" "); }, " "},
        {[&] { Key(Qt::Key_Return); }, "\r"},
        {[&] { Key(Qt::Key_Enter); }, "\r"},
        {[&] { Key(Qt::Key_Escape); }, "\x1b"},
        {[&] { Key(Qt::Key_C, Qt::ControlModifier); }, "\x03"},
        {[&] { Key(Qt::Key_X, Qt::ControlModifier); }, "\x18"},
        {[&] { Key(Qt::Key_A, Qt::ControlModifier); }, "\x01"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        c.press();
        EXPECT_THAT(boxes, ElementsAre(Box{Box::Message, "Invalid numeric format : " + c.character, "12"}))
            << c.character.toStdString();
        EXPECT_EQ(Amount(), "12");
        EXPECT_EQ(Result(), result);
    }
}

TEST_P(ConversionTest, KeysThatTypeNothingPassThrough)
{
    Pick(form->ComboBox1, "USD");
    Type("123");
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_End, Qt::Key_Home})
        Key(key);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Amount(), "23");
    EXPECT_EQ(Result(), Local("20.7"));
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, OldTextConvertsBeforeTheKeyTakesEffect)
{
    Type("5-");
    EXPECT_THAT(boxes, ElementsAre(Error("'5-' is not a valid floating point value.")));
    EXPECT_EQ(Result(), "");
    // Every accepted key now fails on the old text and is discarded.
    for (Qt::Key key : {Qt::Key_1, Qt::Key_Backspace, Qt::Key_Minus}) {
        boxes.clear();
        Key(key);
        EXPECT_THAT(boxes, ElementsAre(Error("'5-' is not a valid floating point value.")));
        EXPECT_EQ(Amount(), "5-");
    }
    boxes.clear();
    Key(Qt::Key_Left);
    Key(Qt::Key_Delete); // the way out: not a character
    EXPECT_EQ(Amount(), "5");
    EXPECT_EQ(Result(), "5");
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, LoneMinusFailsAtOnce)
{
    Type("-");
    EXPECT_THAT(boxes, ElementsAre(Error("'-' is not a valid floating point value.")));
    EXPECT_EQ(Amount(), "-");
}

TEST_P(ConversionTest, AmountSetFromCodeWithABadFirstCharacterIsReset)
{
    form->Edit8->setText("x1");
    // The message comes while the bad text is still there; then the reset converts 0.
    EXPECT_THAT(boxes, ElementsAre(Box{Box::Message, "Please type a numeric format", "x1"}));
    EXPECT_EQ(Amount(), "0");
    EXPECT_EQ(Result(), "0");
    EXPECT_EQ(form->focusWidget(), form->Edit8);

    boxes.clear();
    form->Edit8->setText("1x"); // only the first character is checked
    EXPECT_THAT(boxes, ElementsAre(Error("'1x' is not a valid floating point value.")));
}

TEST_P(ConversionTest, DivisionByAZeroRate)
{
    Pick(form->ComboBox1, "ZER");
    EXPECT_THAT(boxes, ElementsAre(Error("Invalid floating point operation.")));
    boxes.clear();
    form->Edit8->setText("1");
    EXPECT_THAT(boxes, ElementsAre(Error("Floating point division by zero.")));
    EXPECT_EQ(Result(), "");
}

TEST_P(ConversionTest, ErrorInTheNestedAmountChangeLetsTheOuterHandlerGoOn)
{
    Pick(form->ComboBox1, "ZER");
    boxes.clear();
    Pick(form->ComboBox2, "USD");
    // Setting the amount to 0 runs a complete conversion, which fails and is
    // reported; the to-currency change then goes on and fails on its own.
    EXPECT_THAT(boxes, ElementsAre(Box{Box::Error, "Invalid floating point operation.", "0"},
                                   Box{Box::Error, "Invalid floating point operation.", "0"}));
    EXPECT_EQ(form->Edit4, "1");
    EXPECT_EQ(Amount(), "0");
}

TEST_P(ConversionTest, ChoosingAnOlderUploadTimeConvertsWithItsRates)
{
    Pick(form->ComboBox1, "USD");
    Type("10");
    ASSERT_EQ(Result(), "9");

    Pick(form->ComboBox3, "OLD");
    EXPECT_THAT(Entries(form->ComboBox1), ElementsAre("GBP", "USD"));
    EXPECT_EQ(form->ComboBox1->currentText(), "USD");
    // OLD has no EUR: the to-list shows OLD's last code instead.
    EXPECT_EQ(form->ComboBox2->currentText(), "GBP");
    EXPECT_EQ(Result(), Local("2.5")); // 10 * 0.5 / 2
    Type("0");
    EXPECT_EQ(Result(), "25");

    // Typed letter by letter: no result until the text names a currency of OLD.
    form->ComboBox1->lineEdit()->selectAll();
    const std::pair<const char*, const char*> steps[] = {{"G", ""}, {"B", ""}, {"P", "100"}};
    for (const auto& [letter, result] : steps) {
        QTest::keyClicks(form->ComboBox1->lineEdit(), letter);
        EXPECT_EQ(Result(), result) << form->ComboBox1->currentText().toStdString();
    }
    EXPECT_EQ(form->Edit1, Local("0.5").toStdString());
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_P(ConversionTest, LeavingAListOrPressingEnterInItChangesNothing)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    Pick(form->ComboBox3, "OLD");
    form->ComboBox1->setFocus();
    RetypeList(form->ComboBox1, "USD");
    ASSERT_EQ(form->Edit1, "2");
    // A lookup now would find USD's rate of TODAY.
    form->ComboBox3->SetText("TODAY");
    QTest::keyClick(form->ComboBox1->lineEdit(), Qt::Key_Return);
    form->Edit8->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), form->Edit8);
    EXPECT_EQ(form->Edit1, "2");
    EXPECT_EQ(form->ComboBox1->currentText(), "USD");
    EXPECT_THAT(boxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Separators, ConversionTest, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

} // namespace
} // namespace zentaro::test
