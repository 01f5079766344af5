#include "app/Accessibility.h"

#include "app/PictureControl.h"
#include "controls/XiButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

namespace zentaro {

namespace {

// A press from a screen reader clicks once the call has returned: a command
// that opens a modal box must not hold the reader's request until the box
// is answered, and a mouse click does not run inside anyone's call either.
void ClickLater(QWidget* control, std::function<void(QWidget*)> click)
{
    QTimer::singleShot(0, control, [guarded = QPointer<QWidget>(control), click = std::move(click)] {
        if (guarded && guarded->isEnabled())
            click(guarded);
    });
}

// A control with one action while it is enabled: the painted push buttons
// press, the lists show their entries.
class OneActionAccessible : public QAccessibleWidget {
public:
    OneActionAccessible(QWidget* control, QAccessible::Role role, QString action, std::function<void(QWidget*)> run)
        : QAccessibleWidget(control, role), action_(std::move(action)), run_(std::move(run))
    {
    }

    QStringList actionNames() const override
    {
        if (!widget()->isEnabled())
            return {};
        return {action_};
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == action_)
            ClickLater(widget(), run_);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QString action_;
    std::function<void(QWidget*)> run_;
};

class PictureButtonAccessible : public OneActionAccessible {
public:
    explicit PictureButtonAccessible(PictureControl* picture)
        : OneActionAccessible(picture, QAccessible::Button, pressAction(),
                              [](QWidget* control) { emit static_cast<PictureControl*>(control)->clicked(); })
    {
    }

    // The hint says what the picture does; it is the button's name, not
    // something to say after it.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return widget()->toolTip();
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return {};
        return QAccessibleWidget::text(t);
    }
};

class GradientButtonAccessible : public OneActionAccessible {
public:
    explicit GradientButtonAccessible(TXiButton* button)
        : OneActionAccessible(button, QAccessible::Button, pressAction(),
                              [](QWidget* control) { static_cast<TXiButton*>(control)->Click(); })
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return SpokenCaption(static_cast<TXiButton*>(widget())->Caption());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = static_cast<TXiButton*>(widget())->DrawState() == TDrawState::dsDown;
        return state;
    }
};

// On Linux Qt names a list by its text, so that "ZAR" is all a reader hears
// of the from-currency list; here the text is its value. Its children are
// the entries' view and, when editable, the edit part.
class ListAccessible : public OneActionAccessible {
public:
    explicit ListAccessible(QComboBox* list)
        : OneActionAccessible(list, QAccessible::ComboBox, showMenuAction(),
                              [](QWidget* shown) { static_cast<QComboBox*>(shown)->showPopup(); })
    {
    }

    int childCount() const override { return List()->lineEdit() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(List()->view());
        if (index == 1 && List()->lineEdit())
            return QAccessible::queryAccessibleInterface(List()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return List()->currentText();
        return QAccessibleWidget::text(t);
    }

private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
};

// The first of the object's classes that Qt itself defines.
const QMetaObject* QtBaseClass(const QObject* object)
{
    const QMetaObject* meta = object->metaObject();
    while (meta && !QByteArrayView(meta->className()).startsWith('Q'))
        meta = meta->superClass();
    return meta;
}

QAccessibleInterface* CreateInterface(const QString& className, QObject* object)
{
    // Asked once for each class of the object, most derived first: answer
    // only the first time.
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* button = qobject_cast<TXiButton*>(widget))
        return new GradientButtonAccessible(button);
    if (auto* picture = qobject_cast<PictureControl*>(widget)) {
        // A picture without a hint is decoration.
        if (picture->toolTip().isEmpty())
            return nullptr;
        return new PictureButtonAccessible(picture);
    }
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return new ListAccessible(list);
    if (widget->isWindow() && QtBaseClass(widget) == &QWidget::staticMetaObject)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&CreateInterface);
        return true;
    }();
    (void)installed;
}

QString SpokenCaption(const QString& caption)
{
    struct Spoken {
        const char* caption;
        const char* spoken;
    };
    static const Spoken kSpoken[] = {
        {"/", "divide"}, {"*", "multiply"},      {"-", "minus"},          {"+", "plus"},
        {"+/-", "change sign"}, {".", "decimal point"}, {"C", "clear"}, {"OK", "OK"},
    };
    QString plain = caption;
    plain.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    for (const Spoken& entry : kSpoken)
        if (plain == QLatin1String(entry.caption))
            return QString::fromLatin1(entry.spoken);
    return plain;
}

void NameFields(std::initializer_list<FieldName> fields)
{
    for (const FieldName& field : fields) {
        const QString name = QString::fromLatin1(field.name);
        field.field->setAccessibleName(name);
        // A reader that lands on the edit part of a list hears the list's name.
        if (auto* list = qobject_cast<QComboBox*>(field.field); list && list->lineEdit())
            list->lineEdit()->setAccessibleName(name);
        if (field.label)
            field.label->setBuddy(field.field);
    }
}

} // namespace zentaro
