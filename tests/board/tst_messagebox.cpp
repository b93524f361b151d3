#include "board/MessageBox.h"
#include "board/QtTranslation.h"

#include <QtTest>
#include <QtWidgets>

// Like the desktops that put a tick and a cross on OK and Cancel.
class ButtonIconStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        return hint == SH_DialogButtonBox_ButtonsHaveIcons
            ? 1 : QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(new ButtonIconStyle); }
    void clearConfirmation_data();
    void clearConfirmation();
};

void TestMessageBox::clearConfirmation_data()
{
    QTest::addColumn<QString>("where"); // where qtbase_ja.qm is found
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("key"); // what answers the box

    const QStringList japanese{QStringLiteral("OK"), QStringLiteral("キャンセル")};
    QTest::newRow("Qt's translations folder, Return") << "qt" << japanese << int(Qt::Key_Return);
    QTest::newRow("beside the program, Escape") << "beside" << japanese << int(Qt::Key_Escape);
    QTest::newRow("nowhere: Qt's English, Return") << "nowhere" << QStringList{"OK", "Cancel"} << int(Qt::Key_Return);
}

// OK and Cancel of the clearing question: Qt's Japanese words, no icons;
// Return answers OK, Escape Cancel.
void TestMessageBox::clearConfirmation()
{
    QFETCH(QString, where);
    QFETCH(QStringList, texts);
    QFETCH(int, key);

    QTemporaryDir dir;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList folders{dir.filePath(QStringLiteral("missing"))};
    if (where == "qt")
        folders << qtFolder;
    if (where == "beside") {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("translations")));
        QVERIFY(QFile::copy(qtFolder + "/qtbase_ja.qm", dir.filePath("translations/qtbase_ja.qm")));
        folders << dir.filePath(QStringLiteral("translations"));
    }
    const std::unique_ptr<QTranslator> translator(QtTranslation::install(folders));
    QCOMPARE(translator != nullptr, where != "nowhere");

    QStringList shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        for (QAbstractButton *button : {box->button(QMessageBox::Ok), box->button(QMessageBox::Cancel)})
            shown << button->text() + (button->icon().isNull() ? "" : " with an icon");
        QTest::keyClick(box, Qt::Key(key));
    });
    const MessageBox::Answer answer = MessageBox::okCancel(nullptr, QStringLiteral("クラスを消去しますか。"));
    QCOMPARE(answer, key == Qt::Key_Return ? MessageBox::Ok : MessageBox::Cancel);
    QCOMPARE(shown, texts);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
