#include "board/BoardLayout.h"
#include "board/Hiduke.h"
#include "board/WrappingButton.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace std::chrono_literals;

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

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Answers the next modal window (the class dialog or a message box) once its
// own event loop runs. A window the driver leaves open is rejected, so a
// broken path fails the test instead of hanging it.
void whenModal(std::function<void(QWidget *)> drive, int attempts = 50)
{
    QTimer::singleShot(20, [drive, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            if (attempts > 0)
                whenModal(drive, attempts - 1);
            return;
        }
        drive(modal);
        if (modal->isVisible())
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
    });
}

void pick(QWidget *dialog, const char *list, int row)
{
    auto *view = dialog->findChild<QListWidget *>(QLatin1String(list));
    QVERIFY(view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
}

void press(QWidget *window, const char *button)
{
    auto *target = window->findChild<QPushButton *>(QLatin1String(button));
    QVERIFY2(target, button);
    QTest::mouseClick(target, Qt::LeftButton);
}

// The message box's buttons carry no object names; find OK or Cancel by role.
void answer(QWidget *modal, QMessageBox::StandardButton which, QString *text = nullptr)
{
    auto *box = qobject_cast<QMessageBox *>(modal);
    QVERIFY(box);
    if (text)
        *text = box->text();
    QTest::mouseClick(box->button(which), Qt::LeftButton);
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

    void bookFreeSlot();
    void bookNothingChosen_data();
    void bookNothingChosen();
    void clearBookedSlot_data();
    void clearBookedSlot();
    void bookingSurvivesRestart();
    void clickSeesOtherBoardsChange_data();
    void clickSeesOtherBoardsChange();
    void reSavedFileIsReadOnly();
    void failedWriteLeavesButton_data();
    void failedWriteLeavesButton();
    void boardsUpdateThemselves();

    void slotCaptionLines_data();
    void slotCaptionLines();
    void keyboard_data();
    void keyboard();
    void namingModeBoxIsWhite();
    void announcedAsWindow();

private:
    // Boards look at their file when a test says so, unless asked to poll.
    std::unique_ptr<Hiduke> makeBoard(QDate today, std::chrono::milliseconds poll = 1h);
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

std::unique_ptr<Hiduke> TestHiduke::makeBoard(QDate today, std::chrono::milliseconds poll)
{
    BoardEnvironment environment;
    environment.pollInterval = poll;
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
    for (const auto &placement : BoardLayout::placements())
        QVERIFY2(board->findChild<QWidget *>(placement.objectName), qPrintable(placement.objectName));
    QCOMPARE(board->findChild<QWidget *>("Hiduke_2")->geometry(), QRect(296, 136, 89, 33));
    QCOMPARE(board->findChild<QWidget *>("Label1_1")->geometry(), QRect(200, 176, 89, 25));
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
    // What a screen reader says: day, lesson, booking.
    QCOMPARE(slot(*board, 3)->accessibleName(), QStringLiteral("7月30日(月) 3時間目 １-２　数学"));
    QCOMPARE(slot(*board, 70)->accessibleName(), QStringLiteral("8月10日(金) 授業後 空き"));
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

void TestHiduke::bookFreeSlot()
{
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    auto *a = board->findChild<QCheckBox *>("A");

    // Lettered mode: grade １年, class Ａ組, subject 理科.
    whenModal([](QWidget *dialog) {
        pick(dialog, "List1", 0);
        pick(dialog, "List2", 1);
        pick(dialog, "List3", 8);
        press(dialog, "OK_BT");
    });
    QTest::mouseClick(slot(*board, 7), Qt::LeftButton);

    QCOMPARE(slot(*board, 7)->text(), QStringLiteral("１Ａ　理科"));
    QCOMPARE(fileBytes(m_dir->filePath(Room + ".dat")),
             QByteArray("\"07/30-0\",\"\x82\x50\x82\x60\x81\x40\x81\x40\x97\x9D\x89\xC8\"\r\n"));
    QCOMPARE(a->checkState(), Qt::Unchecked);

    // A refresh shows the stored text, with the ideographic space.
    QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
    QCOMPARE(slot(*board, 7)->text(), QStringLiteral("１Ａ　　理科"));

    // Second week, numbered mode by the toggle entry: key of slot 36.
    whenModal([](QWidget *dialog) {
        pick(dialog, "List2", 11);
        pick(dialog, "List1", 1);
        pick(dialog, "List2", 3);
        pick(dialog, "List3", 7);
        press(dialog, "OK_BT");
    });
    QTest::mouseClick(slot(*board, 36), Qt::LeftButton);
    QCOMPARE(slot(*board, 36)->text(), QStringLiteral("２-３数学"));
    QVERIFY(fileBytes(m_dir->filePath(Room + ".dat"))
                .endsWith("\"08/06-1\",\"\x82\x51-\x82\x52\x81\x40\x90\x94\x8A\x77\"\r\n"));
    QCOMPARE(a->checkState(), Qt::Checked);
}

void TestHiduke::bookNothingChosen_data()
{
    QTest::addColumn<bool>("byCancel");
    QTest::newRow("cancel") << true;
    QTest::newRow("window closed") << false;
}

void TestHiduke::bookNothingChosen()
{
    QFETCH(bool, byCancel);
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());

    whenModal([byCancel](QWidget *dialog) {
        pick(dialog, "List1", 0);
        pick(dialog, "List3", 2);
        if (byCancel)
            press(dialog, "Canel_BT");
        else
            dialog->close();
    });
    QTest::mouseClick(slot(*board, 20), Qt::LeftButton);
    QCOMPARE(slot(*board, 20)->text(), QString());
    QCOMPARE(fileBytes(m_dir->filePath(Room + ".dat")), QByteArray());
}

void TestHiduke::clearBookedSlot_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QByteArray>("appended");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<Qt::CheckState>("mode");

    QTest::newRow("ok clears") << true << QByteArray("\"07/30-3\",\"\"\r\n") << QString() << Qt::Checked;
    QTest::newRow("cancel keeps") << false << QByteArray() << QStringLiteral("x") << Qt::PartiallyChecked;
}

void TestHiduke::clearBookedSlot()
{
    QFETCH(bool, confirm);
    QFETCH(QByteArray, appended);
    QFETCH(QString, caption);
    QFETCH(Qt::CheckState, mode);

    const QByteArray before = "\"07/30-3\",\"x\"\r\n";
    writeBookings(before);
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());

    QString question;
    whenModal([confirm, &question](QWidget *modal) {
        answer(modal, confirm ? QMessageBox::Ok : QMessageBox::Cancel, &question);
    });
    QTest::mouseClick(slot(*board, 3), Qt::LeftButton);

    QCOMPARE(question, QStringLiteral("クラスを消去しますか。"));
    QCOMPARE(slot(*board, 3)->text(), caption);
    QCOMPARE(fileBytes(m_dir->filePath(Room + ".dat")), before + appended);
    QCOMPARE(board->findChild<QCheckBox *>("A")->checkState(), mode);
}

