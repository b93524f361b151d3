#include "classmenu/ClassLists.h"
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

// Shows the dialog modally and hands it to drive once its event loop runs.
// Whatever drive leaves open is closed with LeftOpen, so a broken close
// path fails the test instead of hanging it.
int runModal(ClassMenu &dialog, const std::function<void(ClassMenu &)> &drive)
{
    QTimer::singleShot(0, &dialog, [&dialog, drive] {
        dialog.activateWindow();
        (void)QTest::qWaitForWindowActive(&dialog);
        drive(dialog);
        if (dialog.isVisible())
            dialog.done(LeftOpen);
    });
    return dialog.exec();
}

QPoint rowCentre(QListWidget *view, int row)
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
    void pressAndDragOnToggleTogglesOnce();
    void listRows();
    void spokenNames_data();
    void spokenNames();
};

void TestClassMenu::choose_data()
{
    QTest::addColumn<int>("mode");
    // "L:R" a click on row R of list L; "OK", "Cancel" a click; "close" the
    // window's close box; other words are keys pressed where the focus is.
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<int>("modeAfter");

    const int ok = QDialog::Accepted, cancelled = QDialog::Rejected;
    const QString math = QStringLiteral("数学");
    // Passing through a list makes an entry current but selects nothing.
    QTest::newRow("nothing chosen, lettered") << 0 << "Tab Tab Tab Tab Tab OK" << ok << IS + IS << "" << 0;
    QTest::newRow("nothing chosen, numbered") << 1 << "OK" << ok << "-" + IS + IS << "" << 1;
    QTest::newRow("numbered") << 1 << "1:2 2:2 3:7 OK" << ok << "３-２" << math << 1;
    QTest::newRow("lettered after a cancelled clearing") << 2 << "1:2 2:3 3:7 OK" << ok << "３Ｃ" + IS << math << 2;
    // The toggle entry switches the classes and keeps grade and subject.
    QTest::newRow("toggled by a click") << 0 << "1:1 3:7 2:3 2:11 2:2 OK" << ok << "２-２" << math << 1;
    QTest::newRow("toggled by End") << 1 << "1:1 3:7 2:3 End 2:2 OK" << ok << "２Ｂ" + IS << math << 0;
    QTest::newRow("toggled twice") << 2 << "2:11 2:11 1:1 2:2 OK" << ok << "２Ｂ" + IS << "" << 0;
    QTest::newRow("toggled, then Cancel") << 0 << "2:11 1:0 2:1 3:1 Cancel" << cancelled << "" << "" << 1;
    QTest::newRow("toggled, then the close box") << 0 << "2:11 1:1 2:1 3:3 close" << cancelled << "" << "" << 1;
    // Enter presses the focused button, OK at opening; Esc does nothing.
    QTest::newRow("Return at opening") << 0 << "Return" << ok << IS + IS << "" << 0;
    QTest::newRow("keypad Enter at opening") << 0 << "Enter" << ok << IS + IS << "" << 0;
    QTest::newRow("Return on Cancel") << 0 << "1:0 Tab Tab Tab Tab Return" << cancelled << "" << "" << 0;
    QTest::newRow("Return on List1") << 0 << "Tab Tab Return" << LeftOpen << "" << "" << 0;
    QTest::newRow("keypad Enter on List3") << 0 << "Tab Tab Tab Tab Enter" << LeftOpen << "" << "" << 0;
    QTest::newRow("Esc on OK") << 0 << "Esc" << LeftOpen << "" << "" << 0;
    QTest::newRow("Esc on List2") << 0 << "Tab Tab Tab Esc" << LeftOpen << "" << "" << 0;
    QTest::newRow("Tab from the subjects to OK") << 0 << "Tab Tab Tab Tab Tab Return" << ok << IS + IS << "" << 0;
    // The first arrow in a list selects the row it shows as current.
    QTest::newRow("Down") << 0 << "Tab Tab Down OK" << ok << "１" + IS + IS << "" << 0;
    QTest::newRow("Down Down") << 0 << "Tab Tab Down Down OK" << ok << "２" + IS + IS << "" << 0;
    QTest::newRow("Up") << 0 << "Tab Tab Up OK" << ok << "１" + IS + IS << "" << 0;
    QTest::newRow("Home") << 0 << "Tab Tab Home OK" << ok << "１" + IS + IS << "" << 0;
    QTest::newRow("End") << 0 << "Tab Tab End OK" << ok << "その他" << "" << 0;
    QTest::newRow("Down Down on subjects") << 0 << "Tab Tab Tab Tab Down Down OK" << ok << IS + IS << "技術" << 0;
}

