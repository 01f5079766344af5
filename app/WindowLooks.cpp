#include "app/WindowLooks.h"
#include "app/PictureControl.h"
#include "app/TextComboBox.h"
#include "app/WindowSettings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace zentaro {

namespace {

// $00FAD996 in the window system's BGR notation.
const QColor kBackgroundColour(150, 217, 250);
const QRect kDecorationBox(24, 64, 161, 193);

} // namespace

QFont ControlFont(int pixels)
{
    QFont font;
    // Tahoma is rarely installed off Windows; Liberation Sans comes closest in width.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    return font;
}

QIcon ProgramIcon()
{
    QIcon builtIn;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        builtIn.addFile(QStringLiteral(":/art/icons/zentaro-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QString::fromLatin1(kAppId), builtIn);
}

void SetUpMainWindow(QWidget& window)
{
    window.setWindowTitle(QStringLiteral("Zentaro"));
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setWindowIcon(ProgramIcon());
    window.setFixedSize(kClientSize);
    window.setFont(ControlFont(kWindowFontPixels));
    QPalette background = window.palette();
    background.setColor(QPalette::Window, kBackgroundColour);
    window.setPalette(background);
    window.setAutoFillBackground(true);
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        // A Wayland compositor takes the mask as the input region only: the
        // see-through parts must be transparent in the window's own pixels.
        window.setAttribute(Qt::WA_TranslucentBackground);
        window.setAutoFillBackground(false);
    }
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        window.move(desktop.x() + (desktop.width() - window.width()) / 2,
                    desktop.y() + (desktop.height() - window.height()) / 2);
    }
}

namespace {

// A control of the window at its box, in the control font, with its hint.
template <typename Control>
Control* Place(Control* created, QRect box, const QFont& font, const char* hint = nullptr)
{
    created->setGeometry(box);
    created->setFont(font);
    if (hint)
        created->setToolTip(QString::fromLatin1(hint));
    return created;
}

// A picture at its box, see-through in its bottom-left colour.
PictureControl* CreatePicture(QWidget* window, const QString& picture, QRect box)
{
    auto* created = new PictureControl(window);
    created->setGeometry(box);
    created->SetPicture(QImage(picture));
    created->SetTransparent(true);
    return created;
}

} // namespace

QLabel* CreateLabel(QWidget* window, const char* text, QRect box, const QFont& font)
{
    return Place(new QLabel(QString::fromLatin1(text), window), box, font);
}

TextComboBox* CreateList(QWidget* window, const char* hint, QRect box, const QFont& font)
{
    return Place(new TextComboBox(window), box, font, hint);
}

QLineEdit* CreateEdit(QWidget* window, const char* hint, QRect box, const QFont& font)
{
    return Place(new QLineEdit(window), box, font, hint);
}

PictureControl* CreateBackground(QWidget* window)
{
    PictureControl* created = CreatePicture(window, QStringLiteral(":/art/background.bmp"), QRect(QPoint(0, 0), kClientSize));
    created->setMouseTracking(true);
    return created;
}

PictureControl* CreatePictureButton(QWidget* window, const char* picture, QRect box, const char* hint)
{
    PictureControl* created = CreatePicture(window, QString::fromLatin1(picture), box);
    created->SetCenter(true);
    created->setCursor(Qt::PointingHandCursor);
    created->setToolTip(QString::fromLatin1(hint));
    created->setMouseTracking(true);
    return created;
}

PictureControl* CreateDecoration(QWidget* window)
{
    PictureControl* created = CreatePicture(window, QStringLiteral(":/art/decor.bmp"), kDecorationBox);
    created->SetStretch(true);
    return created;
}

} // namespace zentaro
