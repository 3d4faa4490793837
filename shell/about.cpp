#include "about.h"

About::About()
    : Belvix(nullptr, QPixmap(), QString(), QString(), QStringList{QString()})
{
    setFullNameString(tr("Редактор конфигурации"));
    setVersionString(tr("Версия %1.%2.%3").arg(1).arg(0).arg(1));
    showMessage(QStringList());
    showModules();
}

About::~About() = default;
