#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QString Translations::directory()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool Translations::install(QString *error)
{
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    QLocale::setDefault(czech);
    // qtbase holds the widgets' texts; older installations may have only the catch-all qt_cs.
    for (const QString &base : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(czech, base, QStringLiteral("_"), directory())) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    if (error)
        *error = QStringLiteral("Qt's Czech translations (qtbase_cs.qm) were not found in %1").arg(directory());
    return false;
}