void TestClassMenu::choose()
{
    QFETCH(int, mode);
    QFETCH(QString, actions);
    QFETCH(int, result);
    QFETCH(QString, label);
    QFETCH(QString, subject);
    QFETCH(int, modeAfter);

    const QMap<QString, Qt::Key> keys{{"Tab", Qt::Key_Tab}, {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter},
                                      {"Esc", Qt::Key_Escape}, {"Down", Qt::Key_Down}, {"Up", Qt::Key_Up},
                                      {"Home", Qt::Key_Home}, {"End", Qt::Key_End}};
    ClassMenu dialog(mode);
    QCOMPARE(runModal(dialog, [&](ClassMenu &d) {
        for (const QString &action : actions.split(' ')) {
            if (action.contains(':')) {
                QListWidget *view = list(d, action.left(1).toInt());
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rowCentre(view, action.mid(2).toInt()));
            } else if (keys.contains(action)) {
                QTest::keyClick(d.focusWidget(), keys[action], action == "Enter" ? Qt::KeypadModifier : Qt::NoModifier);
            } else if (action == "close") {
                d.close();
            } else {
                QTest::mouseClick(d.findChild<QPushButton *>(action == "OK" ? "OK_BT" : "Canel_BT"), Qt::LeftButton);
            }
        }
    }), result);
    QCOMPARE(dialog.classLabel(), label);
    QCOMPARE(dialog.subject(), subject);
    QCOMPARE(dialog.namingMode(), modeAfter);
    QStringList classes;
    for (int row = 0; row < list(dialog, 2)->count(); ++row)
        classes << list(dialog, 2)->item(row)->text();
    QCOMPARE(classes, ClassLists::classEntries(modeAfter));
}

void TestClassMenu::pressAndDragOnToggleTogglesOnce()
{
    ClassMenu dialog(0);
    QList<int> modes;
    runModal(dialog, [&](ClassMenu &d) {
        QWidget *viewport = list(d, 2)->viewport();
        const QPoint at = rowCentre(list(d, 2), 11);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        // A shaky hand: moves with the button held over the rebuilt list.
        for (const QPointF to : {at + QPoint(1, 0), at + QPoint(2, 0), at - QPoint(1, 0)}) {
            QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(viewport, &move);
            modes << d.namingMode();
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at); // the next press toggles again
        modes << d.namingMode();
    });
    QCOMPARE(modes, (QList<int>{1, 1, 1, 0}));
}

// A row is one line of the list's font, 24 pixels at 18 points: seven whole
// rows fill a list and every entry reads in full. Also registered to run at
// scale factors 1.5 and 2.
void TestClassMenu::listRows()
{
    ClassMenu dialog(0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(324, 241));
    QCOMPARE(dialog.grab().toImage().scaled(dialog.size()).pixelColor(100, 100), QColor(Qt::white));
    const QRect geometries[] = {QRect(8, 8, 81, 172), QRect(112, 8, 73, 172), QRect(208, 8, 105, 172)};
    for (int n = 1; n <= 3; ++n) {
        QListWidget *view = list(dialog, n);
        QCOMPARE(view->geometry(), geometries[n - 1]);
        QCOMPARE(view->verticalScrollBar()->isVisible(), view->count() > 7);
        QVERIFY(view->viewport()->height() >= 7 * 24);

        // Each entry's ink as drawn, on a selected row too: as wide as its
        // text, "その他" and not "そ…".
        view->setCurrentRow(0);
        const QImage image = view->viewport()->grab().toImage().scaled(view->viewport()->size());
        for (int row = 0; row < 7; ++row) {
            const QRect rect = view->visualItemRect(view->item(row));
            QCOMPARE(rect.height(), 24);
            const QColor background = image.pixelColor(rect.right() - 1, rect.center().y());
            QCOMPARE(background == view->palette().color(QPalette::Highlight), row == 0);
            int left = rect.right(), right = rect.left();
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    if (std::abs(image.pixelColor(x, y).lightness() - background.lightness()) > 100)
                        left = std::min(left, x), right = std::max(right, x);
                }
            }
            const QString text = view->item(row)->text().trimmed();
            const int ink = std::max(0, right - left + 1);
            QVERIFY2(text.isEmpty() ? ink == 0 : ink >= QFontMetrics(view->font()).horizontalAdvance(text) - 10,
                     qPrintable(text));
        }
    }
}

void TestClassMenu::spokenNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row"); // -1: the control itself
    QTest::addColumn<QString>("spoken");

    const QString blank = QStringLiteral("空白");
    QTest::newRow("grades") << "List1" << -1 << QStringLiteral("学年");
    QTest::newRow("classes") << "List2" << -1 << QStringLiteral("組");
    QTest::newRow("subjects") << "List3" << -1 << QStringLiteral("教科");
    QTest::newRow("OK") << "OK_BT" << -1 << QStringLiteral("OK　予約する");
    QTest::newRow("Cancel") << "Canel_BT" << -1 << QStringLiteral("キャンセル");
    QTest::newRow("blank grade") << "List1" << 3 << blank;
    QTest::newRow("grade") << "List1" << 6 << QStringLiteral("その他");
    QTest::newRow("space class") << "List2" << 0 << blank;
    QTest::newRow("blank class") << "List2" << 10 << blank;
    QTest::newRow("toggle") << "List2" << 11 << QStringLiteral("数字と英字の切り替え");
    QTest::newRow("blank subject") << "List3" << 0 << blank;
}

// What a screen reader says of a control or an entry.
void TestClassMenu::spokenNames()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(QString, spoken);

    ClassMenu dialog(0);
    QAccessibleInterface *control = QAccessible::queryAccessibleInterface(dialog.findChild<QWidget *>(name));
    QAccessibleInterface *said = row < 0 ? control : control->child(row);
    QVERIFY(said);
    QCOMPARE(said->text(QAccessible::Name), spoken);
}

QTEST_MAIN(TestClassMenu)
#include "tst_classmenu.moc"
