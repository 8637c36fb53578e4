#pragma once

#include <QDialog>
#include <QUrl>

class PlatformServices;
class QLabel;
class QPushButton;

// The version dialog: the program's name and version, a one-line description and two links to
// the manual shipped with the program.
//
// The main window's version command runs it with
//     AboutDialog::showModal(this, m_services);
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // `manual` is the address both links open; by default the installed manual (manualUrl()).
    explicit AboutDialog(PlatformServices &services, QWidget *owner = nullptr,
                         const QUrl &manual = manualUrl());

    // Shows the dialog modally, centred on `owner`.
    static void showModal(QWidget *owner, PlatformServices &services);

    // The manual as a local file: docs/index.html next to the executable (a portable or Windows
    // install), share/morvel/doc/index.html beside the executable's bin folder (a Linux
    // install), or the source tree's docs/index.html (a run from the build folder).
    static QUrl manualUrl();
    static QString manualPath(const QString &executableFolder);

    QUrl address() const { return m_address; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openLink();

    PlatformServices &m_services;
    QUrl m_address;
    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblDescription;
    QLabel *lblHome;
    QLabel *lblUrl;
    QPushButton *cmdOK;
};
