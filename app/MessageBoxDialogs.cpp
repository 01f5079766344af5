#include "app/MessageBoxDialogs.h"
#include "app/ShownText.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zentaro {

namespace {

void ShowBox(QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok);
    box.exec();
}

// "description|pattern|description|pattern..." as Qt writes it: one
// "description (pattern)" per pair, patterns parted by spaces instead of ";".
QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    if (filters.isEmpty())
        filters << filter;
    return filters;
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

QString ErrorBoxText(const std::string& errorText)
{
    QString text = Shown(errorText);
    if (!errorText.empty() && static_cast<unsigned char>(errorText.back()) > '.')
        text += QLatin1Char('.');
    return text;
}

QString StartupErrorBoxText(const std::string& errorText, const std::filesystem::path& dataFile)
{
    QString text = ErrorBoxText(errorText);
    std::error_code ignored;
    if (std::filesystem::exists(dataFile, ignored))
        text += QStringLiteral("\n\n") + ShownPath(std::filesystem::absolute(dataFile, ignored));
    return text;
}

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
    dialog.setNameFilters(QtNameFilters(nameFilter));
    if (!lastFile_.isEmpty())
        dialog.selectFile(lastFile_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    lastFile_ = dialog.selectedFiles().front();
    return lastFile_;
}

} // namespace zentaro
