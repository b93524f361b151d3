#include "core/ClassLists.h"
#include "classmenu/ClassMenu.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QString IS(QChar(0x3000));
// exec() result of a dialog that the driver left open and the harness closed.
constexpr int LeftOpen = 42;

QListWidget *list(QDialog &d, int n)
{
    return d.findChild<QListWidget *>(QStringLiteral("List%1").arg(n));
}

QPoint centre(QListWidget *view, int row)
{
    view->scrollToItem(view->item(row));
    return view->visualItemRect(view->item(row)).center();
}

} // namespace

class TestClassMenu : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
    void lists();
};

void TestClassMenu::choose_data()
{
    QTest::addColumn<int>("mode");
    // "L:R" a click on row R of list L; "press", "drag", "release" the mouse on the toggle entry;
    // "OK", "Cancel" a click; other words are keys ("Num+Enter" the keypad's).
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<int>("modeAfter");

    const int ok = QDialog::Accepted, cancelled = QDialog::Rejected;
    const QString math = QStringLiteral("数学");
    // Passing through a list makes an entry current but selects nothing.
    QTest::newRow("numbered") << 1 << "1:2 2:2 3:7 OK" << ok << "３-２" << math << 1;
    // Labels are cut to three characters; a class has no say after ＪＫ or その他.
    QTest::newRow("lettered after a cancelled clearing") << 2 << "1:2 2:9 OK" << ok << "３Ｉ" + IS << "" << 2;
    QTest::newRow("numbered ＪＫ") << 1 << "1:5 2:2 OK" << ok << "ＪＫ-" << "" << 1;
    QTest::newRow("the space class") << 0 << "1:0 2:0 OK" << ok << "１ " + IS << "" << 0;
    // The toggle entry switches the classes and keeps grade and subject.
    QTest::newRow("toggled by a click") << 0 << "1:1 3:7 2:3 2:11 2:2 OK" << ok << "２-２" << math << 1;
    QTest::newRow("toggled by End") << 1 << "1:1 3:7 2:3 End 2:2 OK" << ok << "２Ｂ" + IS << math << 0;
    QTest::newRow("toggled twice") << 2 << "2:11 2:11 1:1 2:2 OK" << ok << "２Ｂ" + IS << "" << 0;
    // A shaky hand drags over the rebuilt list: one press toggles once.
    QTest::newRow("toggled by a press and drag") << 0 << "1:0 press drag drag drag release 2:2 OK" << ok << "１-２" << ""
                                                 << 1;
    QTest::newRow("toggled, then Cancel") << 0 << "2:11 1:0 2:1 3:1 Cancel" << cancelled << "" << "" << 1;
    // Enter presses the focused button, OK at opening; Esc does nothing.
    QTest::newRow("Return at opening") << 0 << "Return" << ok << IS + IS << "" << 0;
    QTest::newRow("keypad Enter at opening") << 0 << "Num+Enter" << ok << IS + IS << "" << 0;
    QTest::newRow("Return on Cancel") << 0 << "1:0 Tab Tab Tab Tab Return" << cancelled << "" << "" << 0;
    QTest::newRow("Return on List1") << 0 << "Tab Tab Return" << LeftOpen << "" << "" << 0;
    QTest::newRow("Esc on OK") << 0 << "Esc" << LeftOpen << "" << "" << 0;
    // The first arrow in a list selects the row it shows as current.
    QTest::newRow("Down") << 0 << "Tab Tab Down OK" << ok << "１" + IS + IS << "" << 0;
    QTest::newRow("Down Down") << 0 << "Tab Tab Down Down OK" << ok << "２" + IS + IS << "" << 0;
    QTest::newRow("Up") << 0 << "Tab Tab Up OK" << ok << "１" + IS + IS << "" << 0;
    QTest::newRow("Home") << 0 << "Tab Tab Home OK" << ok << "１" + IS + IS << "" << 0;
}

