#include "app/MessageBoxDialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

void ShowBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.exec();
}

// "description|pattern" as Qt writes it: "description (pattern)".
QString QtNameFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

// On X11 and Wayland Qt appends " — " and the application's display name to
// every window title that does not already end with it; a blank display name
// appends nothing. Held for as long as the box is open.
class TitleAlone {
public:
    TitleAlone() : displayName_(QGuiApplication::applicationDisplayName())
    {
        QGuiApplication::setApplicationDisplayName(QString());
    }
    ~TitleAlone() { QGuiApplication::setApplicationDisplayName(displayName_); }
    TitleAlone(const TitleAlone&) = delete;
    TitleAlone& operator=(const TitleAlone&) = delete;

private:
    QString displayName_;
};

} // namespace

void MessageBoxDialogs::ShowMessage(const QString& text) { ShowBox(QMessageBox::NoIcon, text); }

void MessageBoxDialogs::ShowError(const QString& text) { ShowBox(QMessageBox::Critical, text); }

bool MessageBoxDialogs::Confirm(const QString& text)
{
    // A carriage return alone starts a new line in the question.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const TitleAlone title;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), shown);
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::optional<QString> MessageBoxDialogs::OpenFile(const QString& nameFilter)
{
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is accepted; the import reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilter(QtNameFilter(nameFilter));
    if (!lastFile_.isEmpty())
        dialog.selectFile(lastFile_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastFile_ = dialog.selectedFiles().front();
    return lastFile_;
}
