#include "AppStartup.h"

#include "compose/FontSetup.h"
#include "ui/UiFonts.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace AppStartup {

void prepare()
{
    FontSetup::install();
    QApplication::setFont(QFont(QString::fromUtf16(UiFonts::PGothic), 9));

    // The translator lives as long as the application.
    auto *qtTranslator = new QTranslator(QCoreApplication::instance());
    if (qtTranslator->load(QStringLiteral("qtbase_ja"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTranslator);
}

} // namespace AppStartup
