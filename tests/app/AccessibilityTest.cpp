#include "tests/app/WindowFixture.h"

#include "app/Accessibility.h"
#include "app/PictureControl.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

const std::vector<Row> kRates = {{"T", "USD", "2"}, {"T", "EUR", "1"}, {"T", "ZAR", "17"}};

QAccessibleInterface* Interface(QObject* object)
{
    QAccessibleInterface* found = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(found, nullptr) << object->metaObject()->className();
    return found;
}

QString Name(QObject* object) { return Interface(object)->text(QAccessible::Name); }

class Accessibility : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable(kRates);
        Open();
    }

    // What a screen reader's press does: the one action the control offers.
    void Press(QWidget* control)
    {
        QAccessibleActionInterface* actions = Interface(control)->actionInterface();
        ASSERT_NE(actions, nullptr) << Name(control).toStdString();
        ASSERT_THAT(actions->actionNames(), ElementsAre(QAccessibleActionInterface::pressAction()))
            << Name(control).toStdString();
        actions->doAction(QAccessibleActionInterface::pressAction());
        QApplication::processEvents();
    }

    // The keypad key a reader hears under this name.
    QWidget* Key(const QString& spoken)
    {
        for (QWidget* key : form->XiPanel1->findChildren<TXiButton*>())
            if (Name(key) == spoken)
                return key;
        ADD_FAILURE() << "no key named " << spoken.toStdString();
        return form->XiPanel1;
    }
};

TEST_F(Accessibility, EveryControlHasItsRoleAndItsName)
{
    struct Case {
        QWidget* control;
        QAccessible::Role role;
        const char* name;
        const char* description;
    };
    const Case cases[] = {
        {form.get(), QAccessible::Window, "Zentaro", ""},
        {form->Clear1, QAccessible::Button, "Delete All Data", ""},
        {form->Removecurrentdata1, QAccessible::Button, "Delete Current Time", ""},
        {form->Updatefromfile1, QAccessible::Button, "Update From File", ""},
        {form->Update1, QAccessible::Button, "Update From URL", ""},
        {form->Image3, QAccessible::Button, "Help", ""},
        {form->Image2, QAccessible::Button, "Exit", ""},
        {form->History1, QAccessible::Button, "History", ""},
        {form->Swap1, QAccessible::Button, "Swap Currencies", ""},
        {form->Bitbtn2, QAccessible::Button, "Calculator", "Click to Use Calculator"},
        {form->ComboBox3, QAccessible::ComboBox, "Current Time", "Click to Select Time"},
        {form->Edit8, QAccessible::EditableText, "Amount", "Type a Numeric Format Here"},
        {form->ComboBox1, QAccessible::ComboBox, "From currency", "Click to Select Unit Currency"},
        {form->Edit9, QAccessible::EditableText, "Result", "Result"},
        {form->ComboBox2, QAccessible::ComboBox, "To currency", "Click to Select Unit Currency"},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* control = Interface(c.control);
        EXPECT_EQ(control->role(), c.role) << c.name;
        EXPECT_EQ(control->text(QAccessible::Name), c.name);
        // A currency list's hint adds the chosen currency's name on a line of its own.
        EXPECT_EQ(control->text(QAccessible::Description).section(u'\n', 0, 0), c.description) << c.name;
    }
    // The lists' texts are their values, not their names.
    ASSERT_FALSE(form->ComboBox1->currentText().isEmpty());
    EXPECT_EQ(Interface(form->ComboBox1)->text(QAccessible::Value), form->ComboBox1->currentText());
    EXPECT_TRUE(Interface(form->Edit9)->state().readOnly);
    EXPECT_FALSE(Interface(form->Edit8)->state().readOnly);
}

TEST_F(Accessibility, KeypadKeysAreNamedAsSpoken)
{
    std::vector<QString> names;
    for (TXiButton* key : form->XiPanel1->findChildren<TXiButton*>()) {
        EXPECT_EQ(Interface(key)->role(), QAccessible::Button) << key->Caption().toStdString();
        names.push_back(Name(key));
    }
    EXPECT_THAT(names, ::testing::UnorderedElementsAre("7", "8", "9", "divide", "4", "5", "6", "multiply", "1", "2",
                                                       "3", "minus", "0", "decimal point", "change sign", "plus",
                                                       "clear", "OK"));
}

TEST(SpokenCaption, SymbolsAreSaidInWordsAndAcceleratorsDropped)
{
    struct Case {
        const char* caption;
        const char* spoken;
    };
    const Case cases[] = {
        {"+", "plus"},  {"+/-", "change sign"}, {"&Convert", "Convert"}, {"Salt && Pepper", "Salt & Pepper"},
        {"7", "7"},     {"", ""},               {"++", "++"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpokenCaption(QString::fromLatin1(c.caption)), c.spoken) << c.caption;
}

TEST_F(Accessibility, LabelsAreLinkedToTheirFields)
{
    struct Case {
        QLabel* label;
        QWidget* field;
    };
    for (const Case& c : {Case{form->Label1, form->ComboBox3}, Case{form->Label2, form->ComboBox1},
                          Case{form->Label3, form->ComboBox2}}) {
        std::vector<QAccessibleInterface*> labels;
        for (const auto& [other, relation] : Interface(c.field)->relations(QAccessible::Label))
            labels.push_back(other);
        EXPECT_THAT(labels, Contains(Interface(c.label))) << c.label->text().toStdString();
    }
}

TEST_F(Accessibility, KeypadKeysPressedByTheirActionsCalculate)
{
    Press(form->Bitbtn2);
    ASSERT_TRUE(form->XiPanel1->isVisible());
    for (const char* key : {"7", "plus", "2", "OK"})
        Press(Key(QString::fromLatin1(key)));
    QAccessibleTextInterface* amount = Interface(form->Edit8)->textInterface();
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(amount->text(0, amount->characterCount()), "9");
    EXPECT_FALSE(form->XiPanel1->isVisible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Accessibility, ADisabledKeyOffersNoPress)
{
    Press(form->Bitbtn2);
    Press(Key("decimal point"));
    ASSERT_FALSE(form->Bitbtn13->isEnabled());
    EXPECT_TRUE(Interface(form->Bitbtn13)->actionInterface()->actionNames().isEmpty());
    EXPECT_TRUE(Amount().endsWith(QLatin1Char('.'))) << Amount().toStdString();
}

TEST_F(Accessibility, PictureButtonsPressedByTheirActionsRunTheirCommands)
{
    Press(form->Image3);
    ASSERT_EQ(openedDocuments.size(), 1u);
    EXPECT_EQ(openedDocuments[0].toLocalFile().toStdString(), (folder.Path() / "Zentaro Help.html").string());

    dialogs->confirm = false;
    Press(form->Clear1);
    EXPECT_THAT(boxes, ElementsAre(::testing::Field(&Box::kind, Box::Question)));
    EXPECT_EQ(form->ComboBox3->Text(), "T");

    Press(form->Image2);
    EXPECT_EQ(quitRequests, 1);
}

} // namespace
} // namespace zentaro::test