void TestHiduke::bookingSurvivesRestart()
{
    {
        auto board = makeBoard(QDate(2018, 8, 1));
        QVERIFY(board->Form_Load());
        whenModal([](QWidget *dialog) {
            pick(dialog, "List1", 2);
            pick(dialog, "List2", 9);
            pick(dialog, "List3", 9);
            press(dialog, "OK_BT");
        });
        QTest::mouseClick(slot(*board, 70), Qt::LeftButton);
    }
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    QCOMPARE(slot(*board, 70)->text(), QStringLiteral("３Ｉ　　英語"));
}

void TestHiduke::clickSeesOtherBoardsChange_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QString>("shown");

    QTest::newRow("booked elsewhere while free here")
        << QByteArray() << QByteArray("\"07/30-4\",\"y\"\r\n") << QStringLiteral("y");
    QTest::newRow("cleared elsewhere while booked here")
        << QByteArray("\"07/30-4\",\"x\"\r\n") << QByteArray("\"07/30-4\",\"\"\r\n") << QString();
}

// Another computer changes the slot after this board last read the file: a
// click shows the change and a notice, and offers neither booking nor
// clearing of what the teacher never saw.
void TestHiduke::clickSeesOtherBoardsChange()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, other);
    QFETCH(QString, shown);

    writeBookings(before);
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    {
        QFile file(m_dir->filePath(Room + ".dat"));
        QVERIFY(file.open(QIODevice::Append));
        file.write(other + "\"08/10-0\",\"z\"\r\n");
    }

    QString notice;
    whenModal([&notice](QWidget *modal) { answer(modal, QMessageBox::Ok, &notice); });
    QTest::mouseClick(slot(*board, 4), Qt::LeftButton);

    QVERIFY2(notice.contains(QStringLiteral("別のパソコンで変更されました")), qPrintable(notice));
    QCOMPARE(slot(*board, 4)->text(), shown);
    QCOMPARE(slot(*board, 70)->text(), QStringLiteral("z"));
    QCOMPARE(fileBytes(m_dir->filePath(Room + ".dat")), before + other + "\"08/10-0\",\"z\"\r\n");
}

