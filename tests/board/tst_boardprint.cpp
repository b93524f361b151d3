#include "board/BoardSheet.h"
#include "core/BoardSession.h"
#include "core/BoardView.h"
#include "core/BookingRecord.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestBoardPrint : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    const QString m_pdf = m_dir.filePath("board.pdf");

    // What poppler-utils (scripts/install-deps.sh test) read in the file.
    QString poppler(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.start(tool, arguments);
        return process.waitForFinished() ? QString::fromUtf8(process.readAllStandardOutput()) : tool + " failed";
    }

private slots:
    // As the board hands it over on 2018-08-01: what it read back, and one
    // fresh booking of its own.
    void initTestCase()
    {
        QFile file(m_dir.filePath("理科室.dat"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // The last too long for a line: parted at the space.
        for (const auto &[key, text] : {std::pair{"07/30-3", "１-２　数学"}, {"08/03-0", "３Ｂ　　国語"}, {"08/10-0", "その他　委員会"}})
            file.write(BookingRecord::format(key, text).value());
        file.close();
        BoardSession board([] { return QDate(2018, 8, 1); }, [this] { return RoomLocation{m_dir.path(), "理科室"}; });
        board.load();
        // The class label on a line of its own, as shown.
        struct : BoardView
        {
            void show(const BoardSession::Result &) override {}
            ClassAnswer askClass(NamingMode) override { return {NamingMode::Lettered, "１Ａ　", "理科"}; }
            bool confirmClearing() override { return false; }
        } dialog;
        board.click(36, dialog);
        QPdfWriter writer(m_pdf);
        writer.setPageLayout(BoardPrint::pageLayout());
        BoardPrint::print(writer, BoardSheet::of(board));
    }

    void pages()
    {
        const QString info = poppler("pdfinfo", {m_pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages: +2\n")), qPrintable(info));
    }

    // Each week on its page, and nothing of the other.
    void texts_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("this week") << "1" << QStringList{"理科室", "2018年7月30日 〜 8月3日", "7/30(月)", "8/3(金)", "数学", "国語", "授業後"}
                                   << QStringList{"8/6", "その他"};
        QTest::newRow("next week") << "2" << QStringList{"理科室", "2018年8月6日 〜 8月10日", "8/6(月)", "8/10(金)", "その他\n委員会", "１Ａ\n理科", "７"}
                                   << QStringList{"7/30", "数学"};
    }

    void texts()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, absent);
        const QString text = poppler("pdftotext", {"-f", page, "-l", page, m_pdf, "-"});
        for (const QString &s : shown)
            QVERIFY2(text.contains(s), qPrintable(s + " not in:\n" + text));
        for (const QString &s : absent)
            QVERIFY2(!text.contains(s), qPrintable(s + " in:\n" + text));
    }
};

QTEST_MAIN(TestBoardPrint)
#include "tst_boardprint.moc"
