#include "app/HintConFont.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QStyleFactory>
#include <QToolTip>

namespace zentaro {

namespace {

constexpr int kHintPointSize = 10;
// Hints sit below the pointer's hot spot, clear of a standard arrow cursor.
constexpr int kBelowPointer = 20;
const QColor kHintTextColour(0, 0, 255);

// The pause before a hint is a style setting in Qt.
class HintPauseStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return THintConFont::kHintPauseMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Takes every hint request of the application and shows it in a THintConFont
// instead of Qt's own tooltip.
class HintRouter : public QObject {
public:
    explicit HintRouter(QObject* parent) : QObject(parent) {}

    THintConFont* Hint() const { return hint_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ToolTip: {
            if (!watched->isWidgetType())
                break;
            auto* control = static_cast<QWidget*>(watched);
            if (control->toolTip().isEmpty())
                break;
            // A hint that timed out stays away until the pointer leaves its control.
            if (control == expired_)
                return true;
            // Like Qt's own tooltip, the hint belongs to the control's window.
            if (hint_ && hint_->parentWidget() != control->window())
                delete hint_;
            if (!hint_) {
                hint_ = new THintConFont(control->window());
                connect(&hint_->HideTimer(), &QTimer::timeout, this, [this] { expired_ = hinted_; });
            }
            hinted_ = control;
            hint_->ActivateHint(static_cast<QHelpEvent*>(event)->globalPos(), control->toolTip());
            return true;
        }
        case QEvent::Leave:
        case QEvent::Hide:
            if (watched == expired_)
                expired_ = nullptr;
            if (watched == hinted_ && hint_)
                hint_->ReleaseHint();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::Wheel:
            if (hint_ && hint_->isVisible())
                hint_->ReleaseHint();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<THintConFont> hint_;
    QPointer<QWidget> hinted_;
    QPointer<QWidget> expired_; // the control whose hint timed out while the pointer stayed
};

// The application's router, owned by the application object.
QPointer<HintRouter>& Router()
{
    static QPointer<HintRouter> router;
    return router;
}

} // namespace

QFont HintFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Nimbus Sans Narrow")});
    font.setPointSize(kHintPointSize);
    font.setBold(true);
    return font;
}

THintConFont::THintConFont(QWidget* window) : QLabel(window, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
{
    setFont(HintFont());
    QPalette colours = QToolTip::palette();
    colours.setColor(QPalette::WindowText, kHintTextColour);
    setPalette(colours);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setMargin(1);
    setTextFormat(Qt::PlainText);
    hideTimer_.setSingleShot(true);
    hideTimer_.setTimerType(Qt::PreciseTimer);
    hideTimer_.setInterval(kHideAfterMs);
    connect(&hideTimer_, &QTimer::timeout, this, &THintConFont::ReleaseHint);
}

void THintConFont::ActivateHint(QPoint pointer, const QString& text)
{
    setText(text);
    adjustSize();
    QPoint at(pointer.x(), pointer.y() + kBelowPointer);
    if (const QScreen* screen = QGuiApplication::screenAt(pointer)) {
        const QRect area = screen->geometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())));
        if (at.y() + height() > area.bottom() + 1)
            at.setY(pointer.y() - height());
    }
    move(at);
    show();
    raise();
    hideTimer_.start();
}

void THintConFont::ReleaseHint()
{
    hideTimer_.stop();
    hide();
}

void THintConFont::Install()
{
    if (!qApp)
        return;
    if (!Router()) {
        Router() = new HintRouter(qApp);
        qApp->installEventFilter(Router());
    }
    if (!dynamic_cast<HintPauseStyle*>(QApplication::style()))
        QApplication::setStyle(new HintPauseStyle(QStyleFactory::create(QApplication::style()->name())));
}

THintConFont* THintConFont::Current()
{
    return Router() ? Router()->Hint() : nullptr;
}

} // namespace zentaro
