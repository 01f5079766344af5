#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace zentaro {

// Offers a key press to the window's gradient buttons before the focused
// control sees it, the way a dialog hands Enter, Escape and accelerator
// characters to its buttons: Enter to the focused or the default button,
// Escape to the cancel button, Alt+character (or a plain character the
// focused control does not type) to the button with that accelerator.
//
// A control "takes the key itself" when it accepts the ShortcutOverride
// probe for it, as text editors do for Enter and for printable characters;
// then the buttons are not asked. The focused button is asked first, the
// others in the window's child order; the first that takes the key ends
// the search.
class DialogKeyRouter : public QObject {
    Q_OBJECT

public:
    // Installs one application-wide router; later calls do nothing.
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DialogKeyRouter(QObject* parent) : QObject(parent) {}
    static bool FocusedControlWantsKey(QWidget* target, const QKeyEvent& key);
};

} // namespace zentaro
