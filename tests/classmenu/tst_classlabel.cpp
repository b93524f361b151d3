#include "board/NamingMode.h"
#include "classmenu/ClassLabel.h"
#include "classmenu/ClassLists.h"

#include <QTest>

// The class label stored for a grade entry and a class entry of the dialog's
// lists in the naming mode of the moment (1 numbered, 0 lettered, and 2, what
// a cancelled clearing leaves, lettered too), and the mode a board reading it
// back takes (7: left as it was). The ideographic space and the ASCII hyphen
// are spelt by code point: look-alikes would hide a fault.
class TestClassLabel : public QObject
{
    Q_OBJECT
private slots:
    void compose_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<int>("classEntry"); // 0 the space, 1…9 the classes, 10 the blank one
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("readBack");

        const QString is(QChar(0x3000)), hy(QChar(0x2D));
        QTest::newRow("lettered １年 Ａ組") << 0 << "１年" << 1 << "１Ａ" + is << 0;
        QTest::newRow("numbered ２年 ９組") << 1 << "２年" << 9 << "２" + hy + "９" << 1;
        QTest::newRow("after a cancelled clearing ３年 Ｉ組") << 2 << "３年" << 9 << "３Ｉ" + is << 0;
        QTest::newRow("その他 with any class") << 1 << "その他" << 3 << "その他" << 7;
        QTest::newRow("numbered ＪＫ loses its class and reads as lettered") << 1 << "ＪＫ" << 2 << "ＪＫ" + hy << 0;
        QTest::newRow("the space entry stays a space") << 0 << "１年" << 0 << "１ " + is << 0;
    }

    void compose()
    {
        QFETCH(int, mode);
        QFETCH(QString, grade);
        QFETCH(int, classEntry);
        QFETCH(QString, label);
        QFETCH(int, readBack);

        QCOMPARE(ClassLabel::compose(mode, grade, ClassLists::classEntries(mode).at(classEntry)), label);
        QCOMPARE(NamingMode::afterText(label, 7), readBack);
        // The toggle entry leads to the other mode.
        QCOMPARE(ClassLists::toggledMode(mode), mode == 1 ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestClassLabel)
#include "tst_classlabel.moc"
