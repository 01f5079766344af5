#include "tests/app/WindowFixture.h"

#include "app/HintConFont.h"
#include "app/PictureControl.h"
#include "app/WindowShape.h"
#include "controls/XiButton.h"
#include "controls/XiPanel.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <gmock/gmock.h>

#include <fstream>
#include <set>

namespace zentaro::test {
namespace {

using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A point of the background picture that no control covers.
const QPoint kOnBackground(300, 20);

class Shell : public ::testing::Test, public WindowFixture {
protected:
    void SetUp() override
    {
        WriteTable({{"T", "USD", "2"}, {"T", "EUR", "1"}});
        Open();
        ASSERT_EQ(form->childAt(kOnBackground), form->Image1);
    }

    QWindow* Window() const { return form->windowHandle(); }
    // The real pointer of a test run cannot be placed; the window reads the
    // stand-in, and the events come at the same screen position.
    QPoint Local(QPoint screen) const { return screen - form->frameGeometry().topLeft(); }
    void PressAt(QPoint screen, Qt::MouseButton button = Qt::LeftButton)
    {
        cursor = screen;
        QTest::mousePress(Window(), button, {}, Local(screen));
    }
    void MoveTo(QPoint screen)
    {
        cursor = screen;
        QTest::mouseMove(Window(), Local(screen));
    }
    void ReleaseAt(QPoint screen, Qt::MouseButton button = Qt::LeftButton)
    {
        cursor = screen;
        QTest::mouseRelease(Window(), button, {}, Local(screen));
    }
    QPoint OnScreen(const QWidget* control) const
    {
        return control->mapToGlobal(control->rect().center());
    }
    QPoint OnScreen(QPoint local) const { return form->frameGeometry().topLeft() + local; }
    // A move over the window with no button held.
    void HoverOver(const QWidget* control) { MoveTo(OnScreen(control)); }

    std::vector<PictureControl*> PictureButtons() const
    {
        return {form->Clear1, form->Removecurrentdata1, form->Updatefromfile1,
                form->Update1, form->Image2,             form->Image3};
    }
    std::vector<bool> Enlarged() const
    {
        std::vector<bool> enlarged;
        for (const PictureControl* button : PictureButtons())
            enlarged.push_back(button->Stretch());
        return enlarged;
    }
};

TEST_F(Shell, WindowIsFramelessCentredAndOfItsSize)
{
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->windowTitle(), "Zentaro");
    // Of the size that it cannot leave, which its background picture covers
    // with the see-through strips at the right and bottom.
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->size(), form->minimumSize());
    const QSize picture = form->Image1->Picture().size();
    EXPECT_GT(form->width(), picture.width());
    EXPECT_GT(form->height(), picture.height());
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form->frameGeometry().topLeft(), QPoint(desktop.x() + (desktop.width() - form->width()) / 2,
                                                      desktop.y() + (desktop.height() - form->height()) / 2));
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_THAT(QFontInfo(form->font()).family().toStdString(),
                AnyOf("Tahoma", "Liberation Sans", "DejaVu Sans"));
}

TEST_F(Shell, PicturesLieUnderTheControlsInTheirOrder)
{
    const std::vector<QObject*> expected = {
        form->Image1,  form->Clear1, form->Removecurrentdata1, form->Updatefromfile1, form->Update1,
        form->Image2,  form->Image3, form->Label1,             form->Label2,          form->Label3,
        form->Image4,
    };
    // A widget's children are kept bottom first.
    std::vector<QObject*> stacked;
    for (QObject* child : form->children())
        if (std::find(expected.begin(), expected.end(), child) != expected.end())
            stacked.push_back(child);
    EXPECT_EQ(stacked, expected);
    const QObjectList& children = form->children();
    const auto top = std::find(children.begin(), children.end(), form->Image4);
    for (QWidget* control : std::initializer_list<QWidget*>{form->Edit8, form->Edit9, form->ComboBox1,
                                                             form->ComboBox2, form->ComboBox3, form->Bitbtn2,
                                                             form->XiPanel1})
        EXPECT_GT(std::find(children.begin(), children.end(), control), top) << control->metaObject()->className();
    // The keypad covers the right part of the result field.
    EXPECT_GT(children.indexOf(form->XiPanel1), children.indexOf(form->Edit9));
}