void TestClassMenu::choose()
{
    QFETCH(int, mode);
    QFETCH(QString, actions);
    QFETCH(int, result);
    QFETCH(QString, label);
    QFETCH(QString, subject);
    QFETCH(int, modeAfter);

    ClassMenu dialog(mode);
    // Driven once its event loop runs; what the actions leave open is closed
    // with LeftOpen, so a broken close path fails the test instead of hanging it.
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QWidget *toggle = list(dialog, 2)->viewport();
        const QPoint at = centre(list(dialog, 2), 11);
        for (const QString &action : actions.split(' ')) {
            if (action.contains(':'))
                QTest::mouseClick(list(dialog, action.left(1).toInt())->viewport(), Qt::LeftButton, {},
                                  centre(list(dialog, action.left(1).toInt()), action.mid(2).toInt()));
            else if (action == "press")
                QTest::mousePress(toggle, Qt::LeftButton, {}, at);
            else if (action == "release")
                QTest::mouseRelease(toggle, Qt::LeftButton, {}, at);
            else if (action == "drag")
                QTest::mouseMove(toggle, at + QPoint(1, 0));
            else if (action == "OK" || action == "Cancel")
                QTest::mouseClick(dialog.findChild<QPushButton *>(action == "OK" ? "OK_BT" : "Canel_BT"), Qt::LeftButton);
            else if (const QKeyCombination key = QKeySequence(action)[0]; key.key() != Qt::Key_unknown)
                QTest::keyClick(dialog.focusWidget(), key.key(), key.keyboardModifiers());
            else
                QFAIL(qPrintable(action));
        }
        if (dialog.isVisible())
            dialog.done(LeftOpen);
    });
    QCOMPARE(dialog.exec(), result);
    QCOMPARE(dialog.classLabel(), label);
    QCOMPARE(dialog.subject(), subject);
    QCOMPARE(dialog.namingMode(), modeAfter);
    QCOMPARE(list(dialog, 2)->item(1)->text(), ClassLists::classEntries(modeAfter).at(1)); // the classes shown
}

// A row is one line of the list's font, 24 pixels at 18 points: seven whole rows fill a list
// and every entry reads in full, also at the scale factors CMake runs this at. Then what a
// screen reader says of the entries whose text says nothing aloud: blanks and the arrow.
void TestClassMenu::lists()
{
    ClassMenu dialog(0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.grab().toImage().scaled(dialog.size()).pixelColor(100, 100), QColor(Qt::white));
    int left = 0; // the lists stand side by side, each whole inside the dialog
    for (int n = 1; n <= 3; ++n) {
        QListWidget *view = list(dialog, n);
        QVERIFY(view->x() > left && dialog.rect().contains(view->geometry()));
        left = view->geometry().right();
        QCOMPARE(view->verticalScrollBar()->isVisible(), view->count() > 7);
        QVERIFY(view->viewport()->height() >= 7 * 24);

        // Each entry's ink as drawn, on a selected row too: "その他", not "そ…".
        view->setCurrentRow(0);
        const QImage image = view->viewport()->grab().toImage().scaled(view->viewport()->size());
        for (int row = 0; row < 7; ++row) {
            const QRect rect = view->visualItemRect(view->item(row));
            QCOMPARE(rect.height(), 24);
            const QColor background = image.pixelColor(rect.right() - 1, rect.center().y());
            QCOMPARE(background == view->palette().color(QPalette::Highlight), row == 0);
            int right = rect.left() - 1; // the ink's right edge
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x)
                    if (std::abs(image.pixelColor(x, y).lightness() - background.lightness()) > 100)
                        right = std::max(right, x);
            const QString text = view->item(row)->text().trimmed();
            const int ink = right - rect.left() + 1;
            QVERIFY2(text.isEmpty() ? ink == 0 : ink >= QFontMetrics(view->font()).horizontalAdvance(text) - 8,
                     qPrintable(text));
        }
    }
    for (const auto &[name, row, spoken] : {std::tuple{"List1", 3, "空白"}, {"List2", 0, "空白"}, {"List2", 10, "空白"},
                                             {"List2", 11, "数字と英字の切り替え"}, {"List3", 0, "空白"}}) {
        QAccessibleInterface *view = QAccessible::queryAccessibleInterface(dialog.findChild<QWidget *>(name));
        QCOMPARE(view->child(row)->text(QAccessible::Name), QString(spoken));
    }
}

QTEST_MAIN(TestClassMenu)
#include "tst_classmenu.moc"
