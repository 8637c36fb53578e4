#pragma once

#include "ui/PlatformServices.h"

#include <QQueue>

// Answers the program's questions from queues filled by the test, and records what was asked.
class FakePlatformServices : public PlatformServices
{
public:
    struct MessageCall
    {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    struct ColorCall
    {
        QColor initial;
        QString title;
        QList<QColor> customColors;
    };

    // Empty string = the user cancels.
    QQueue<QString> openAnswers;
    QQueue<QString> saveAnswers;
    // The filter chosen with each save answer; none = the one preselected.
    QQueue<int> saveFilterAnswers;
    QQueue<QString> folderAnswers;
    // Nothing = the user cancels.
    QQueue<std::optional<QColor>> colorAnswers;
    // Unanswered questions get the default button.
    QQueue<QMessageBox::StandardButton> messageAnswers;
    QDateTime clock = QDateTime(QDate(2002, 12, 31), QTime(23, 59, 30));

    QList<FileDialogOptions> openCalls;
    QList<FileDialogOptions> saveCalls;
    QList<ColorCall> colorCalls;
    QList<MessageCall> messageCalls;
    QList<QUrl> openedUrls;

    QString openFileName(QWidget *, const FileDialogOptions &options) override
    {
        openCalls.append(options);
        return openAnswers.isEmpty() ? QString() : openAnswers.dequeue();
    }
    FileChoice saveFile(QWidget *, const FileDialogOptions &options) override
    {
        saveCalls.append(options);
        const int filter =
            saveFilterAnswers.isEmpty() ? options.filterIndex : saveFilterAnswers.dequeue();
        return {saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue(), filter};
    }
    QString chooseFolder(QWidget *, const QString &, const QString &) override
    {
        return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
    }
    std::optional<QColor> chooseColor(QWidget *, const QColor &initial, const QString &title,
                                      const QList<QColor> &customColors) override
    {
        colorCalls.append({initial, title, customColors});
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.dequeue();
    }
    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon icon, const QString &caption,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        messageCalls.append({icon, caption, text, buttons, defaultButton});
        return messageAnswers.isEmpty() ? defaultButton : messageAnswers.dequeue();
    }
    QDateTime now() const override { return clock; }
    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return true;
    }
};