void TestHiduke::reSavedFileIsReadOnly()
{
    const QByteArray bytes = "\xEF\xBB\xBF\"07/30-1\",\"" + QStringLiteral("１Ａ　　理科").toUtf8() + "\"\r\n";
    writeBookings(bytes);
    auto board = makeBoard(QDate(2018, 8, 1));

    QString atLoad, atClick;
    whenModal([&atLoad](QWidget *modal) { answer(modal, QMessageBox::Ok, &atLoad); });
    QVERIFY(board->Form_Load());
    QVERIFY2(atLoad.contains(QStringLiteral("UTF-8")), qPrintable(atLoad));
    QCOMPARE(slot(*board, 1)->text(), QStringLiteral("１Ａ　　理科"));

    whenModal([&atClick](QWidget *modal) { answer(modal, QMessageBox::Ok, &atClick); });
    QTest::mouseClick(slot(*board, 2), Qt::LeftButton);
    QCOMPARE(atClick, atLoad);
    QCOMPARE(fileBytes(m_dir->filePath(Room + ".dat")), bytes);
}

void TestHiduke::failedWriteLeavesButton_data()
{
    QTest::addColumn<bool>("clearing");
    QTest::addColumn<QString>("reason");
#ifdef Q_OS_UNIX
    QTest::newRow("booking past the file size limit") << false << QStringLiteral("大きすぎます");
#endif
    QTest::newRow("clearing in a file turned folder") << true << QStringLiteral("フォルダー");
}

void TestHiduke::failedWriteLeavesButton()
{
    QFETCH(bool, clearing);
    QFETCH(QString, reason);
    const QString path = m_dir->filePath(Room + ".dat");
    writeBookings("\"07/30-1\",\"x\"\r\n");
    auto board = makeBoard(QDate(2018, 8, 1), 20ms);
    QVERIFY(board->Form_Load());

#ifdef Q_OS_UNIX
    // Room for a few bytes more, not for a record: set just for the write.
    struct rlimit saved = {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit tight = saved;
    tight.rlim_cur = QFileInfo(path).size() + 5;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const auto restore = qScopeGuard([&] {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    });
#endif

    QString message;
    if (clearing) {
        // The file turns into a folder behind the board's back. Looking at
        // it meanwhile says nothing and changes nothing.
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(m_dir->path()).mkdir(Room + ".dat"));
        QTest::qWait(100);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(slot(*board, 1)->text(), QStringLiteral("x"));
        whenModal([&message](QWidget *error) { answer(error, QMessageBox::Ok, &message); });
    } else {
#ifdef Q_OS_UNIX
        whenModal([&](QWidget *dialog) {
            pick(dialog, "List1", 0);
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
            press(dialog, "OK_BT");
            whenModal([&](QWidget *error) {
                setrlimit(RLIMIT_FSIZE, &saved);
                answer(error, QMessageBox::Ok, &message);
            });
        });
#endif
    }
    const int p = clearing ? 1 : 2;
    QTest::mouseClick(slot(*board, p), Qt::LeftButton);

    QVERIFY2(message.contains(QStringLiteral("理科室.dat")), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    QCOMPARE(slot(*board, p)->text(), clearing ? QStringLiteral("x") : QString());
}

// Two computers on one room: what one books or clears shows on the other
// within two seconds, without a click, but not while a box is open there.
void TestHiduke::boardsUpdateThemselves()
{
    auto first = makeBoard(QDate(2018, 8, 1));
    auto second = makeBoard(QDate(2018, 8, 1), 20ms);
    QVERIFY(first->Form_Load());
    QVERIFY(second->Form_Load());
    const auto book = [&first] {
        whenModal([](QWidget *dialog) {
            pick(dialog, "List1", 0);
            pick(dialog, "List2", 1);
            pick(dialog, "List3", 8);
            press(dialog, "OK_BT");
        });
        QTest::mouseClick(slot(*first, 7), Qt::LeftButton);
    };

    book();
    QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 7)->text(), QStringLiteral("１Ａ　　理科"), 2000);
    whenModal([](QWidget *box) { answer(box, QMessageBox::Ok); });
    QTest::mouseClick(slot(*first, 7), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 7)->text(), QString(), 2000);
    book(); // in numbered mode now, after the clearing
    QTRY_VERIFY_WITH_TIMEOUT(!slot(*second, 7)->text().isEmpty(), 2000);
    QCOMPARE(second->findChild<QCheckBox *>("A")->checkState(), Qt::Checked);

    QString question, shownMeanwhile;
    whenModal([&](QWidget *box) {
        QFile file(m_dir->filePath(Room + ".dat"));
        QVERIFY(file.open(QIODevice::Append));
        file.write("\"07/30-1\",\"y\"\r\n");
        file.close();
        QTest::qWait(200);
        shownMeanwhile = slot(*second, 1)->text();
        answer(box, QMessageBox::Cancel, &question);
    });
    QTest::mouseClick(slot(*second, 7), Qt::LeftButton);
    QCOMPARE(question, QStringLiteral("クラスを消去しますか。"));
    QCOMPARE(shownMeanwhile, QString());
    QTRY_COMPARE_WITH_TIMEOUT(slot(*second, 1)->text(), QStringLiteral("y"), 2000);
}

