#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Common {

namespace {

// Qt's Russian texts keep "OK" in Latin letters; the buttons here say "ОК".
class ButtonTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        Q_UNUSED(disambiguation)
        Q_UNUSED(n)
        const QByteArray from(context);
        if (qstrcmp(source, "OK") == 0 && (from == "QPlatformTheme" || from == "QDialogButtonBox"))
            return QStringLiteral("ОК");
        return QString();
    }
};

} // namespace

bool installQtTranslations(QCoreApplication* application)
{
    auto* translator = new QTranslator(application);
    if (!translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed last, asked first.
    return QCoreApplication::installTranslator(translator)
        && QCoreApplication::installTranslator(new ButtonTexts(application));
}

} // namespace Common
