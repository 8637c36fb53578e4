#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

// Everything that would open a modal loop or reach outside the program: file and colour dialogs,
// message boxes, the clock and the browser. The main window receives one and passes it down, so
// tests answer the questions themselves.
class PlatformServices
{
public:
    struct FileDialogOptions
    {
        QString title;       // empty: the system's default title
        QString filter;      // Windows form: "description|pattern|description|pattern"
        int filterIndex = 0; // the filter preselected, counted from 0
        // Save: per filter, the extension a name typed without one gets under it ("png"); empty
        // or missing, the name is taken exactly as typed.
        QStringList defaultSuffixes;
        QString initialDir;
        QString fileName;              // proposed file name (may be empty)
        bool confirmOverwrite = false; // save: ask before replacing an existing file
        bool confirmCreate = false;    // open: a typed name of a missing file is offered
        bool pathMustExist = false;    // the folder of a typed name must exist

        // The program's Open dialog: the first filter, no proposed name, a missing file offered.
        static FileDialogOptions forOpen(const QString &filter, const QString &initialDir)
        {
            FileDialogOptions options;
            options.filter = filter;
            options.initialDir = initialDir;
            options.confirmCreate = true;
            return options;
        }

        // The program's Save As dialog: the first filter, asking before a file is replaced.
        static FileDialogOptions forSave(const QString &filter, const QString &initialDir,
                                         const QString &fileName)
        {
            FileDialogOptions options;
            options.filter = filter;
            options.initialDir = initialDir;
            options.fileName = fileName;
            options.confirmOverwrite = true;
            options.pathMustExist = true;
            return options;
        }
    };

    // What the user chose in a save dialog: the full path (empty when cancelled) and the filter
    // selected when the dialog closed, counted from 0.
    struct FileChoice
    {
        QString path;
        int filterIndex = 0;
    };

    virtual ~PlatformServices() = default;

    // The chosen full path, or an empty string when the user cancelled.
    virtual QString openFileName(QWidget *parent, const FileDialogOptions &options) = 0;
    virtual FileChoice saveFile(QWidget *parent, const FileDialogOptions &options) = 0;
    // The chosen existing folder, or an empty string when the user cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &title,
                                 const QString &initialDir) = 0;
    QString saveFileName(QWidget *parent, const FileDialogOptions &options)
    {
        return saveFile(parent, options).path;
    }

    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial,
                                              const QString &title,
                                              const QList<QColor> &customColors) = 0;

    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                                const QString &caption, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;

    virtual QDateTime now() const = 0;

    virtual bool openUrl(const QUrl &url) = 0;

    // "Images |*.jpg;*.bmp|All (*.*)|*.*" becomes "Images (*.jpg *.bmp);;All (*.*)".
    static QStringList toQtFilters(const QString &windowsFilter);
};

// The real dialogs, message boxes, clock and browser.
class QtPlatformServices : public PlatformServices
{
public:
    QString openFileName(QWidget *parent, const FileDialogOptions &options) override;
    FileChoice saveFile(QWidget *parent, const FileDialogOptions &options) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &initialDir) override;
    std::optional<QColor> chooseColor(QWidget *parent, const QColor &initial, const QString &title,
                                      const QList<QColor> &customColors) override;
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon,
                                        const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QDateTime now() const override;
    bool openUrl(const QUrl &url) override;

    // The file dialog that openFileName and saveFile run, set up from the options. It is the
    // program's own dialog, the same on every desktop, so that the options hold: a name in a
    // folder that does not exist is refused with a message, a typed name of a missing file is
    // offered for creation (No returns to the dialog), an existing file is replaced only after
    // the question, and the name is taken exactly as typed unless the selected filter has a
    // default suffix and the name has no extension.
    static std::unique_ptr<QFileDialog> fileDialog(QWidget *parent,
                                                   const FileDialogOptions &options, bool save);
    // The file and filter chosen in an accepted dialog.
    static FileChoice choiceOf(const QFileDialog &dialog);
};
