#include "board/MessageBox.h"

#include "board/SystemTitle.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace MessageBox {

namespace {

int show(QWidget *parent, QMessageBox::Icon icon, const QString &text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, systemTitle(), text, buttons, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    // Some desktops give OK and Cancel a tick and a cross; the board's boxes
    // show their words alone.
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

bool confirm(QWidget *parent, const QString &text)
{
    return show(parent, QMessageBox::NoIcon, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok)
        == QMessageBox::Ok;
}

void error(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void notice(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

} // namespace MessageBox
