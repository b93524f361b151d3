#include "classmenu/ClassLists.h"
#include "classmenu/ClassMenu.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString IS(QChar(0x3000));
const QString Hyphen(QChar(0x2D));
const QString None = QStringLiteral("<none>");
const QString Suugaku = QString::fromUtf16(u"\u6570\u5B66");   // 数学
QString digit(int n) { return QString(QChar(0xFF10 + n)); }
QString letter(int i) { return QString(QChar(0xFF21 + i)); }

// exec() result of a dialog that the driver left open and the harness closed.
constexpr int LeftOpen = 42;

// Shows the dialog modally and hands it to drive once its event loop runs.
// Whatever drive leaves open is closed with LeftOpen, so a broken close
// path fails the test instead of hanging it.
int runModal(ClassMenu &dialog, const std::function<void(ClassMenu &)> &drive)
{
    QTimer::singleShot(0, &dialog, [&dialog, drive] {
        if (QApplication::activeModalWidget() == &dialog) {
            dialog.activateWindow();
            (void)QTest::qWaitForWindowActive(&dialog);
            drive(dialog);
        }
        if (dialog.isVisible())
            dialog.done(LeftOpen);
    });
    return dialog.exec();
}

QListWidget *list(ClassMenu &d, const char *name) { return d.findChild<QListWidget *>(QLatin1String(name)); }
QPushButton *button(ClassMenu &d, const char *name) { return d.findChild<QPushButton *>(QLatin1String(name)); }

void clickRow(QListWidget *view, int row)
{
    view->scrollToItem(view->item(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
}

void toggle(QListWidget *classes, bool byMouse)
{
    if (byMouse)
        return clickRow(classes, 11);
    // Without a current entry a list's first key press lands on its first
    // entry whatever the key; Home makes End's target certain.
    classes->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(classes, Qt::Key_Home);
    QTest::keyClick(classes, Qt::Key_End);
}

QStringList texts(const QListWidget *view)
{
    QStringList result;
    for (int i = 0; i < view->count(); ++i)
        result << view->item(i)->text();
    return result;
}

QString focusName(const ClassMenu &d)
{
    return d.focusWidget() ? d.focusWidget()->objectName() : None;
}

QString selected(const QListWidget *view)
{
    const auto items = view->selectedItems();
    return items.isEmpty() ? None : items.first()->text();
}

} // namespace

class TestClassMenu : public QObject
{
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void toggle_data();
    void toggle();
    void toggleThenCancelKeepsMode();
    void pressAndDragOnToggleTogglesOnce();
    void ok_data();
    void ok();
    void keys_data();
    void keys();
    void closingTheWindowChoosesNothing();
    void tabOrder();

    void listRows_data();
    void listRows();
    void firstArrowSelects_data();
    void firstArrowSelects();
    void spokenNames_data();
    void spokenNames();
    void buttonsShowKeyboardFocus();
};

void TestClassMenu::opening_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("listedMode");

    QTest::newRow("lettered") << 0 << 0;
    QTest::newRow("numbered") << 1 << 1;
    QTest::newRow("after cancelled clearing") << 2 << 0;
}

void TestClassMenu::opening()
{
    QFETCH(int, mode);
    QFETCH(int, listedMode);

    ClassMenu dialog(mode);
    QStringList classes, selections;
    QString focused;
    runModal(dialog, [&](ClassMenu &d) {
        classes = texts(list(d, "List2"));
        for (const char *name : {"List1", "List2", "List3"})
            selections << selected(list(d, name));
        focused = focusName(d);
        d.close();
    });

    QCOMPARE(classes, ClassLists::classEntries(listedMode));
    QCOMPARE(selections, QStringList(3, None));
    QCOMPARE(focused, QStringLiteral("OK_BT"));
}

void TestClassMenu::toggle_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<int>("toggles");
    QTest::addColumn<int>("finalMode");
    QTest::addColumn<QString>("label");   // ２年 and the second class, chosen after the toggles

    const QString numbered = digit(2) + Hyphen + digit(2);
    const QString lettered = digit(2) + letter(1) + IS;
    QTest::newRow("0 mouse once") << 0 << true << 1 << 1 << numbered;
    QTest::newRow("1 keyboard once") << 1 << false << 1 << 0 << lettered;
    QTest::newRow("2 keyboard once") << 2 << false << 1 << 1 << numbered;
    QTest::newRow("2 mouse twice") << 2 << true << 2 << 0 << lettered;
}

