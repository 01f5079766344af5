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

QLabel* CreateLabel(QWidget* window, const char* text, QRect box, const QFont& font)
{
    auto* created = new QLabel(QString::fromLatin1(text), window);
    created->setGeometry(box);
    created->setFont(font);
    return created;
}

TextComboBox* CreateList(QWidget* window, const char* hint, QRect box, const QFont& font)
{
    auto* created = new TextComboBox(window);
    created->setGeometry(box);
    created->setFont(font);
    created->setToolTip(QString::fromLatin1(hint));
    return created;
}

QLineEdit* CreateEdit(QWidget* window, const char* hint, QRect box, const QFont& font)
{
    auto* created = new QLineEdit(window);
    created->setGeometry(box);
    created->setFont(font);
    created->setToolTip(QString::fromLatin1(hint));
    return created;
}

PictureControl* CreateBackground(QWidget* window)
{
    auto* created = new PictureControl(window);
    created->setGeometry(QRect(QPoint(0, 0), kClientSize));
    created->SetPicture(QImage(QStringLiteral(":/art/background.bmp")));
    created->SetTransparent(true);
    created->setMouseTracking(true);
    return created;
}

PictureControl* CreatePictureButton(QWidget* window, const char* picture, QRect box, const char* hint)
{
    auto* created = new PictureControl(window);
    created->setGeometry(box);
    created->SetPicture(QImage(QString::fromLatin1(picture)));
    created->SetTransparent(true);
    created->SetCenter(true);
    created->setCursor(Qt::PointingHandCursor);
    created->setToolTip(QString::fromLatin1(hint));
    created->setMouseTracking(true);
    return created;
}

PictureControl* CreateDecoration(QWidget* window)
{
    auto* created = new PictureControl(window);
    created->setGeometry(kDecorationBox);
    created->SetPicture(QImage(QStringLiteral(":/art/decor.bmp")));
    created->SetTransparent(true);
    created->SetStretch(true);
    return created;
}

} // namespace zentaro
