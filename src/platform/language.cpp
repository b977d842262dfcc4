#include "platform/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace velmora {

ProgramLanguage::ProgramLanguage(const QString &name) : previousLocale_(QLocale())
{
    QLocale locale = name.isEmpty() ? QLocale::system() : QLocale(name);
    // The program's translations are embedded; Qt's come with the system's Qt.
    if (own_.load(locale, QStringLiteral("velmora"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(&own_);
        translated_ = true;
        if (qt_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qt_);
    } else {
        if (locale.language() != QLocale::English && locale.language() != QLocale::C) {
            // Without a translation the program speaks English: its dates and weekdays too.
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        }
        if (own_.load(QStringLiteral(":/i18n/plurals_en")))
            QCoreApplication::installTranslator(&own_);
    }
    QLocale::setDefault(locale);
}

ProgramLanguage::~ProgramLanguage()
{
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&own_);
    QLocale::setDefault(previousLocale_);
}

} // namespace velmora
