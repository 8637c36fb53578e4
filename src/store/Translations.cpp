#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace Translations {

QStringList folders(const QString &applicationDir)
{
    const QDir dir(applicationDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("translations"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../translations"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/morvel/translations")))};
}

QList<QTranslator *> install(AppSettings::Language language, const QStringList &folders)
{
    QList<QTranslator *> installed;
    const auto add = [&installed](const QString &name, const QString &folder) {
        // The translators live as long as the application.
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
            installed << translator;
            return true;
        }
        delete translator;
        return false;
    };
    if (language == AppSettings::Language::English) {
        for (const QString &folder : folders) {
            if (add(QStringLiteral("morvel_en"), folder))
                break;
        }
    } else {
        add(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    return installed;
}

AppSettings::Language fromLocaleName(const QString &name)
{
    static const QRegularExpression japanese(QStringLiteral("^ja([_.@-]|$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    return japanese.match(name).hasMatch() ? AppSettings::Language::Japanese
                                           : AppSettings::Language::English;
}

} // namespace Translations
