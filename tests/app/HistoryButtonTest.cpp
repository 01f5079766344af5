#include "app/HistoryPlot.h"
#include "app/HistoryWindow.h"
#include "app/PictureControl.h"
#include "tests/app/WindowFixture.h"

#include <QLabel>
#include <QPushButton>

#include <gmock/gmock.h>

namespace zentaro::test {
namespace {

using ::testing::IsEmpty;

// Four working days; the Monday lacks JPY.
const std::vector<Row> kDays = {
    {"2008-09-11", "USD", "1.4"},  {"2008-09-11", "JPY", "150"},   {"2008-09-11", "EUR", "1"},
    {"2008-09-12", "USD", "1.42"}, {"2008-09-12", "JPY", "152"},   {"2008-09-12", "EUR", "1"},
    {"2008-09-15", "USD", "1.41"}, {"2008-09-15", "EUR", "1"},     {"2008-09-16", "USD", "1.43"},
    {"2008-09-16", "JPY", "149.5"}, {"2008-09-16", "EUR", "1"},
};

class HistoryButton : public WindowFixture, public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteTable(kDays);
        Open();
        Pick(form->ComboBox1, "USD");
        Pick(form->ComboBox2, "JPY");
    }

    HistoryWindow* ClickHistory()
    {
        QTest::mouseClick(form->History1, Qt::LeftButton, {}, form->History1->rect().center());
        HistoryWindow* window = form->History();
        if (window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        }
        return window;
    }

    static std::vector<std::string> Dates(const HistoryWindow& window)
    {
        std::vector<std::string> dates;
        for (const HistoryPoint& point : window.Points())
            dates.push_back(point.date);
        return dates;
    }
};

TEST_F(HistoryButton, OpensThePairsHistoryInAFramedWindow)
{
    EXPECT_EQ(form->History1->toolTip(), "History");
    EXPECT_EQ(form->History1->cursor().shape(), Qt::PointingHandCursor);
    HistoryWindow* window = ClickHistory();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "USD in JPY - Zentaro");
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_THAT(Dates(*window), ::testing::ElementsAre("2008-09-11", "2008-09-12", "2008-09-16"));
    const double expected[] = {150 / 1.4, 152 / 1.42, 149.5 / 1.43};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NEAR(window->Points()[i].rate, expected[i], 1e-12) << i;
    EXPECT_TRUE(window->SummaryLabel()->text().startsWith("Min 104.545455 on 2008-09-16"))
        << window->SummaryLabel()->text().toStdString();

    // A second click brings the same window forward.
    EXPECT_EQ(ClickHistory(), window);
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(HistoryButton, FollowsTheMainWindowsPair)
{
    HistoryWindow* window = ClickHistory();
    ASSERT_TRUE(window);
    Pick(form->ComboBox2, "EUR");
    EXPECT_EQ(window->windowTitle(), "USD in EUR - Zentaro");
    EXPECT_EQ(Dates(*window).size(), 4u) << "every day has USD and EUR";
    Pick(form->ComboBox1, "JPY");
    EXPECT_EQ(window->windowTitle(), "JPY in EUR - Zentaro");
    EXPECT_THAT(Dates(*window), ::testing::ElementsAre("2008-09-11", "2008-09-12", "2008-09-16"));
    EXPECT_NEAR(window->Points()[0].rate, 1 / 150.0, 1e-15);
}

TEST_F(HistoryButton, FollowsTheDataFilesChanges)
{
    HistoryWindow* window = ClickHistory();
    ASSERT_TRUE(window);
    TempDir updates;
    const auto update = updates / "rates.txt";
    {
        std::ofstream(update) << "2008-09-17\nUSD=1.44\nJPY=151\nEUR=1\n";
    }
    dialogs->openFile = QString::fromStdString(update.string());
    form->UpdateFromFile1Click(nullptr);
    // The refresh shows the new batch's last currency in both lists; the
    // window shows that pair, with the new day.
    EXPECT_EQ(window->windowTitle(), "EUR in EUR - Zentaro");
    EXPECT_THAT(Dates(*window), ::testing::Contains("2008-09-17"));
    Pick(form->ComboBox1, "USD");
    Pick(form->ComboBox2, "JPY");
    EXPECT_THAT(Dates(*window), ::testing::ElementsAre("2008-09-11", "2008-09-12", "2008-09-16", "2008-09-17"));
    EXPECT_NEAR(window->Points().back().rate, 151 / 1.44, 1e-12);
    dialogs->confirm = true;
    form->Removecurrentdata1Click(nullptr);
    EXPECT_THAT(Dates(*window), ::testing::Not(::testing::Contains("2008-09-17")));
}

TEST_F(HistoryButton, RangeButtonsAndCrosshairInTheOpenedWindow)
{
    HistoryWindow* window = ClickHistory();
    ASSERT_TRUE(window);
    QTest::mouseClick(window->RangeButton(HistoryRange::OneMonth), Qt::LeftButton);
    EXPECT_EQ(window->Shown().size(), 3u);
    HistoryPlot* plot = window->Plot();
    const PlotMapping mapping = plot->Mapping();
    QTest::mouseMove(plot, QPoint(static_cast<int>(mapping.X(CalendarDay("2008-09-12").value())),
                                  static_cast<int>(mapping.top + 5)));
    EXPECT_EQ(plot->Readout(), "2008-09-12  107.042254"); // 152 / 1.42
}

} // namespace
} // namespace zentaro::test
