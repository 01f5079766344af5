// The window opens on the newest day, whatever order the days were imported
// in, and keeps it current through an older import and a removal.
#include "store/DataLocation.h"
#include "tests/app/WindowFixture.h"
#include "tests/common/RunProcess.h"

#include <QFile>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::ElementsAre;

class NewestIsCurrent : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        // Today's file first, then the history with its older days.
        for (const char* name : {"ecb-eurofxref-2024-10-11.csv", "ecb-eurofxref-hist-excerpt.csv"}) {
            const auto result = RunProcess(ZENTARO_CLI, {"--decimal-separator", ".", "import",
                                                         DataFileIn(folder.Path()).string(),
                                                         std::string(ZENTARO_ECB_DATA) + "/" + name});
            ASSERT_EQ(result.status, 0) << result.err;
        }
        Open();
        Pick(form->ComboBox1, "EUR");
        Pick(form->ComboBox2, "USD");
        Type("100");
    }
};

TEST_F(NewestIsCurrent, TheWindowOpensOnTheNewestDay)
{
    EXPECT_THAT(Entries(form->ComboBox3),
                ElementsAre("1999-01-04", "1999-01-05", "2008-10-24", "2024-10-09", "2024-10-10", "2024-10-11"));
    EXPECT_EQ(form->ComboBox3->currentText(), "2024-10-11");
    EXPECT_EQ(Result(), "109.38");
}

TEST_F(NewestIsCurrent, AnOlderUpdateFileDoesNotBecomeCurrentAndARemovalKeepsTheOrder)
{
    WriteFile(folder / "old.txt", "2010-01-01\nEUR=1\nUSD=1.4406\n");
    dialogs->openFile = QFile::decodeName((folder / "old.txt").c_str());
    form->Guard([this] { form->UpdateFromFile1Click(form.get()); });
    EXPECT_EQ(form->ComboBox3->currentText(), "2024-10-11");
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("1999-01-04", "1999-01-05", "2008-10-24", "2010-01-01",
                                                      "2024-10-09", "2024-10-10", "2024-10-11"));

    dialogs->confirm = true;
    form->Guard([this] { form->Removecurrentdata1Click(form.get()); });
    EXPECT_EQ(form->ComboBox3->currentText(), "2024-10-10");
    EXPECT_THAT(Entries(form->ComboBox3), ElementsAre("1999-01-04", "1999-01-05", "2008-10-24", "2010-01-01",
                                                      "2024-10-09", "2024-10-10"));
    // A refresh rebuilds the currency lists; choosing again converts at the new current day.
    Pick(form->ComboBox1, "EUR");
    Pick(form->ComboBox2, "USD");
    form->Edit8->selectAll();
    Type("100");
    EXPECT_EQ(Result(), "109.32");
}

} // namespace
} // namespace zentaro::test
