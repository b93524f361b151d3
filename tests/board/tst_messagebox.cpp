#include "board/MessageBox.h"
#include "board/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProxyStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <memory>

namespace {

// Like the desktops that put a tick and a cross on OK and Cancel.
class ButtonIconStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void clearConfirmation_data();
    void clearConfirmation();
};

void TestMessageBox::initTestCase()
{
    QApplication::setStyle(new ButtonIconStyle);
}

void TestMessageBox::clearConfirmation_data()
{
    QTest::addColumn<QString>("where"); // where qtbase_ja.qm is found
    QTest::addColumn<QStringList>("texts");

    const QStringList japanese{QStringLiteral("OK"), QStringLiteral("キャンセル")};
    QTest::newRow("Qt's translations folder") << "qt" << japanese;
    QTest::newRow("translations beside the program") << "beside" << japanese;
    QTest::newRow("nowhere: Qt's English") << "nowhere" << QStringList{"OK", "Cancel"};
}

// OK and Cancel of the clearing question: Qt's Japanese words, no icons.
void TestMessageBox::clearConfirmation()
{
    QFETCH(QString, where);
    QFETCH(QStringList, texts);

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
    bool icons = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QMessageBox::StandardButton which : {QMessageBox::Ok, QMessageBox::Cancel}) {
            shown << box->button(which)->text();
            icons = icons || !box->button(which)->icon().isNull();
        }
        box->button(QMessageBox::Cancel)->click();
    });
    const QString question = QStringLiteral("クラスを消去しますか。");
    QCOMPARE(MessageBox::okCancel(nullptr, question), MessageBox::Cancel);
    QCOMPARE(shown, texts);
    QVERIFY(!icons);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