void TestHiduke::slotCaptionLines_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("breakAfter"); // the label's length right after booking
    QTest::addColumn<QStringList>("lines");

    // A slot holds two lines of three full-width characters: the class label
    // on the first, the subject on the second, right after booking (label
    // and subject joined) as after a refresh (the stored text). Every form a
    // label takes (lettered, numbered, grades without a class, spaces from
    // the blank entries) with subjects of 0 to 3 characters.
    const QStringList labels{"１Ａ　", "１-２", "その他", "ＪＫＢ", "ＪＫ-", "１ 　", "１- ",
                             "Ｃ　　", "　　", "- 　", "-　　"};
    const QStringList subjects{"", "技", "数学", "委員会"};
    for (const QString &label : labels) {
        QString shown = label; // spaces that end a line show nothing
        while (shown.endsWith(QChar(0x3000)) || shown.endsWith(QLatin1Char(' ')))
            shown.chop(1);
        for (const QString &subject : subjects) {
            const QStringList lines = subject.isEmpty() ? QStringList{shown} : QStringList{shown, subject};
            const QByteArray name = (label + "|" + subject).toUtf8();
            QTest::addRow("booked %s", name.constData()) << label + subject << int(label.size()) << lines;
            QTest::addRow("stored %s", name.constData()) << label + QChar(0x3000) + subject << -1 << lines;
        }
    }
    // Texts from elsewhere keep their words whole where they can.
    QTest::newRow("words") << "Lab work" << -1 << QStringList{"Lab", "work"};
    // Where such a word breaks depends on the font's Latin widths.
    QTest::newRow("a word wider than a line") << "Laboratory" << -1 << QStringList{"Labo…", "…tory"};
}

void TestHiduke::slotCaptionLines()
{
    QFETCH(QString, caption);
    QFETCH(int, breakAfter);
    QFETCH(QStringList, lines);
    auto board = makeBoard(QDate(2018, 8, 1));
    auto *button = qobject_cast<WrappingButton *>(slot(*board, 1));
    QVERIFY(button);
    button->setCaption(caption, breakAfter);
    if (lines.first().endsWith(QChar(0x2026))) {
        QCOMPARE(button->lines().size(), 2);
        QCOMPARE(button->lines().join(QString()), caption);
        QVERIFY(button->lines().first().startsWith(lines.first().chopped(1)));
        QVERIFY(button->lines().last().endsWith(lines.last().mid(1)));
    } else {
        QCOMPARE(button->lines(), lines);
    }

    // As painted: a band of ink for each line that shows anything, centred
    // (to 10 pixels: a glyph's ink need not be centred in its cell).
    const QImage image = button->grab().toImage();
    int bands = 0, left = image.width(), right = image.width(); // margins of the ink
    bool inkAbove = false;
    for (int y = 4; y < image.height() - 4; ++y) {
        bool ink = false;
        for (int x = 4; x < image.width() - 4; ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                ink = true;
                left = std::min(left, x);
                right = std::min(right, image.width() - 1 - x);
            }
        }
        bands += ink && !inkAbove;
        inkAbove = ink;
    }
    QCOMPARE(bands, int(lines.size() - lines.count(QString())));
    const QByteArray margins = QByteArray::number(left) + ' ' + QByteArray::number(right);
    QVERIFY2(bands == 0 || std::abs(left - right) <= 10, margins.constData());
}

