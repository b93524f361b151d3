#pragma once

#include <QListWidget>

// One of the class dialog's three lists, in the manner of the classic list
// box it stands for: a row is one line of the list's font, so seven rows fill
// a list of the design's height whatever the style's own item margins are;
// an entry too wide for the list is cut off, never shortened with "…".
class ChoiceList : public QListWidget
{
    Q_OBJECT
public:
    ChoiceList(const QString &objectName, const QRect &geometry, QWidget *parent);

    // Replaces the entries. Blank ones get a name a screen reader can say.
    void setEntries(const QStringList &entries);

protected:
    // The first Up or Down in a list where nothing is selected selects the
    // row the list's cursor stands on (the first row once Tab brought the
    // focus here) rather than the row after it; Home and End always select.
    void keyPressEvent(QKeyEvent *event) override;
};
