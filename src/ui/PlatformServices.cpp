#include "PlatformServices.h"

#include <QColorDialog>
#include <QCoreApplication>
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

class ProgramFileDialog : public QFileDialog
{
public:
    ProgramFileDialog(QWidget *parent, const PlatformServices::FileDialogOptions &options)
        : QFileDialog(parent, options.title), m_options(options)
    {}

    // The name the user gave is judged before the dialog takes it.
    void accept() override
    {
        // A name without an extension takes the one of the filter now selected, if it has one.
        const int filter = int(nameFilters().indexOf(selectedNameFilter()));
        setDefaultSuffix(m_options.defaultSuffixes.value(filter));
        const QStringList files = selectedFiles();
        const QFileInfo chosen(files.value(0));
        if (files.isEmpty() || chosen.isDir()) {
            QFileDialog::accept(); // a folder is opened, not chosen
            return;
        }
        const QString shown = QDir::toNativeSeparators(chosen.absoluteFilePath());
        if ((m_options.pathMustExist || m_options.confirmCreate) &&
            !QFileInfo(chosen.absolutePath()).isDir()) {
            QMessageBox::warning(
                this, windowTitle(),
                QCoreApplication::translate(
                    "PlatformServices",
                    "%1\nフォルダが見つかりません。\nフォルダ名を確かめてください。")
                    .arg(shown));
            return;
        }
        if (acceptMode() == AcceptOpen && m_options.confirmCreate && !chosen.exists() &&
            QMessageBox::question(this, windowTitle(),
                                  QCoreApplication::translate(
                                      "PlatformServices",
                                      "%1\nこのファイルは存在しません。\nファイルを作成しますか？")
                                      .arg(shown),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes) != QMessageBox::Yes)
            return;
        QFileDialog::accept();
    }

private:
    PlatformServices::FileDialogOptions m_options;
};

PlatformServices::FileChoice
runFileDialog(QWidget *parent, const PlatformServices::FileDialogOptions &options, bool save)
{
    const std::unique_ptr<QFileDialog> dialog =
        QtPlatformServices::fileDialog(parent, options, save);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return QtPlatformServices::choiceOf(*dialog);
}

} // namespace

std::unique_ptr<QFileDialog>
QtPlatformServices::fileDialog(QWidget *parent, const FileDialogOptions &options, bool save)
{
    auto dialog = std::make_unique<ProgramFileDialog>(parent, options);
    // The platform's own dialogs would not ask the program's questions.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save || options.confirmCreate ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    const QStringList filters = toQtFilters(options.filter);
    dialog->setNameFilters(filters);
    if (options.filterIndex >= 0 && options.filterIndex < filters.size())
        dialog->selectNameFilter(filters[options.filterIndex]);
    if (!options.initialDir.isEmpty() && QFileInfo(options.initialDir).isDir())
        dialog->setDirectory(options.initialDir);
    if (!options.fileName.isEmpty())
        dialog->selectFile(options.fileName);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    // The name is used exactly as typed; a filter's default suffix is applied when it is accepted.
    dialog->setDefaultSuffix(QString());
    return dialog;
}

PlatformServices::FileChoice QtPlatformServices::choiceOf(const QFileDialog &dialog)
{
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return {};
    return {QDir::toNativeSeparators(files.constFirst()),
            int(qMax(qsizetype(0), dialog.nameFilters().indexOf(dialog.selectedNameFilter())))};
}

QString QtPlatformServices::openFileName(QWidget *parent, const FileDialogOptions &options)
{
    return runFileDialog(parent, options, false).path;
}

PlatformServices::FileChoice QtPlatformServices::saveFile(QWidget *parent,
                                                          const FileDialogOptions &options)
{
    return runFileDialog(parent, options, true);
}

QString QtPlatformServices::chooseFolder(QWidget *parent, const QString &title,
                                         const QString &initialDir)
{
    // The program's own dialog, as for files.
    return QFileDialog::getExistingDirectory(
        parent, title, initialDir, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
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
    // Qt's own dialog on every desktop: a platform's dialog may not show the custom colours.
    QColorDialog dialog(initial, parent);
    dialog.setWindowTitle(title);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
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