void TestHiduke::keyboard_data()
{
    // Keys from slot 1: L R U D arrows, T Tab, B Shift+Tab, S Shift, M a click on TodayBT.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("frame");      // highlight pixels inward from the edge
    QTest::addColumn<QString>("key"); // what Space then books

    QTest::newRow("at start-up") << "" << "PCclass_1" << 0 << "07/30-1";
    QTest::newRow("any key at start-up") << "S" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("right: tuesday") << "R" << "PCclass_8" << 3 << "07/31-1";
    QTest::newRow("right past the first friday") << "RRRRR" << "PCclass_36" << 3 << "08/06-1";
    QTest::newRow("right stops at the end") << "RRRRRRRRRRRR" << "PCclass_64" << 3 << "08/10-1";
    QTest::newRow("left stops at the first monday") << "L" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("down to after lessons") << "DDDDDD" << "PCclass_7" << 3 << "07/30-0";
    QTest::newRow("down stops after lessons") << "DDDDDDDDD" << "PCclass_7" << 3 << "07/30-0";
    QTest::newRow("up stops at lesson 1") << "U" << "PCclass_1" << 3 << "07/30-1";
    QTest::newRow("across and back") << "DDRRRRRRLU" << "PCclass_37" << 3 << "08/06-2";
    QTest::newRow("tab goes down the day") << "TT" << "PCclass_3" << 3 << "07/30-3";
    QTest::newRow("week button by shift+tab") << "BB" << "TodayBT" << 3 << "";
    QTest::newRow("mouse after keys") << "TM" << "TodayBT" << 0 << "";
}

// Where the keys take the focus, whether it shows, and what Space books there.
void TestHiduke::keyboard()
{
    QFETCH(QString, keys);
    QFETCH(QString, focused);
    QFETCH(int, frame);
    QFETCH(QString, key);
    auto board = makeBoard(QDate(2018, 8, 1));
    QVERIFY(board->Form_Load());
    board->show();
    QVERIFY(QTest::qWaitForWindowActive(board.get()));

    const QMap<QChar, Qt::Key> keyOf{{'L', Qt::Key_Left}, {'R', Qt::Key_Right}, {'U', Qt::Key_Up},
                                     {'D', Qt::Key_Down}, {'T', Qt::Key_Tab}, {'B', Qt::Key_Tab},
                                     {'S', Qt::Key_Shift}};
    for (const QChar k : keys) {
        if (k == 'M')
            QTest::mouseClick(board->findChild<QPushButton *>("TodayBT"), Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), keyOf.value(k),
                            k == 'B' ? Qt::ShiftModifier : Qt::NoModifier);
    }
    QWidget *button = QApplication::focusWidget();
    QCOMPARE(button->objectName(), focused);

    // The frame as on screen, on each side of the button.
    QCoreApplication::processEvents();
    const QImage image = board->screen()->grabWindow(board->winId()).toImage().copy(button->geometry());
    const QColor highlight = button->palette().color(QPalette::Active, QPalette::Highlight);
    const auto inward = [&](QPoint at, QPoint step) {
        int width = 0;
        for (; image.pixelColor(at) == highlight; at += step)
            ++width;
        return width;
    };
    const int w = image.width() - 2, h = image.height() - 2, x = w / 2, y = h / 2;
    const QList<int> sides{inward({1, y}, {1, 0}), inward({w, y}, {-1, 0}), inward({x, 1}, {0, 1}),
                           inward({x, h}, {0, -1})};
    QCOMPARE(sides, QList<int>(4, frame));

    if (key.isEmpty())
        return;
    whenModal([](QWidget *dialog) { press(dialog, "OK_BT"); });
    QTest::keyClick(button, Qt::Key_Space);
    const QByteArray bytes = fileBytes(m_dir->filePath(Room + ".dat"));
    QVERIFY2(bytes.startsWith('"' + key.toLatin1() + "\","), bytes.constData());
}

// Around its box, the check box shows white (255, 255, 255), not grey.
void TestHiduke::namingModeBoxIsWhite()
{
    auto board = makeBoard(QDate(2018, 8, 1));
    const QImage image = board->findChild<QCheckBox *>("A")->grab().toImage();
    const int right = image.width() - 1;
    for (const QPoint &at : {QPoint(0, 0), QPoint(right, 0), QPoint(right, image.height() - 1)})
        QCOMPARE(image.pixelColor(at), QColor(255, 255, 255));
}

// A screen reader announces the board as a window, by its caption.
void TestHiduke::announcedAsWindow()
{
    auto board = makeBoard(QDate(2018, 8, 1));
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(board.get());
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), Hiduke::caption());
}

QTEST_MAIN(TestHiduke)
#include "tst_hiduke.moc"
