#include "app/Unit1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentaro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zentaro"));
    TForm1 form(TForm1::Settings::Installed());
    form.show();
    return application.exec();
}
