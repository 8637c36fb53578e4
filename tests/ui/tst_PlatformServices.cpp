#include "ui/PlatformServices.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_PlatformServices : public QObject
{
    Q_OBJECT

private slots:
    void fileDialogJudgesTypedName_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // to the question the dialog asks, if any
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("taken");
        QTest::newRow("save: a name in a missing folder is refused")
            << true << "missing/m42.bmp" << int(QMessageBox::Ok) << "フォルダが見つかりません"
            << false;
        QTest::newRow("save: an existing file, No to replacing it returns to the dialog")
            << true << "old.kvl" << int(QMessageBox::No) << "old.kvl" << false;
        QTest::newRow("open: a missing file, No returns to the dialog")
            << false << "new.kvl" << int(QMessageBox::No) << "ファイルを作成しますか" << false;
        QTest::newRow("open: a missing file, Yes returns the name")
            << false << "new.kvl" << int(QMessageBox::Yes) << "ファイルを作成しますか" << true;
        QTest::newRow("open: an existing file without a question")
            << false << "old.kvl" << 0 << "" << true;
    }
    void fileDialogJudgesTypedName()
    {
        QFETCH(bool, save);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, asked);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        QFile(dir.filePath("old.kvl")).open(QIODevice::WriteOnly);
        const auto options =
            save ? PlatformServices::FileDialogOptions::forSave("BMP (*.bmp)|*.bmp", dir.path(), {})
                 : PlatformServices::FileDialogOptions::forOpen("All (*.*)|*.*", dir.path());
        const auto dialog = QtPlatformServices::fileDialog(nullptr, options, save);
        dialog->show();
        const QString path = QDir::toNativeSeparators(dir.filePath(typed));
        QLineEdit *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        name->setText(path);

        QString question;
        QTimer answerer; // answers the question when the dialog asks one
        answerer.setSingleShot(true);
        connect(&answerer, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                question = box->text();
                box->button(QMessageBox::StandardButton(answer))->click();
            }
        });
        answerer.start(0);
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY2(question.contains(asked) &&
                     question.contains(QFileInfo(path).fileName()) == !asked.isEmpty(),
                 qPrintable(question));
        QCOMPARE(dialog->result() == QDialog::Accepted, taken);
        if (taken)
            QCOMPARE(QDir::toNativeSeparators(dialog->selectedFiles().value(0)), path);
    }
    void saveDialogSuffixFollowsFilter()
    {
        QTemporaryDir dir;
        auto options = PlatformServices::FileDialogOptions::forSave(
            "BMP (*.bmp)|*.bmp|PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg", dir.path(), {});
        options.defaultSuffixes = QStringList{"", "png", "jpg"};
        // It opens in its folder, on the filter and with the name it is given.
        options.filterIndex = 1;
        options.fileName = QStringLiteral("named.png");
        const auto first = QtPlatformServices::fileDialog(nullptr, options, true);
        QCOMPARE(first->directory(), QDir(dir.path()));
        QCOMPARE(first->selectedNameFilter(), first->nameFilters().value(1));
        QCOMPARE(QFileInfo(first->selectedFiles().value(0)).fileName(), "named.png");
        QVERIFY(first->testOption(QFileDialog::DontUseNativeDialog)); // the program's questions
        // BMP takes the name as typed; JPEG adds its extension.
        const std::tuple<int, QString, QString> cases[] = {{0, "result", "result"},
                                                           {2, "result", "result.jpg"}};
        for (const auto &[filter, typed, chosen] : cases) {
            const auto dialog = QtPlatformServices::fileDialog(nullptr, options, true);
            dialog->show();
            dialog->selectNameFilter(dialog->nameFilters().value(filter));
            QLineEdit *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            name->setText(QDir::toNativeSeparators(dir.filePath(typed)));
            QTest::keyClick(name, Qt::Key_Return);
            QCOMPARE(dialog->result(), int(QDialog::Accepted));
            const PlatformServices::FileChoice choice = QtPlatformServices::choiceOf(*dialog);
            QCOMPARE(choice.path, QDir::toNativeSeparators(dir.filePath(chosen)));
            QCOMPARE(choice.filterIndex, filter);
        }
    }
    void colorDialogAndCustomColors()
    {
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) {
                answerer.stop();
                dialog->setCurrentColor(QColor(7, 8, 9));
                dialog->accept();
            }
        });
        answerer.start(10);
        QtPlatformServices services;
        QCOMPARE(services.chooseColor(nullptr, Qt::red, "色の選択", {Qt::red, Qt::green}),
                 QColor(7, 8, 9));
        QCOMPARE(QColorDialog::customColor(2), QColor(Qt::green)); // along the first row
    }
};

QTEST_MAIN(tst_PlatformServices)
#include "tst_PlatformServices.moc"
