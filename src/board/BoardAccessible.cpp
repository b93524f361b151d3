#include "board/BoardAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface *boardAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("Hiduke") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void announceBoardAsWindow()
{
    static const bool installed = (QAccessible::installFactory(boardAccessible), true);
    Q_UNUSED(installed);
}
