#include "orvane.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Common::installQtTranslations(&application);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    Orvane window(arguments);
    window.show();
    return application.exec();
}
