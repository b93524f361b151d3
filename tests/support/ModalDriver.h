#pragma once

#include <QtTest>
#include <QtWidgets>

#include <deque>
#include <functional>

// Answers the modal windows a test opens, in turn, from within their own
// event loops; the test checks what came of it once exec() has returned. A
// window with no answer waiting is rejected and noted, so that a window too
// many fails the test instead of hanging it.
class ModalDriver : public QObject
{
public:
    using Answer = std::function<void(QDialog &)>;

    ModalDriver() { m_timer.callOnTimeout(this, &ModalDriver::answer); m_timer.start(10); }

    void answerNext(Answer answer) { m_answers.push_back(std::move(answer)); }
    static void clickRow(QDialog &menu, int list, int row)
    {
        auto *view = menu.findChild<QListWidget *>(QStringLiteral("List%1").arg(list));
        view->scrollToItem(view->item(row));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(row)).center());
    }

    // What each window asked, in turn (a box's text, buttons and icon, a
    // dialog's name), and the answers left unused.
    QStringList takeAsked()
    {
        QStringList asked = std::exchange(m_asked, {});
        if (!m_answers.empty())
            asked << QStringLiteral("%1 answers left").arg(std::exchange(m_answers, {}).size());
        return asked;
    }

private:
    void answer()
    {
        auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!modal || modal == m_answering)
            return;
        const QScopedValueRollback<QPointer<QDialog>> answering(m_answering, modal);
        auto *box = qobject_cast<QMessageBox *>(modal);
        m_asked << (box ? box->text() : modal->objectName());
        for (QAbstractButton *button : box ? box->buttons() : QList<QAbstractButton *>())
            m_asked.last() += " [" + button->text() + (button->icon().isNull() ? "]" : " with an icon]");
        if (box && box->icon() != QMessageBox::NoIcon)
            m_asked.last() += box->icon() == QMessageBox::Warning ? " (warning)" : " (information)";
        if (m_answers.empty())
            return modal->reject();
        const Answer next = std::move(m_answers.front());
        m_answers.pop_front();
        next(*modal);
    }

    QTimer m_timer;
    std::deque<Answer> m_answers;
    QStringList m_asked;
    QPointer<QDialog> m_answering; // a window being answered opens no second turn
};