void TestClassMenu::toggle()
{
    QFETCH(int, mode);
    QFETCH(bool, byMouse);
    QFETCH(int, toggles);
    QFETCH(int, finalMode);
    QFETCH(QString, label);

    ClassMenu dialog(mode);
    QList<QStringList> shown;   // per toggle: class list, then grade, class, subject selections
    const int result = runModal(dialog, [&](ClassMenu &d) {
        clickRow(list(d, "List1"), 1);
        clickRow(list(d, "List3"), 7);
        clickRow(list(d, "List2"), 3);
        for (int i = 0; i < toggles; ++i) {
            ::toggle(list(d, "List2"), byMouse);
            shown << texts(list(d, "List2"))
                  << QStringList{selected(list(d, "List1")), selected(list(d, "List2")),
                                 selected(list(d, "List3"))};
        }
        clickRow(list(d, "List2"), 2);
        QTest::mouseClick(button(d, "OK_BT"), Qt::LeftButton);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(shown.size(), 2 * toggles);
    for (int i = 0; i < toggles; ++i) {
        const bool numbered = (mode == 1) == (i % 2 == 1);   // 2 counts as lettered
        QCOMPARE(shown.at(2 * i), ClassLists::classEntries(numbered ? 1 : 0));
        QCOMPARE(shown.at(2 * i + 1), (QStringList{digit(2) + QChar(0x5E74), None, Suugaku}));
    }
    QCOMPARE(dialog.namingMode(), finalMode);
    QCOMPARE(dialog.classLabel(), label);
    QCOMPARE(dialog.subject(), Suugaku);
}

void TestClassMenu::toggleThenCancelKeepsMode()
{
    ClassMenu first(0);
    const int result = runModal(first, [](ClassMenu &d) {
        ::toggle(list(d, "List2"), true);
        clickRow(list(d, "List1"), 0);
        clickRow(list(d, "List2"), 1);
        clickRow(list(d, "List3"), 1);
        QTest::mouseClick(button(d, "Canel_BT"), Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(first.classLabel(), QString());
    QCOMPARE(first.subject(), QString());
    QCOMPARE(first.namingMode(), 1);

    // The board hands the toggled flag to the next opening.
    ClassMenu second(first.namingMode());
    QStringList classes;
    runModal(second, [&](ClassMenu &d) {
        classes = texts(list(d, "List2"));
        d.close();
    });
    QCOMPARE(classes, ClassLists::classEntries(1));
}

void TestClassMenu::pressAndDragOnToggleTogglesOnce()
{
    ClassMenu dialog(0);
    QList<int> modes;
    runModal(dialog, [&](ClassMenu &d) {
        QWidget *viewport = list(d, "List2")->viewport();
        list(d, "List2")->scrollToItem(list(d, "List2")->item(11));
        const QPoint at = list(d, "List2")->visualItemRect(list(d, "List2")->item(11)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        modes << d.namingMode();
        // A shaky hand: moves with the button held over the rebuilt list.
        for (int dx : {1, 2, -1}) {
            const QPointF to(at + QPoint(dx, 0));
            QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
            modes << d.namingMode();
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        ::toggle(list(d, "List2"), true);   // the next press toggles again
        modes << d.namingMode();
        d.close();
    });

    QCOMPARE(modes, (QList<int>{1, 1, 1, 1, 0}));
}

void TestClassMenu::ok_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("rows");   // grade, class, subject; -1 for none
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("subject");

    const QString iinkai = QString::fromUtf16(u"\u59D4\u54E1\u4F1A");
    // The label rules themselves are tested on their own; here, what the
    // dialog feeds them: selections only, never a merely current entry.
    QTest::newRow("nothing, numbered") << 1 << QList<int>{-1, -1, -1} << Hyphen + IS + IS << QString();
    QTest::newRow("only subject") << 0 << QList<int>{-1, -1, 2} << IS + IS << iinkai;
    QTest::newRow("3nen 2 suugaku") << 1 << QList<int>{2, 2, 7} << digit(3) + Hyphen + digit(2) << Suugaku;
}

void TestClassMenu::ok()
{
    QFETCH(int, mode);
    QFETCH(QList<int>, rows);
    QFETCH(QString, label);
    QFETCH(QString, subject);

    ClassMenu dialog(mode);
    const int result = runModal(dialog, [&](ClassMenu &d) {
        const char *names[] = {"List1", "List2", "List3"};
        for (int i = 0; i < 3; ++i) {
            if (rows.at(i) >= 0)
                clickRow(list(d, names[i]), rows.at(i));
        }
        // Passing through a list gives it a current entry but selects nothing.
        button(d, "OK_BT")->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QTest::mouseClick(button(d, "OK_BT"), Qt::LeftButton);
    });

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.classLabel(), label);
    QCOMPARE(dialog.subject(), subject);
    QCOMPARE(dialog.namingMode(), mode);
}

void TestClassMenu::keys_data()
{
    QTest::addColumn<int>("tabs");         // from OK_BT: 1 Canel_BT, 2..4 the lists
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");       // Rejected and no label: the key did nothing

    const int enter = Qt::Key_Return, keypadEnter = Qt::Key_Enter, esc = Qt::Key_Escape;
    QTest::newRow("Enter at opening presses OK") << 0 << enter << int(QDialog::Accepted);
    QTest::newRow("keypad Enter at opening") << 0 << keypadEnter << int(QDialog::Accepted);
    QTest::newRow("Enter on Cancel") << 1 << enter << int(QDialog::Rejected);
    QTest::newRow("Enter on List1") << 2 << enter << int(LeftOpen);
    QTest::newRow("keypad Enter on List3") << 4 << keypadEnter << int(LeftOpen);
    QTest::newRow("Esc on OK") << 0 << esc << int(LeftOpen);
    QTest::newRow("Esc on List2") << 3 << esc << int(LeftOpen);
}

void TestClassMenu::keys()
{
    QFETCH(int, tabs);
    QFETCH(int, key);
    QFETCH(int, result);

    ClassMenu dialog(0);
    const int actual = runModal(dialog, [&](ClassMenu &d) {
        clickRow(list(d, "List1"), 0);
        button(d, "OK_BT")->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        QTest::keyClick(d.focusWidget(), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    });

    QCOMPARE(actual, result);
    QCOMPARE(dialog.classLabel(), result == QDialog::Accepted ? digit(1) + IS + IS : QString());
}

void TestClassMenu::closingTheWindowChoosesNothing()
{
    ClassMenu dialog(0);
    const int result = runModal(dialog, [](ClassMenu &d) {
        ::toggle(list(d, "List2"), true);
        clickRow(list(d, "List1"), 1);
        clickRow(list(d, "List2"), 1);
        clickRow(list(d, "List3"), 3);
        d.close();   // what the title bar's close box does
    });

    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(dialog.classLabel(), QString());
    QCOMPARE(dialog.subject(), QString());
    QCOMPARE(dialog.namingMode(), 1);
}

void TestClassMenu::tabOrder()
{
    ClassMenu dialog(0);
    QStringList order;
    runModal(dialog, [&](ClassMenu &d) {
        for (int i = 0; i < 6; ++i) {
            order << focusName(d);
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        }
        d.close();
    });

    QCOMPARE(order, (QStringList{QStringLiteral("OK_BT"), QStringLiteral("Canel_BT"),
                                 QStringLiteral("List1"), QStringLiteral("List2"),
                                 QStringLiteral("List3"), QStringLiteral("OK_BT")}));
}

void TestClassMenu::listRows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("scrolls");

    QTest::newRow("grades") << "List1" << QRect(8, 8, 81, 172) << false;
    QTest::newRow("classes") << "List2" << QRect(112, 8, 73, 172) << true;
    QTest::newRow("subjects") << "List3" << QRect(208, 8, 105, 172) << true;
}

// A row is one line of the list's font, 24 pixels at 18 points: seven whole
// rows fill a list and every entry reads in full. Also registered to run at
// scale factors 1.5 and 2.
void TestClassMenu::listRows()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(bool, scrolls);

    ClassMenu dialog(0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *view = dialog.findChild<QListWidget *>(name);
    QCOMPARE(view->geometry(), geometry);
    QCOMPARE(view->verticalScrollBar()->isVisible(), scrolls);
    const int shown = view->viewport()->height(); // seven whole rows
    QVERIFY2(shown >= 7 * 24, qPrintable(QString::number(shown)));

    // Each entry's ink as drawn, on a selected row too: as wide as its text,
    // "その他" and not "そ…".
    view->setCurrentRow(0);
    const QImage image = view->viewport()->grab().toImage().scaled(view->viewport()->size());
    const QFontMetrics metrics(view->font());
    for (int row = 0; row < view->count(); ++row) {
        const QRect rect = view->visualItemRect(view->item(row));
        QCOMPARE(rect.height(), 24);
        if (rect.bottom() >= image.height())
            continue; // below what the list shows
        const QColor background = image.pixelColor(rect.right() - 1, rect.center().y());
        QCOMPARE(background == view->palette().color(QPalette::Highlight), row == 0);
        int left = rect.right(), right = rect.left();
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.lightness() - background.lightness()) > 100) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        const QString text = view->item(row)->text().trimmed();
        const int ink = std::max(0, right - left + 1);
        QVERIFY2(text.isEmpty() ? ink == 0 : ink >= metrics.horizontalAdvance(text) - 10, qPrintable(text));
    }
}

void TestClassMenu::firstArrowSelects_data()
{
    QTest::addColumn<int>("tabs");   // from OK_BT: 2 grades, 4 subjects
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("selection");

    const QString nen(QChar(0x5E74));
    QTest::newRow("down") << 2 << QList<int>{Qt::Key_Down} << digit(1) + nen;
    QTest::newRow("down down") << 2 << QList<int>{Qt::Key_Down, Qt::Key_Down} << digit(2) + nen;
    QTest::newRow("up") << 2 << QList<int>{Qt::Key_Up} << digit(1) + nen;
    QTest::newRow("home") << 2 << QList<int>{Qt::Key_Home} << digit(1) + nen;
    QTest::newRow("down onto a blank subject") << 4 << QList<int>{Qt::Key_Down} << QString();
}

// Tab into a list, and the first arrow selects the row the list shows as
// current, the first: nothing is skipped.
void TestClassMenu::firstArrowSelects()
{
    QFETCH(int, tabs);
    QFETCH(QList<int>, keys);
    QFETCH(QString, selection);

    ClassMenu dialog(0);
    QString shown;
    runModal(dialog, [&](ClassMenu &d) {
        for (int i = 0; i < tabs; ++i)
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        for (int key : keys)
            QTest::keyClick(d.focusWidget(), Qt::Key(key));
        shown = selected(qobject_cast<QListWidget *>(d.focusWidget()));
        d.close();
    });
    QCOMPARE(shown, selection);
}

void TestClassMenu::spokenNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("spoken");

    const QString blank = QStringLiteral("空白");
    QTest::newRow("blank grade") << "List1" << 3 << blank;
    QTest::newRow("grade") << "List1" << 6 << QStringLiteral("その他");
    QTest::newRow("space class") << "List2" << 0 << blank;
    QTest::newRow("class") << "List2" << 1 << letter(0) + QStringLiteral("組");
    QTest::newRow("blank class") << "List2" << 10 << blank;
    QTest::newRow("toggle") << "List2" << 11 << QStringLiteral("数字と英字の切り替え");
    QTest::newRow("blank subject") << "List3" << 0 << blank;
}

// What a screen reader says of an entry; what is drawn stays the same.
void TestClassMenu::spokenNames()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(QString, spoken);

    ClassMenu dialog(0);
    QListWidget *view = list(dialog, qPrintable(name));
    QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(view)->child(row);
    QVERIFY(entry);
    QCOMPARE(entry->role(), QAccessible::ListItem);
    QCOMPARE(entry->text(QAccessible::Name), spoken);
}

// OK and Cancel show the keyboard focus as a frame, as the board's buttons do.
void TestClassMenu::buttonsShowKeyboardFocus()
{
    ClassMenu dialog(0);
    QList<int> frames;
    const auto frame = [&frames](QWidget *focused) {
        const QImage image = focused->grab().toImage();
        const QColor highlight = focused->palette().color(QPalette::Active, QPalette::Highlight);
        int width = 0;
        while (image.pixelColor(1 + width, image.height() / 2) == highlight)
            ++width;
        frames << width;
    };
    runModal(dialog, [&](ClassMenu &d) {
        frame(d.focusWidget()); // OK, given the focus at opening
        QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        frame(d.focusWidget()); // Cancel, by Tab
        QTest::mousePress(button(d, "OK_BT"), Qt::LeftButton);
        frame(d.focusWidget()); // OK, by the mouse
        QTest::mouseRelease(button(d, "OK_BT"), Qt::LeftButton);
    });
    QCOMPARE(frames, (QList<int>{0, 3, 0}));
}

QTEST_MAIN(TestClassMenu)
#include "tst_classmenu.moc"