TEST_F(Shell, PictureButtonsLieInsideTheWindowsShapeAndGrowIntoTheirBoxes)
{
    const QRegion background = OpaqueRegion(form->Image1->Picture()).translated(form->Image1->pos());
    std::set<QString> hints;
    const std::vector<PictureControl*> buttons = PictureButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const PictureControl* button = buttons[i];
        const std::string hint = button->toolTip().toStdString();
        EXPECT_TRUE(hints.insert(button->toolTip()).second) << hint << " twice";
        EXPECT_FALSE(button->toolTip().isEmpty());
        // On the background's visible part, so the window's outline holds it
        // without the mask having to add its box.
        EXPECT_EQ(background.intersected(button->geometry()), QRegion(button->geometry())) << hint;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(button->geometry().intersects(buttons[j]->geometry())) << hint;
        // Enlarging only ever grows the picture.
        EXPECT_FALSE(button->Picture().isNull()) << hint;
        EXPECT_TRUE(QRect(QPoint(), button->size()).contains(QRect(QPoint(), button->Picture().size()))) << hint;
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor) << hint;
        EXPECT_TRUE(button->Transparent() && button->Center() && !button->Stretch()) << hint;
    }
    EXPECT_EQ(hints, (std::set<QString>{"Delete All Data", "Delete Current Time", "Update From File",
                                        "Update From URL", "Exit", "Help"}));
    // The background fills the window from its top-left; the decoration is
    // stretched over its box on the window.
    EXPECT_EQ(form->Image1->geometry(), form->rect());
    EXPECT_TRUE(form->rect().contains(QRect(QPoint(), form->Image1->Picture().size())));
    EXPECT_TRUE(form->rect().contains(form->Image4->geometry()));
    EXPECT_FALSE(form->Image4->Picture().isNull());
    EXPECT_TRUE(form->Image4->Stretch());
}

TEST_F(Shell, PictureButtonsRunTheirCommands)
{
    QTest::mouseClick(form->Clear1, Qt::LeftButton, {}, form->Clear1->rect().center());
    QTest::mouseClick(form->Removecurrentdata1, Qt::LeftButton, {}, form->Removecurrentdata1->rect().center());
    QTest::mouseClick(form->Updatefromfile1, Qt::LeftButton, {}, form->Updatefromfile1->rect().center());
    QTest::mouseClick(form->Update1, Qt::LeftButton, {}, form->Update1->rect().center());
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[0].text.startsWith("Are You Sure Want To Clear All")) << boxes[0];
    EXPECT_TRUE(boxes[1].text.startsWith("Are You Sure Want To Remove Current Time")) << boxes[1];
    EXPECT_THAT(dialogs->filters, ElementsAre("currency data (*.txt)|*.txt|ECB reference rates (*.xml *.csv *.zip)|*.xml;*.csv;*.zip"));
    EXPECT_EQ(boxes[2], (Box{Box::Error, "Cannot open URL " + QString::fromStdString(updateUrl) + ": could not connect to the server.", ""}));
    EXPECT_EQ(quitRequests, 0);
    EXPECT_THAT(openedDocuments, IsEmpty());
}

TEST_F(Shell, ExitAsksTheApplicationToEnd)
{
    QTest::mouseClick(form->Image2, Qt::RightButton, {}, form->Image2->rect().center());
    EXPECT_EQ(quitRequests, 0);
    QTest::mouseClick(form->Image2, Qt::LeftButton, {}, form->Image2->rect().center());
    EXPECT_EQ(quitRequests, 1);
    EXPECT_THAT(boxes, IsEmpty());
}

