#include "PlatformServices.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QStringList PlatformServices::toQtFilters(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        const QString suffix = QStringLiteral("(%1)").arg(patterns);
        filters.append(description.endsWith(suffix) ? description : description + u' ' + suffix);
    }
    return filters;
}

namespace {

QString runFileDialog(QWidget *parent, const PlatformServices::FileDialogOptions &options,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, options.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                       : options.confirmCreate         ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    const QStringList filters = PlatformServices::toQtFilters(options.filter);
    dialog.setNameFilters(filters);
    if (options.filterIndex >= 0 && options.filterIndex < filters.size())
        dialog.selectNameFilter(filters[options.filterIndex]);
    if (!options.initialDir.isEmpty() && QFileInfo(options.initialDir).isDir())
        dialog.setDirectory(options.initialDir);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    // The name is used exactly as typed: no extension is added.
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

QString QtPlatformServices::openFileName(QWidget *parent, const FileDialogOptions &options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptOpen);
}

QString QtPlatformServices::saveFileName(QWidget *parent, const FileDialogOptions &options)
{
    return runFileDialog(parent, options, QFileDialog::AcceptSave);
}

std::optional<QColor> QtPlatformServices::chooseColor(QWidget *parent, const QColor &initial,
                                                      const QString &title,
                                                      const QList<QColor> &customColors)
{
    // The list runs along the rows (eight to a row); Qt numbers its grid of two rows down the
    // columns.
    constexpr int Rows = 2;
    const int columns = QColorDialog::customCount() / Rows;
    for (int i = 0; i < customColors.size() && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor((i % columns) * Rows + i / columns, customColors[i]);
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QMessageBox::StandardButton QtPlatformServices::message(QWidget *parent, QMessageBox::Icon icon,
                                                        const QString &caption, const QString &text,
                                                        QMessageBox::StandardButtons buttons,
                                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

QDateTime QtPlatformServices::now() const
{
    return QDateTime::currentDateTime();
}

bool QtPlatformServices::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
