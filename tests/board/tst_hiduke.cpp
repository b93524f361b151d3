#include "board/BoardLayout.h"
#include "board/Hiduke.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Room = QStringLiteral("理科室");

QPushButton *slot(QWidget &board, int p)
{
    return board.findChild<QPushButton *>(QStringLiteral("PCclass_%1").arg(p));
}

QString labelText(QWidget &board, const QString &name)
{
    auto *label = board.findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<missing %1>").arg(name);
}

} // namespace

class TestHiduke : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void slotGrid_data();
    void slotGrid();
    void everyPlacedControlExists();
    void fontsAreJapanese_data();
    void fontsAreJapanese();
    void focusOrder();

    void loadShowsBookings();
    void weekButtons();
    void unusableFileIsNotAnEmptyBoard();
    void doubleClick_data();
    void doubleClick();

private:
    std::unique_ptr<Hiduke> makeBoard(QDate today);
    void writeBookings(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHiduke::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestHiduke::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<Hiduke> TestHiduke::makeBoard(QDate today)
{
    BoardEnvironment environment;
    environment.today = [today] { return today; };
    const QString folder = m_dir->path();
    environment.location = [folder] { return RoomLocation{folder, Room}; };
    return std::make_unique<Hiduke>(environment);
}

void TestHiduke::writeBookings(const QByteArray &bytes)
{
    QFile file(m_dir->filePath(Room + ".dat"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void TestHiduke::slotGrid_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("first") << 1 << QRect(96, 200, 97, 65);
    QTest::newRow("first monday, row 2") << 2 << QRect(96, 264, 97, 65);
    QTest::newRow("first monday, after lessons") << 7 << QRect(96, 592, 97, 65);
    QTest::newRow("tuesday row 3") << 10 << QRect(192, 328, 97, 65);
    QTest::newRow("first friday, after lessons") << 35 << QRect(480, 592, 97, 65);
    QTest::newRow("second monday") << 36 << QRect(648, 200, 97, 65);
    QTest::newRow("second friday row 6") << 69 << QRect(1032, 520, 97, 65);
    QTest::newRow("last") << 70 << QRect(1032, 592, 97, 65);
}

void TestHiduke::slotGrid()
{
    QFETCH(int, p);
    QFETCH(QRect, geometry);
    auto board = makeBoard(QDate(2018, 8, 1));
    QPushButton *button = slot(*board, p);
    QVERIFY(button);
    QCOMPARE(button->geometry(), geometry);
}

void TestHiduke::everyPlacedControlExists()
{
    auto board = makeBoard(QDate(2018, 8, 1));
    for (const auto &placement : BoardLayout::placements()) {
        auto *control = board->findChild<QWidget *>(placement.objectName);
        QVERIFY2(control, qPrintable(placement.objectName));
        QCOMPARE(control->geometry(), BoardLayout::toPixels(placement.rect));
    }
    QCOMPARE(board->findChild<QWidget *>("TodayBT")->geometry(), QRect(1168, 200, 97, 97));
    QCOMPARE(board->findChild<QWidget *>("NextBT")->geometry(), QRect(1168, 344, 97, 97));
    // Beyond the design width of 1311: only a wider window shows it.
    QCOMPARE(board->findChild<QCheckBox *>("A")->geometry(), QRect(1648, 80, 25, 25));
    QCOMPARE(board->size(), QSize(1311, 887));
}

void TestHiduke::fontsAreJapanese_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixels");
    QTest::newRow("room name") << "RoomName" << 64;
    QTest::newRow("slash") << "Label2" << 48;
    QTest::newRow("day number") << "Hiduke_0" << 32;
    QTest::newRow("week button") << "TodayBT" << 24;
    QTest::newRow("instructions") << "mess" << 21;
    QTest::newRow("slot") << "PCclass_70" << 27;
    QTest::newRow("month") << "Tuki" << 24;
}

void TestHiduke::fontsAreJapanese()
{
    QFETCH(QString, name);
    QFETCH(int, pixels);
    auto board = makeBoard(QDate(2018, 8, 1));
    auto *control = board->findChild<QWidget *>(name);
    QVERIFY(control);
    const QFontInfo info(control->font());
    QCOMPARE(info.pixelSize(), pixels);
    const QStringList japanese{"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS PGothic", "MS Gothic",
                               "IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "Noto Sans Mono CJK JP"};
    QVERIFY2(japanese.contains(info.family()), qPrintable(info.family()));
}

void TestHiduke::focusOrder()
{
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowActive(board.get()));
    QCOMPARE(QApplication::focusWidget(), slot(*board, 1));

    QStringList order;
    QWidget *w = slot(*board, 69);
    for (int i = 0; i < 5; ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible())
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    QCOMPARE(order, (QStringList{"PCclass_70", "NextBT", "TodayBT", "A", "PCclass_1"}));
}

void TestHiduke::loadShowsBookings()
{
    writeBookings("\"07/30-3\",\"\x82\x50-\x82\x51\x81\x40\x90\x94\x8A\x77\"\r\n"
                  "\"08/06-0\",\"x\"\r\n");
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());

    QCOMPARE(labelText(*board, "RoomName"), Room);
    QCOMPARE(labelText(*board, "Tuki"), QStringLiteral("7"));
    QCOMPARE(labelText(*board, "Hiduke_0"), QStringLiteral("30"));
    QCOMPARE(labelText(*board, "Hiduke_2"), QStringLiteral("1"));
    QCOMPARE(labelText(*board, "Hiduke_5"), QStringLiteral("6"));
    QCOMPARE(slot(*board, 3)->text(), QStringLiteral("１-２　数学"));
    QCOMPARE(slot(*board, 42)->text(), QStringLiteral("x"));
    QCOMPARE(slot(*board, 4)->text(), QString());
    // The last record that decides the naming mode is lettered.
    QCOMPARE(board->findChild<QCheckBox *>("A")->checkState(), Qt::Unchecked);
}

void TestHiduke::weekButtons()
{
    writeBookings("\"07/30-1\",\"this\"\r\n\"08/06-1\",\"next\"\r\n\"08/13-1\",\"after\"\r\n");
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    auto *today = board->findChild<QPushButton *>("TodayBT");
    auto *next = board->findChild<QPushButton *>("NextBT");

    for (int press = 0; press < 2; ++press) { // twice shows the same window
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(labelText(*board, "Hiduke_0"), QStringLiteral("6"));
        QCOMPARE(labelText(*board, "Tuki"), QStringLiteral("8"));
        QCOMPARE(slot(*board, 1)->text(), QStringLiteral("next"));
        QCOMPARE(slot(*board, 36)->text(), QStringLiteral("after"));
    }
    QTest::mouseClick(today, Qt::LeftButton);
    QCOMPARE(labelText(*board, "Tuki"), QStringLiteral("7"));
    QCOMPARE(slot(*board, 1)->text(), QStringLiteral("this"));
    QCOMPARE(slot(*board, 36)->text(), QStringLiteral("next"));
}

void TestHiduke::unusableFileIsNotAnEmptyBoard()
{
    QVERIFY(QDir(m_dir->path()).mkdir(Room + ".dat"));
    auto board = makeBoard(QDate(2018, 8, 1));
    QSignalSpy failed(board.get(), &Hiduke::failed);
    QVERIFY(!board->Form_Load());
    QCOMPARE(failed.count(), 1);
    const QString message = failed.at(0).at(0).toString();
    QVERIFY2(message.contains(QStringLiteral("理科室.dat")), qPrintable(message));
    QVERIFY(!slot(*board, 1)->isEnabled());
}

void TestHiduke::doubleClick_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("at"); // in board coordinates, for the surface
    QTest::addColumn<bool>("shown");

    QTest::newRow("surface below the grid") << QString() << QPoint(600, 800) << true;
    QTest::newRow("room name") << "RoomName" << QPoint() << false;
    QTest::newRow("instructions") << "mess" << QPoint() << false;
    QTest::newRow("day number") << "Hiduke_3" << QPoint() << false;
    QTest::newRow("empty transparent label") << "YYMMDD_0" << QPoint() << false;
    QTest::newRow("slot button") << "PCclass_12" << QPoint() << false;
}

void TestHiduke::doubleClick()
{
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(bool, shown);

    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board.get()));
    QWidget *receiver = target.isEmpty() ? board.get() : board->findChild<QWidget *>(target);
    QVERIFY(receiver);
    QTest::mouseDClick(receiver, Qt::LeftButton, {}, target.isEmpty() ? at : receiver->rect().center());

    auto *notice = board->findChild<QLabel *>("C");
    QCOMPARE(notice->isVisible(), shown);
    if (shown) {
        QCOMPARE(notice->geometry(), QRect(80, 72, 201, 17));
        QTest::mouseClick(board->findChild<QPushButton *>("NextBT"), Qt::LeftButton);
        QVERIFY(notice->isVisible());
    }
}

QTEST_MAIN(TestHiduke)
#include "tst_hiduke.moc"