TEST_F(Shell, HelpOpensThePageBesideTheProgramElseTheInstalledOne)
{
    const TempDir share;
    struct Case {
        const char* name;
        std::vector<std::filesystem::path> present;
        std::filesystem::path opened;
    };
    const Case cases[] = {
        {"nothing there", {}, folder / "Zentaro Help.html"},
        {"page beside", {folder / "Zentaro Help.html"}, folder / "Zentaro Help.html"},
        {"compiled help is never opened", {folder / "Zentaro Help.chm"}, folder / "Zentaro Help.html"},
        {"installed page", {share / "Zentaro Help.html", share / "Zentaro Help.chm"}, share / "Zentaro Help.html"},
        {"beside before installed", {folder / "Zentaro Help.html", share / "Zentaro Help.html"},
         folder / "Zentaro Help.html"},
    };
    shareFolder = share.Path();
    Open();
    for (const Case& c : cases) {
        for (const auto& dir : {folder.Path(), share.Path()})
            for (const char* name : {"Zentaro Help.chm", "Zentaro Help.html"})
                std::filesystem::remove(dir / name);
        for (const auto& path : c.present)
            std::ofstream(path) << "help";
        openedDocuments.clear();
        QTest::mouseClick(form->Image3, Qt::LeftButton, {}, form->Image3->rect().center());
        EXPECT_THAT(openedDocuments, ElementsAre(QUrl::fromLocalFile(QFile::decodeName(c.opened.c_str()))))
            << c.name;
    }
    EXPECT_THAT(boxes, IsEmpty());
}

TEST(DesktopOpener, RunsXdgOpenWithTheDocumentsPath)
{
    const TempDir bin;
    const auto record = bin / "opened.txt";
    WriteFile(bin / "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + (bin / "opened.part").string() + "\"\nmv \"" +
                                   (bin / "opened.part").string() + "\" \"" + record.string() + "\"\n");
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.Path().string()) + ":" + path);
    const QString page = QFile::decodeName((bin / "Zentaro Help.html").c_str());
    WindowSettings::SystemOpenDocument(QUrl::fromLocalFile(page));
    qputenv("PATH", path);
    QElapsedTimer waited;
    waited.start();
    while (!std::filesystem::exists(record) && waited.elapsed() < 5000)
        QTest::qWait(20);
    ASSERT_TRUE(std::filesystem::exists(record));
    EXPECT_EQ(ReadFile(record), page.toStdString());
}

