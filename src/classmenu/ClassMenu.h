#pragma once

#include "core/NamingMode.h"

#include <QDialog>
#include <QString>

class ChoiceList;
class QPushButton;

// The modal dialog in which the user picks grade, class and subject for a
// booking. It is built anew for every showing from the board's naming mode
// and leaves its answer behind for the board to read after exec() returns.
class ClassMenu : public QDialog
{
    Q_OBJECT

public:
    // namingMode is the board's as it stands.
    explicit ClassMenu(NamingMode namingMode, QWidget *parent = nullptr);

    // Empty unless the dialog was closed with OK; OK never yields an empty
    // label, so an empty label means that nothing was chosen.
    QString classLabel() const;
    QString subject() const;

    // The naming mode to write back to the board. A toggle stays in force
    // whichever way the dialog was closed.
    NamingMode namingMode() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void List2_Click();
    void OK_BT_Click();
    void Canel_BT_Click();

    ChoiceList *m_List1 = nullptr;
    ChoiceList *m_List2 = nullptr;
    ChoiceList *m_List3 = nullptr;
    QPushButton *m_OK_BT = nullptr;
    QPushButton *m_Canel_BT = nullptr;

    NamingMode m_namingMode;
    QString m_classLabel;
    QString m_subject;

    bool m_rebuildingList2 = false;
    bool m_mousePressedOnList2 = false;
    bool m_toggledDuringPress = false;
};
