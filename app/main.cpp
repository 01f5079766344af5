#include "app/Unit1.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TForm1::Settings::NameApplication();
    TForm1 form(TForm1::Settings::Installed());
    form.show();
    return application.exec();
}