TEST_F(Shell, WindowCarriesTheProgramIconInEveryMenuSize)
{
    const QList<QSize> sizes = form->windowIcon().availableSizes();
    for (int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

TEST_F(Shell, LeftDragHandsTheMoveToTheWindowSystemWhereItCan)
{
    std::vector<QWindow*> moves;
    for (const bool systemMoves : {true, false}) {
        moves.clear();
        startSystemMove = [&](QWindow* window) {
            moves.push_back(window);
            return systemMoves;
        };
        Open();
        const QPoint start = form->frameGeometry().topLeft();
        const QPoint grabbed = OnScreen(kOnBackground);
        PressAt(grabbed, Qt::RightButton);
        ReleaseAt(grabbed, Qt::RightButton);
        EXPECT_THAT(moves, IsEmpty());
        PressAt(grabbed);
        EXPECT_THAT(moves, ElementsAre(Window()));
        // Where the window system moves the window, the window leaves it be.
        EXPECT_EQ(form->Dragging(), !systemMoves);
        MoveTo(grabbed + QPoint(30, 20));
        EXPECT_EQ(form->frameGeometry().topLeft(), systemMoves ? start : start + QPoint(30, 20)) << systemMoves;
        ReleaseAt(grabbed + QPoint(30, 20));
        EXPECT_FALSE(form->Dragging());
    }
}

TEST_F(Shell, LeftDragMovesTheWindowWithThePointer)
{
    const QPoint start = form->frameGeometry().topLeft();
    const QPoint grabbed = OnScreen(kOnBackground);
    PressAt(grabbed);
    EXPECT_TRUE(form->Dragging());
    EXPECT_EQ(form->frameGeometry().topLeft(), start);
    for (const QPoint step : {QPoint(40, 25), QPoint(-3, 1), QPoint(-400, 300)}) {
        MoveTo(grabbed + step);
        EXPECT_EQ(form->frameGeometry().topLeft(), start + step) << step.x() << "," << step.y();
    }
    ReleaseAt(grabbed + QPoint(-400, 300));
    EXPECT_FALSE(form->Dragging());
    MoveTo(grabbed);
    EXPECT_EQ(form->frameGeometry().topLeft(), start + QPoint(-400, 300));
}

TEST_F(Shell, RightAndMiddleButtonsNeitherStartNorEndADrag)
{
    const QPoint start = form->frameGeometry().topLeft();
    const QPoint grabbed = OnScreen(kOnBackground);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        PressAt(grabbed, button);
        MoveTo(grabbed + QPoint(30, 30));
        EXPECT_EQ(form->frameGeometry().topLeft(), start) << button;
        ReleaseAt(grabbed + QPoint(30, 30), button);
        MoveTo(grabbed);
    }
    EXPECT_FALSE(form->Dragging());

    PressAt(grabbed);
    PressAt(grabbed, Qt::RightButton);
    ReleaseAt(grabbed, Qt::RightButton);
    EXPECT_TRUE(form->Dragging());
    MoveTo(grabbed + QPoint(10, 5));
    EXPECT_EQ(form->frameGeometry().topLeft(), start + QPoint(10, 5));
    ReleaseAt(grabbed + QPoint(10, 5));
    EXPECT_FALSE(form->Dragging());
}

TEST_F(Shell, PressesOnControlsDoNotDrag)
{
    const QPoint start = form->frameGeometry().topLeft();
    for (QWidget* control : std::initializer_list<QWidget*>{
             form->Clear1, form->Update1, form->Image3, form->Edit8, form->Edit9, form->ComboBox1, form->Bitbtn2,
             form->Label1, form->Image4}) {
        const QPoint at = OnScreen(control);
        ASSERT_EQ(QApplication::widgetAt(at) == control || control->isAncestorOf(QApplication::widgetAt(at)), true)
            << control->metaObject()->className();
        PressAt(at);
        MoveTo(at + QPoint(12, 12));
        EXPECT_FALSE(form->Dragging()) << control->metaObject()->className();
        EXPECT_EQ(form->frameGeometry().topLeft(), start) << control->metaObject()->className();
        ReleaseAt(at + QPoint(12, 12));
    }
}

TEST_F(Shell, PictureButtonsGrowUnderThePointerUntilItMovesOverTheBackground)
{
    EXPECT_EQ(Enlarged(), std::vector<bool>(6, false));
    HoverOver(form->Clear1);
    EXPECT_EQ(Enlarged(), (std::vector<bool>{true, false, false, false, false, false}));
    HoverOver(form->Image3);
    HoverOver(form->Update1);
    EXPECT_EQ(Enlarged(), (std::vector<bool>{true, false, false, true, false, true}));
    // Labels, edits and lists leave them as they are.
    for (QWidget* control : std::initializer_list<QWidget*>{form->Label2, form->Edit8, form->ComboBox2, form->Image4})
        HoverOver(control);
    EXPECT_EQ(Enlarged(), (std::vector<bool>{true, false, false, true, false, true}));
    MoveTo(OnScreen(kOnBackground));
    EXPECT_EQ(Enlarged(), std::vector<bool>(6, false));
    EXPECT_FALSE(form->Dragging());
}

TEST_F(Shell, DuringADragPictureButtonsStaySmall)
{
    HoverOver(form->Removecurrentdata1);
    PressAt(OnScreen(kOnBackground));
    const QPoint overButton = OnScreen(form->Clear1);
    QTest::mouseMove(Window(), Local(overButton));
    EXPECT_EQ(Enlarged(), std::vector<bool>(6, false));
    ReleaseAt(cursor);
}

TEST_F(Shell, EnlargingTwiceRedrawsOnce)
{
    PaintCounter counter;
    form->Clear1->installEventFilter(&counter);
    form->Clear1MouseMove(form->Clear1, {}, 5, 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    const QImage enlarged = form->Clear1->RenderImage();
    counter.paints = 0;
    form->Clear1MouseMove(form->Clear1, {}, 6, 6);
    QTest::qWait(50);
    EXPECT_EQ(counter.paints, 0);
    form->Image1MouseMove(form->Image1, {}, 5, 5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    EXPECT_NE(form->Clear1->RenderImage(), enlarged);
}

TEST_F(Shell, MaskLeavesOutTheSeeThroughPixelsAndKeepsTheControls)
{
    const QRegion mask = form->mask();
    EXPECT_FALSE(mask.contains(QPoint(1, 1))) << "white corner";
    EXPECT_FALSE(mask.contains(QPoint(621, 150))) << "strip at the right";
    EXPECT_FALSE(mask.contains(QPoint(300, 294))) << "strip at the bottom";
    EXPECT_TRUE(mask.contains(form->Edit8->geometry()));

    const QImage picture = form->Image1->Picture();
    const QRgb seeThrough = picture.pixel(0, picture.height() - 1);
    ASSERT_EQ(seeThrough, qRgb(255, 255, 255));
    std::vector<QRect> controls;
    for (QWidget* control : std::initializer_list<QWidget*>{
             form->Label1, form->Label2, form->Label3, form->ComboBox3, form->Edit8, form->Bitbtn2, form->ComboBox1,
             form->Edit9, form->ComboBox2, form->Clear1, form->Removecurrentdata1, form->Updatefromfile1,
             form->Update1, form->Image2, form->Image3, form->Image4})
        controls.push_back(control->geometry());
    int wrong = 0;
    for (int y = 0; y < form->height(); y += 3) {
        for (int x = 0; x < form->width(); x += 3) {
            const bool opaque = x < picture.width() && y < picture.height() && picture.pixel(x, y) != seeThrough;
            const bool onControl =
                std::any_of(controls.begin(), controls.end(), [&](const QRect& box) { return box.contains(x, y); });
            if (mask.contains(QPoint(x, y)) != (opaque || onControl) && ++wrong <= 5)
                ADD_FAILURE() << "(" << x << "," << y << ") opaque " << opaque << " control " << onControl;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Shell, MaskFollowsTheControls)
{
    EXPECT_FALSE(form->mask().contains(QPoint(1, 1)));
    form->Edit9->move(0, 0);
    EXPECT_TRUE(form->mask().contains(QPoint(1, 1)));
    form->Edit9->hide();
    EXPECT_FALSE(form->mask().contains(QPoint(1, 1)));

    form->XiPanel1->move(0, 0);
    EXPECT_FALSE(form->mask().contains(QPoint(1, 1)));
    QTest::mouseClick(form->Bitbtn2, Qt::LeftButton);
    EXPECT_TRUE(form->mask().contains(QPoint(1, 1)));
}

TEST_F(Shell, HintsShowInBoldBlueNarrowTypeAfterTenMilliseconds)
{
    EXPECT_EQ(form->Clear1->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 10);

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    HoverOver(form->Update1);
    ASSERT_TRUE(QTest::qWaitFor([] { return THintConFont::Current() && THintConFont::Current()->isVisible(); }, 3000));
    const THintConFont* hint = THintConFont::Current();
    EXPECT_EQ(hint->text(), "Update From URL");
    EXPECT_THAT(QFontInfo(hint->font()).family().toStdString(), AnyOf("Arial Narrow", "Liberation Sans Narrow"));
    EXPECT_TRUE(hint->font().bold());
    EXPECT_EQ(hint->font().pointSize(), 10);
    EXPECT_EQ(hint->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_GT(hint->geometry().top(), OnScreen(form->Update1).y()) << "below the pointer";

    // A list's edit part shows the list's hint.
    const std::pair<QWidget*, const char*> hinted[] = {
        {form->ComboBox1->lineEdit(), "Click to Select Unit Currency"},
        {form->Bitbtn2, "Click to Use Calculator"},
    };
    for (const auto& [control, text] : hinted) {
        QHelpEvent request(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(control, &request);
        EXPECT_EQ(THintConFont::Current()->text(), text);
    }
    EXPECT_EQ(form->Bitbtn2->cursor().shape(), Qt::PointingHandCursor);

    QElapsedTimer shown;
    shown.start();
    ASSERT_TRUE(QTest::qWaitFor([] { return !THintConFont::Current()->isVisible(); }, 5000));
    EXPECT_GE(shown.elapsed(), 2450);
}

TEST_F(Shell, TimedOutHintStaysAwayUntilThePointerLeavesItsControl)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    const auto shown = [] { return THintConFont::Current() && THintConFont::Current()->isVisible(); };
    // A move to where the pointer already is would not count as one.
    MoveTo(OnScreen(kOnBackground));
    HoverOver(form->Update1);
    ASSERT_TRUE(QTest::qWaitFor(shown, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown(); }, 5000));

    for (const QPoint step : {QPoint(2, 1), QPoint(-3, 2), QPoint(1, -4)}) {
        MoveTo(OnScreen(form->Update1) + step);
        // Far longer than the 10 ms pause before a hint.
        QTest::qWait(150);
        EXPECT_FALSE(shown()) << "after a move by " << step.x() << "," << step.y();
    }

    MoveTo(OnScreen(kOnBackground));
    HoverOver(form->Update1);
    EXPECT_TRUE(QTest::qWaitFor(shown, 3000));
    EXPECT_EQ(THintConFont::Current()->text(), "Update From URL");
}

TEST_F(Shell, RunningFormCreateAgainKeepsOneHintWindowSetUp)
{
    const QStyle* style = QApplication::style();
    form->FormCreate(form.get());
    EXPECT_EQ(QApplication::style(), style);
    EXPECT_EQ(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 10);
}

TEST(PictureControl, DrawsCentredOrStretchedWithoutTheBottomLeftColour)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    picture.setPixel(0, 1, qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(0, 128, 0));
    PictureControl control;
    control.resize(6, 4);
    control.SetPicture(picture);

    struct Case {
        const char* name;
        bool transparent, center, stretch;
        QPoint at;
        QRgb expected;
    };
    const QRgb none = qRgba(0, 0, 0, 0);
    const Case cases[] = {
        {"top-left", false, false, false, {0, 0}, qRgb(255, 0, 0)},
        {"top-left, beside the picture", false, false, false, {2, 0}, none},
        {"top-left, key colour drawn", false, false, false, {0, 1}, qRgb(255, 255, 255)},
        {"top-left, key colour left out", true, false, false, {0, 1}, none},
        {"centred", true, true, false, {2, 1}, qRgb(255, 0, 0)},
        {"centred, corner empty", true, true, false, {0, 0}, none},
        {"centred, key colour left out", true, true, false, {2, 2}, none},
        {"stretched, top-left", true, true, true, {0, 0}, qRgb(255, 0, 0)},
        {"stretched, bottom-right", true, true, true, {5, 3}, qRgb(0, 128, 0)},
        {"stretched, key colour left out", true, true, true, {0, 3}, none},
    };
    for (const Case& c : cases) {
        control.SetTransparent(c.transparent);
        control.SetCenter(c.center);
        control.SetStretch(c.stretch);
        const QImage image = control.RenderImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(6, 4));
        EXPECT_EQ(image.pixel(c.at), c.expected) << c.name;
    }
}

TEST(WindowShape, OpaqueRegionIsEveryPixelNotOfTheBottomLeftColour)
{
    const QRgb key = qRgb(255, 255, 255);
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(key);
    picture.setPixel(0, 0, qRgb(250, 217, 150));
    picture.setPixel(2, 0, qRgb(254, 255, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    const QRegion region = OpaqueRegion(picture);
    std::vector<QPoint> inside;
    for (int y = -1; y <= 2; ++y)
        for (int x = -1; x <= 3; ++x)
            if (region.contains(QPoint(x, y)))
                inside.push_back({x, y});
    EXPECT_THAT(inside, ElementsAre(QPoint(0, 0), QPoint(2, 0), QPoint(1, 1)));
    EXPECT_TRUE(OpaqueRegion(QImage()).isEmpty());
}

} // namespace
} // namespace zentaro::test
