#include "app/Unit1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    zentaro::WindowSettings::NameApplication();
    zentaro::TForm1 form(zentaro::WindowSettings::Installed());
    form.show();
    return application.exec();
}
