#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QLineEdit;

namespace zentaro {

// What reaches the amount field from the keyboard and its context menu goes
// through the window first: every typed character passes the window's
// KeyPress handler, which may change or refuse it, before the field takes
// it; a paste, by its keys or the menu, goes to the window's own paste.
class AmountKeys : public QObject {
    Q_OBJECT

public:
    struct Handlers {
        // The KeyPress handler, run under the window's guard: false when it
        // failed. A key set to 0 is refused.
        std::function<bool(char32_t& key)> keyPress;
        std::function<void()> paste;
        // The context menu, at a point in the field.
        std::function<void(QPoint)> menu;
    };

    AmountKeys(QLineEdit* field, Handlers handlers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field_;
    Handlers handlers_;
};

} // namespace zentaro
