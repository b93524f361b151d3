#include "core/ClassLists.h"
#include "classmenu/ClassMenu.h"
#include "../support/ModalDriver.h"

namespace {

const QString IS(QChar(0x3000));
// exec() result of a dialog that the actions left open and the test closed.
constexpr int LeftOpen = 42;

QListWidget *list(QDialog &d, int n)
{
    return d.findChild<QListWidget *>(QStringLiteral("List%1").arg(n));
}

// One thing the user does in the dialog, as a user does it.
using Act = std::function<void(QDialog &)>;
using Acts = QList<Act>;
Act row(int list, int row) { return [=](QDialog &d) { ModalDriver::clickRow(d, list, row); }; }
Act key(QKeyCombination key) { return [=](QDialog &d) { QTest::keyClick(d.focusWidget(), key.key(), key.keyboardModifiers()); }; }
Act button(const char *name) { return [=](QDialog &d) { QTest::mouseClick(d.findChild<QPushButton *>(name), Qt::LeftButton); }; }
// The mouse on the toggle entry: pressed, moved by a pixel, released.
Act onToggle(void (*mouse)(QWidget *, Qt::MouseButton, Qt::KeyboardModifiers, QPoint, int))
{
    return [=](QDialog &d) {
        list(d, 2)->scrollToItem(list(d, 2)->item(11));
        mouse(list(d, 2)->viewport(), Qt::LeftButton, {}, list(d, 2)->visualItemRect(list(d, 2)->item(11)).center(), -1);
    };
}
const Act ok = button("OK_BT"), cancel = button("Canel_BT"), tab = key(Qt::Key_Tab), down = key(Qt::Key_Down);
const Act press = onToggle(QTest::mousePress), release = onToggle(QTest::mouseRelease);
const Act drag = onToggle([](QWidget *w, Qt::MouseButton, Qt::KeyboardModifiers, QPoint at, int) {
    QTest::mouseMove(w, at + QPoint(1, 0));
});

} // namespace

class TestClassMenu : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
};

void TestClassMenu::choose_data()
{
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<Acts>("acts");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<NamingMode>("modeAfter");

    const int accepted = QDialog::Accepted, cancelled = QDialog::Rejected;
    const NamingMode lettered = NamingMode::Lettered, numbered = NamingMode::Numbered,
                     grayed = NamingMode::LetteredAfterCancelledClearing;
    const QString math = QStringLiteral("数学"), none;
    // Passing through a list makes an entry current but selects nothing.
    QTest::newRow("numbered") << numbered << Acts{row(1, 2), row(2, 2), row(3, 7), ok} << accepted << "３-２" << math << numbered;
    // Labels are cut to three characters; a class has no say after ＪＫ or その他.
    QTest::newRow("lettered, grayed") << grayed << Acts{row(1, 2), row(2, 9), ok} << accepted << "３Ｉ" + IS << none << grayed;
    QTest::newRow("numbered ＪＫ") << numbered << Acts{row(1, 5), row(2, 2), ok} << accepted << "ＪＫ-" << none << numbered;
    QTest::newRow("the space class") << lettered << Acts{row(1, 0), row(2, 0), ok} << accepted << "１ " + IS << none << lettered;
    // The toggle entry switches the classes and keeps grade and subject.
    QTest::newRow("toggled by a click") << lettered << Acts{row(1, 1), row(3, 7), row(2, 3), row(2, 11), row(2, 2), ok}
                                        << accepted << "２-２" << math << numbered;
    QTest::newRow("toggled by End") << numbered << Acts{row(1, 1), row(3, 7), row(2, 3), key(Qt::Key_End), row(2, 2), ok}
                                    << accepted << "２Ｂ" + IS << math << lettered;
    QTest::newRow("toggled twice") << grayed << Acts{row(2, 11), row(2, 11), row(1, 1), row(2, 2), ok} << accepted
                                   << "２Ｂ" + IS << none << lettered;
    // A shaky hand drags over the rebuilt list: one press toggles once.
    QTest::newRow("toggled by a press and drag") << lettered << Acts{row(1, 0), press, drag, drag, drag, release, row(2, 2), ok}
                                                 << accepted << "１-２" << none << numbered;
    QTest::newRow("toggled, then Cancel") << lettered << Acts{row(2, 11), row(1, 0), row(2, 1), row(3, 1), cancel}
                                          << cancelled << none << none << numbered;
    // Enter presses the focused button, OK at opening; Esc does nothing.
    const Act enter = key(Qt::Key_Return);
    QTest::newRow("Return at opening") << lettered << Acts{enter} << accepted << IS + IS << none << lettered;
    QTest::newRow("keypad Enter at opening") << lettered << Acts{key(Qt::KeypadModifier | Qt::Key_Enter)} << accepted
                                             << IS + IS << none << lettered;
    QTest::newRow("Return on Cancel") << lettered << Acts{row(1, 0), tab, tab, tab, tab, enter} << cancelled << none << none << lettered;
    QTest::newRow("Return on List1") << lettered << Acts{tab, tab, enter} << LeftOpen << none << none << lettered;
    QTest::newRow("Esc on OK") << lettered << Acts{key(Qt::Key_Escape)} << LeftOpen << none << none << lettered;
    // The first arrow in a list selects the row it shows as current.
    QTest::newRow("Down") << lettered << Acts{tab, tab, down, ok} << accepted << "１" + IS + IS << none << lettered;
    QTest::newRow("Down after a toggle") << lettered << Acts{row(1, 1), row(2, 11), down, ok} << accepted << "２- " << none << numbered;
    QTest::newRow("Down Down") << lettered << Acts{tab, tab, down, down, ok} << accepted << "２" + IS + IS << none << lettered;
}

void TestClassMenu::choose()
{
    QFETCH(NamingMode, mode);
    QFETCH(Acts, acts);
    QFETCH(int, result);
    QFETCH(QString, label);
    QFETCH(QString, subject);
    QFETCH(NamingMode, modeAfter);

    ClassMenu dialog(mode);
    ModalDriver driver;
    // What the acts leave open is closed with LeftOpen, so that a broken
    // close path fails the test instead of hanging it.
    driver.answerNext([&](QDialog &) {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        for (const Act &act : acts)
            act(dialog);
        if (dialog.isVisible())
            dialog.done(LeftOpen);
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(driver.takeAsked(), QStringList{"ClassMenu"});
    QCOMPARE(dialog.classLabel(), label);
    QCOMPARE(dialog.subject(), subject);
    QCOMPARE(dialog.namingMode(), modeAfter);
    QCOMPARE(list(dialog, 2)->item(1)->text(), ClassLists::classEntries(modeAfter).at(1)); // the classes shown
    for (int n = 1; n <= 3; ++n) // a screen reader names each list
        QVERIFY(!QAccessible::queryAccessibleInterface(list(dialog, n))->text(QAccessible::Name).isEmpty());
}

QTEST_MAIN(TestClassMenu)
#include "tst_classmenu.moc"
