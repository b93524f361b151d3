#include "classmenu/ClassMenu.h"

#include "widgets/AppIcon.h"
#include "widgets/FocusFrameButton.h"
#include "widgets/JapaneseFont.h"
#include "widgets/Twips.h"
#include "classmenu/ChoiceList.h"
#include "core/ClassLabel.h"
#include "core/ClassLists.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

constexpr QSize ClientSize = Twips::pixelSize(4860, 3615);

QString selectedText(const QListWidget *list)
{
    // A list gains a current item merely by taking the focus, without
    // selecting it, so only a real selection counts; none reads as empty.
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QRect &geometry)
{
    auto *button = new FocusFrameButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    // With auto-default, Qt would promote a button to the dialog's default
    // when it is shown; this dialog has none, Enter goes to the focused one.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

ClassMenu::ClassMenu(NamingMode namingMode, QWidget *parent)
    : QDialog(parent)
    , m_namingMode(namingMode)
{
    setObjectName(QStringLiteral("ClassMenu"));
    setWindowTitle(QStringLiteral("F授業選択"));
    setWindowIcon(AppIcon::icon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(ClientSize);
    setFont(JapaneseFont::proportional(18));

    m_List1 = new ChoiceList(QStringLiteral("List1"), Twips{120, 120, 1215, 2580}.toPixels(), this);
    m_List2 = new ChoiceList(QStringLiteral("List2"), Twips{1680, 120, 1095, 2580}.toPixels(), this);
    m_List3 = new ChoiceList(QStringLiteral("List3"), Twips{3120, 120, 1575, 2580}.toPixels(), this);
    m_OK_BT = makeButton(this, QStringLiteral("OK_BT"), QStringLiteral("OK"),
                         Twips{600, 2880, 1335, 615}.toPixels());
    m_Canel_BT = makeButton(this, QStringLiteral("Canel_BT"), QStringLiteral("Cancel"),
                            Twips{2640, 2880, 1335, 615}.toPixels());

    m_List1->setAccessibleName(QStringLiteral("学年"));
    m_List2->setAccessibleName(QStringLiteral("組"));
    m_List3->setAccessibleName(QStringLiteral("教科"));
    m_OK_BT->setAccessibleName(QStringLiteral("OK　予約する"));
    m_Canel_BT->setAccessibleName(QStringLiteral("キャンセル"));

    m_List2->setFont(JapaneseFont::fixed(18));
    m_Canel_BT->setFont(JapaneseFont::proportional(15.75));

    m_List1->setEntries(ClassLists::gradeEntries());
    m_List3->setEntries(ClassLists::subjectEntries());

    setTabOrder(m_OK_BT, m_Canel_BT);
    setTabOrder(m_Canel_BT, m_List1);
    setTabOrder(m_List1, m_List2);
    setTabOrder(m_List2, m_List3);
    m_OK_BT->setFocus(Qt::OtherFocusReason);

    connect(m_List2, &QListWidget::itemSelectionChanged, this, &ClassMenu::List2_Click);
    connect(m_OK_BT, &QPushButton::clicked, this, &ClassMenu::OK_BT_Click);
    connect(m_Canel_BT, &QPushButton::clicked, this, &ClassMenu::Canel_BT_Click);
    m_List2->viewport()->installEventFilter(this);

    Form_Load();
}

QString ClassMenu::classLabel() const
{
    return m_classLabel;
}

QString ClassMenu::subject() const
{
    return m_subject;
}

NamingMode ClassMenu::namingMode() const
{
    return m_namingMode;
}

void ClassMenu::Form_Load()
{
    // Clearing the list changes its selection too; that is no user choice.
    const QScopedValueRollback<bool> rebuilding(m_rebuildingList2, true);
    m_List2->setEntries(ClassLists::classEntries(m_namingMode));
    // Read aloud, the arrow between "1" and "A" says nothing; name what it does.
    for (QListWidgetItem *toggle : m_List2->findItems(ClassLists::toggleEntry(), Qt::MatchExactly))
        toggle->setData(Qt::AccessibleTextRole, QStringLiteral("数字と英字の切り替え"));
}

void ClassMenu::List2_Click()
{
    if (m_rebuildingList2)
        return;
    if (selectedText(m_List2) != ClassLists::toggleEntry())
        return;
    m_namingMode = toggledInClassMenu(m_namingMode);
    m_toggledDuringPress = m_mousePressedOnList2;
    Form_Load();
}

void ClassMenu::OK_BT_Click()
{
    m_classLabel = ClassLabel::compose(m_namingMode, selectedText(m_List1), selectedText(m_List2));
    m_subject = selectedText(m_List3);
    accept();
}

void ClassMenu::Canel_BT_Click()
{
    m_classLabel.clear();
    m_subject.clear();
    reject();
}

void ClassMenu::keyPressEvent(QKeyEvent *event)
{
    // Esc must not close the dialog: only the two buttons and the window's
    // close box do.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }

    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isEnter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter reaches us when the focused widget did not use it: a button
        // without auto-default passes it on, a list ignores it. Only the
        // focused button reacts; there is no default button to fall back on.
        if (focusWidget() == m_OK_BT || focusWidget() == m_Canel_BT)
            static_cast<QPushButton *>(focusWidget())->click();
        event->accept();
        return;
    }

    QDialog::keyPressEvent(event);
}

void ClassMenu::paintEvent(QPaintEvent *event)
{
    // Painted rather than set as the palette's Window colour, which would
    // cascade into the lists and buttons; they keep the default colours.
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::HighlightedText));
    QDialog::paintEvent(event);
}

bool ClassMenu::eventFilter(QObject *watched, QEvent *event)
{
    // A press on the toggle entry rebuilds the list under the mouse. While
    // that button is held, dragging would select the toggle entry of the new
    // list and flip the mode again, so one press toggles at most once.
    if (watched == m_List2->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_mousePressedOnList2 = true;
            m_toggledDuringPress = false;
            break;
        case QEvent::MouseMove:
            if (m_toggledDuringPress)
                return true;
            break;
        case QEvent::MouseButtonRelease:
            m_mousePressedOnList2 = false;
            m_toggledDuringPress = false;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
