#include "platform/ui/TextFieldInputView.h"

#include "platform/ui/Palette.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace pelbrook {

TextFieldInputView *TextFieldInputView::of(QLineEdit *field)
{
    if (auto *existing = field->findChild<TextFieldInputView *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new TextFieldInputView(field);
}

TextFieldInputView::TextFieldInputView(QLineEdit *field)
    : QObject(field)
    , m_field(field)
    , m_panel(new QFrame)
{
    setObjectName(QStringLiteral("textFieldInputView"));
    // Read-only still takes the focus and shows the text, but no typing, pasting or dropping.
    field->setReadOnly(true);
    field->setCursor(Qt::PointingHandCursor);
    field->installEventFilter(this);

    m_panel->setObjectName(QStringLiteral("inputPanel"));
    m_panel->setPalette(screenPalette());
    m_panel->setAutoFillBackground(true);
    // What it holds stays white too under a host's style sheet, whose rules would reach it.
    m_panel->setStyleSheet(QStringLiteral("QFrame#inputPanel { background: white; border: 1px solid #c8c7cc; }"
                                          "#inputPanel QAbstractItemView, #inputPanel #toolbar { background: white; border: none; }"));
    auto *layout = new QVBoxLayout(m_panel);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_panel->hide();
}

TextFieldInputView::~TextFieldInputView()
{
    delete m_panel;
}

void TextFieldInputView::setInputView(QWidget *view)
{
    if (!m_panel)
        return;
    delete m_inputView;
    m_inputView = view;
    static_cast<QVBoxLayout *>(m_panel->layout())->addWidget(view);
}

void TextFieldInputView::setInputAccessoryView(QWidget *view)
{
    if (!m_panel)
        return;
    delete m_accessory;
    m_accessory = view;
    static_cast<QVBoxLayout *>(m_panel->layout())->insertWidget(0, view);
}

bool TextFieldInputView::isOpen() const
{
    return m_panel && m_panel->isVisible();
}

void TextFieldInputView::open()
{
    if (!m_panel || !m_inputView || m_field->isHidden())
        return;
    QWidget *window = m_field->window();
    if (m_window != window) {
        if (m_window)
            m_window->removeEventFilter(this);
        m_window = window;
        m_panel->setParent(window);
        window->installEventFilter(this);
    }
    for (const QMetaObject::Connection &connection : std::as_const(m_scrolling))
        disconnect(connection);
    m_scrolling.clear();
    for (QAbstractScrollArea *area : scrollAreasAround())
        m_scrolling << connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { if (isOpen()) place(); });
    place();
    m_panel->show();
    m_panel->raise();
}

void TextFieldInputView::close()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_scrolling))
        disconnect(connection);
    m_scrolling.clear();
    if (m_panel)
        m_panel->hide();
}

QList<QAbstractScrollArea *> TextFieldInputView::scrollAreasAround() const
{
    QList<QAbstractScrollArea *> areas;
    for (QWidget *w = m_field->parentWidget(); w && w != m_field->window(); w = w->parentWidget()) {
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w); area && area->viewport()->isAncestorOf(m_field))
            areas << area;
    }
    return areas;
}

void TextFieldInputView::setPlacementLimits(QWidget *bounds, const QList<QWidget *> &keepClear)
{
    m_bounds = bounds;
    m_keepClear = QList<QPointer<QWidget>>(keepClear.cbegin(), keepClear.cend());
    if (isOpen())
        place();
}

void TextFieldInputView::place()
{
    // Right under the field, starting at its left edge. Where the room under it down to the
    // next widget to keep clear (or the bounds) holds less than the accessory bar and a few
    // rows, above it instead, up to the previous one, if there is more room there. Either way
    // as tall as the room allows.
    QWidget *window = m_panel->parentWidget();
    QRect bounds = m_bounds ? QRect(m_bounds->mapTo(window, QPoint(0, 0)), m_bounds->size()) : window->rect();
    // Of bounds that scroll, the part on screen.
    for (QAbstractScrollArea *area : scrollAreasAround())
        bounds &= QRect(area->viewport()->mapTo(window, QPoint(0, 0)), area->viewport()->size());
    const QSize hint = m_panel->sizeHint();
    const QRect field(m_field->mapTo(window, QPoint(0, 0)), m_field->size());
    constexpr int Gap = 4;
    const int width = qMin(bounds.width(), qMax(field.width(), hint.width()));
    const int x = qBound(bounds.left(), field.left(), bounds.right() + 1 - width);
    int roomTop = bounds.top();
    int roomBottom = bounds.bottom() + 1;
    for (const QPointer<QWidget> &widget : std::as_const(m_keepClear)) {
        if (!widget || widget == m_field || !widget->isVisible())
            continue;
        const QRect r(widget->mapTo(window, QPoint(0, 0)), widget->size());
        if (r.right() < x || r.left() >= x + width)
            continue;
        if (r.top() > field.bottom())
            roomBottom = qMin(roomBottom, r.top());
        else if (r.bottom() < field.top())
            roomTop = qMax(roomTop, r.bottom() + 1);
    }
    const int below = roomBottom - Gap - (field.bottom() + 1 + Gap);
    const int above = field.top() - Gap - (roomTop + Gap);
    constexpr int Rows = 3 * 48;
    const int smallest = qMin(hint.height(), m_accessory ? m_accessory->sizeHint().height() + Rows : Rows);
    QRect panel;
    if (below >= smallest || below >= above)
        panel = QRect(x, field.bottom() + 1 + Gap, width, qMin(hint.height(), qMax(0, below)));
    else
        panel = QRect(x, field.top() - Gap - qMin(hint.height(), above), width, qMin(hint.height(), above));
    m_panel->setGeometry(panel);
}

bool TextFieldInputView::handleKey(int key)
{
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!isOpen())
            return false;
        close();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!isOpen()) {
            open();
            return true;
        }
        if (auto *list = qobject_cast<QAbstractItemView *>(m_inputView.data()); list && list->model()) {
            // Moving through the rows chooses each in turn, as turning a picker wheel does.
            const int last = list->model()->rowCount() - 1;
            const int row = list->currentIndex().row();
            const int next = key == Qt::Key_Up ? qMax(0, row - 1) : key == Qt::Key_Down ? qMin(last, row + 1)
                           : key == Qt::Key_Home ? 0 : last;
            if (last >= 0)
                list->setCurrentIndex(list->model()->index(next, 0));
        }
        return true;
    case Qt::Key_Space:
        if (!isOpen())
            open();
        return true;
    default:
        return false;
    }
}

bool TextFieldInputView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Resize && isOpen())
            place();
        return false;
    }
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // A window losing or regaining activation, or a popup, moves no focus of the buyer's.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            event->type() == QEvent::FocusIn ? open() : close();
        break;
    }
    case QEvent::Hide:
        close();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (isOpen())
            place();
        break;
    case QEvent::MouseButtonPress:
        if (!isOpen())
            open();
        break;
    case QEvent::ShortcutOverride: {
        // Keys the panel uses must not trigger a shortcut (a dialog's Escape, say) first.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (isOpen() && (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter)) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        if (handleKey(static_cast<QKeyEvent *>(event)->key())) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace pelbrook
