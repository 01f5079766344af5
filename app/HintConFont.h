#pragma once

#include <QLabel>
#include <QTimer>

namespace zentaro {

// The window's hint: the standard hint's looks (tooltip colours, a thin
// raised frame, fitted to its text, below the pointer, gone after 2.5 s),
// but in bold blue Arial Narrow.
class THintConFont : public QLabel {
    Q_OBJECT

public:
    static constexpr int kHintPauseMs = 10;
    static constexpr int kHideAfterMs = 2500;

    explicit THintConFont(QWidget* window);

    // Shows the text below the pointer's screen position.
    void ActivateHint(QPoint pointer, const QString& text);
    void ReleaseHint();
    const QTimer& HideTimer() const { return hideTimer_; }

    // Makes THintConFont the application's hint window and sets the hint
    // pause; running it again changes nothing.
    static void Install();
    // The application's hint window once a hint was asked for, else null.
    static THintConFont* Current();

private:
    QTimer hideTimer_;
};

// Arial Narrow, 10 points, bold; a metric-compatible face where it is missing.
QFont HintFont();

} // namespace zentaro
