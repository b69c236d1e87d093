#include "platform/ui/Style.h"

#include "platform/ui/Palette.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QPainterPath>
#include <QStyleOption>
#include <QStyleFactory>
#include <QToolButton>

namespace pelbrook {

namespace {

constexpr int FieldPadding = 6;
constexpr double FieldRadius = 5;
constexpr double BarButtonRadius = 6;
constexpr double RingWidth = 2;
const QColor FieldBorder(0xc7, 0xc7, 0xcc);
// The shade under a finger or a pressed mouse button: black, 8 % opaque.
const QColor PressedShade(0, 0, 0, qRound(0.08 * 255));
const QColor Hairline(0xd0, 0xd0, 0xd0);

// A solid border of @p width along the inside of @p rect, its corners rounded to @p radius, as
// Qt's style sheets draw one (edges, then two half corners each): a field then looks the same
// whether this style or a style sheet draws it.
void drawRoundedBorder(QPainter &painter, const QRectF &rect, double width, double radius, const QColor &colour)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    const double w = width, r = radius, half = width / 2;
    const double left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    // The circles the corners' arcs follow, the pen centred on the border.
    const QRectF topLeft(left + half, top + half, 2 * r - w, 2 * r - w);
    const QRectF topRight(right - 2 * r + half, top + half, 2 * r - w, 2 * r - w);
    const QRectF bottomLeft(left + half, bottom - 2 * r + half, 2 * r - w, 2 * r - w);
    const QRectF bottomRight(right - 2 * r + half, bottom - 2 * r + half, 2 * r - w, 2 * r - w);
    // Bottom, right, left, top: the antialiased corners come out as the platform draws them
    // only in this order and with these directions.
    painter.fillRect(QRectF(left + r, bottom - w, rect.width() - 2 * r, w), colour);
    painter.drawArc(bottomLeft, 225 * 16, 45 * 16);
    painter.drawArc(bottomRight, 270 * 16, 45 * 16);
    painter.fillRect(QRectF(right - w, top + r, w, rect.height() - 2 * r), colour);
    painter.drawArc(bottomRight, 315 * 16, 45 * 16);
    painter.drawArc(topRight, 0, 45 * 16);
    painter.fillRect(QRectF(left, top + r, w, rect.height() - 2 * r), colour);
    painter.drawArc(topLeft, 135 * 16, 45 * 16);
    painter.drawArc(bottomLeft, 180 * 16, 45 * 16);
    painter.fillRect(QRectF(left + r, top, rect.width() - 2 * r, w), colour);
    painter.drawArc(topLeft, 135 * 16, -45 * 16);
    painter.drawArc(topRight, 45 * 16, 45 * 16);
    painter.restore();
}

void fillRounded(QPainter &painter, const QRectF &rect, double radius, const QColor &colour)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, colour);
    painter.restore();
}

// Marks the outermost view of a checkout's tree (see CheckoutStyle::applyToTree()).
const char *const TreeMark = "pelbrookCheckoutTree";

// The host's rules for a class, put aside: with a native border and no background or padding
// of the sheet's own, Qt's style sheet engine leaves the drawing to this style.
QString neutralSheet(const QWidget *widget)
{
    // Everything in a checkout keeps its own light look: a host's backgrounds and text colours
    // stop at its outermost views, whose sheet is preferred to the host's whatever the rules'
    // selectors. The backgrounds are the checkout's palette's; text is black, as on its screens,
    // unless a view sets a colour of its own. (A sheet's palette() is the application's, which
    // may be a dark one.)
    if (widget->property(TreeMark).toBool())
        return hostUsesStyleSheet() ? QStringLiteral("QWidget { background: none; color: black; }") : QString();
    const char *selector = qobject_cast<const QLineEdit *>(widget) ? "QLineEdit"
                           : qobject_cast<const QToolButton *>(widget) ? "QToolButton"
                                                                        : nullptr;
    if (!selector || !hostUsesStyleSheet())
        return QString();
    // The text keeps the widget's own colour: a field's text, black (see polish()), a button's
    // title. Named, not palette(): a sheet's palette is the application's, which may be dark.
    const QColor colour = qobject_cast<const QLineEdit *>(widget) ? QColor(Qt::black) : widget->palette().color(QPalette::ButtonText);
    return QStringLiteral("%1 { border: native; background: none; padding: 0; color: %2; }").arg(QLatin1String(selector), colour.name(QColor::HexArgb));
}

} // namespace

CheckoutStyle::CheckoutStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void CheckoutStyle::apply(QWidget *widget)
{
    // One for every checkout, never deleted: widgets of a checkout may outlive any owner. On
    // the style the host set, where Qt can make another of it, not the desktop's default.
    static CheckoutStyle *const shared = new CheckoutStyle(QStyleFactory::create(QApplication::style()->name()));
    widget->setStyleSheet(neutralSheet(widget));
    widget->setStyle(shared);
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        setFieldFrame(field, true);
}

namespace {

// Gives each outermost view the sheet that keeps a host's backgrounds and colours out, again
// whenever the host sets or drops its style sheet.
class TreeSheetKeeper : public QObject
{
public:
    static void keep(QWidget *root)
    {
        static TreeSheetKeeper *const shared = new TreeSheetKeeper;
        root->installEventFilter(shared);
        update(root);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Not while the style is being changed: setting a sheet then would replace the style
        // sheet engine that is at work.
        if (event->type() == QEvent::StyleChange)
            QMetaObject::invokeMethod(watched, [root = static_cast<QWidget *>(watched)] { update(root); }, Qt::QueuedConnection);
        return false;
    }

private:
    static void update(QWidget *root)
    {
        if (const QString sheet = neutralSheet(root); root->styleSheet() != sheet) {
            root->setStyleSheet(sheet);
            reapplyTextColours(root);
        }
    }
};

} // namespace

void CheckoutStyle::applyToTree(QWidget *root)
{
    // Not given this style: what is inside draws with the host's style, as before.
    root->setProperty(TreeMark, true);
    TreeSheetKeeper::keep(root);
}

void CheckoutStyle::setFieldFrame(QLineEdit *field, bool rounded)
{
    field->setFrame(rounded);
    // The border's width joins the padding, so the text lies where it would in a bare field one
    // pixel further in. Margins, not the style's contents rectangle: a host's style sheet
    // decides that rectangle, and the neutral sheet makes it the whole field.
    const int inset = rounded ? 1 : 0;
    field->setTextMargins(FieldPadding + inset, inset, FieldPadding + inset, inset);
}

bool CheckoutStyle::hasKeyboardFocus(const QStyleOption *option)
{
    return (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
}

bool CheckoutStyle::hasKeyboardFocus(const QWidget *widget)
{
    return widget->hasFocus() && widget->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void CheckoutStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    widget->installEventFilter(this);
    if (auto *field = qobject_cast<QLineEdit *>(widget)) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Text, Qt::black);
        // The placeholder is the text's colour half let through.
        palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
        palette.setBrush(QPalette::Base, Qt::transparent);
        // Set here, not inherited: a style sheet hands a widget the application's palette again.
        palette.setColor(QPalette::Highlight, highlight());
        palette.setColor(QPalette::HighlightedText, Qt::white);
        field->setPalette(palette);
    }
    // Polished again whenever the host sets or drops its style sheet. The widget's own sheet
    // follows once this polish is over: setting it now would delete the style sheet engine
    // that is polishing the widget.
    if (neutralSheet(widget) != widget->styleSheet()) {
        QMetaObject::invokeMethod(widget, [widget] {
            if (const QString sheet = neutralSheet(widget); widget->styleSheet() != sheet)
                widget->setStyleSheet(sheet);
        }, Qt::QueuedConnection);
    }
}

void CheckoutStyle::unpolish(QWidget *widget)
{
    widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool CheckoutStyle::eventFilter(QObject *watched, QEvent *event)
{
    // A click or a tap is not the keyboard: the window's mark goes until Tab brings it back,
    // also from a field that keeps the focus (a press on a button that takes none).
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::TouchBegin) {
        QWidget *window = static_cast<QWidget *>(watched)->window();
        if (window->testAttribute(Qt::WA_KeyboardFocusChange)) {
            window->setAttribute(Qt::WA_KeyboardFocusChange, false);
            if (QWidget *focused = window->focusWidget())
                focused->update();
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

void CheckoutStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
    if (element != PE_PanelLineEdit || !frame) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRectF rect(option->rect);
    const auto *field = qobject_cast<const QLineEdit *>(widget);
    const bool rounded = field ? field->hasFrame() : frame->lineWidth > 0;
    if (rounded)
        fillRounded(*painter, rect, FieldRadius, Qt::white);
    // The ring takes the border's place, and from the padding, not the text.
    if (hasKeyboardFocus(option))
        drawRoundedBorder(*painter, rect, RingWidth, FieldRadius, highlight());
    else if (rounded)
        drawRoundedBorder(*painter, rect, 1, FieldRadius, FieldBorder);
}

void CheckoutStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                       const QWidget *widget) const
{
    const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    if (control != CC_ToolButton || !button) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRectF rect(option->rect);
    if (option->state & State_Sunken)
        fillRounded(*painter, rect, BarButtonRadius, PressedShade);
    if (hasKeyboardFocus(option))
        drawRoundedBorder(*painter, rect, RingWidth, BarButtonRadius, highlight());
    // The image stays where it is, pressed or under the mouse.
    QStyleOptionToolButton label(*button);
    label.state &= ~(State_Sunken | State_MouseOver | State_On);
    drawControl(CE_ToolButtonLabel, &label, painter, widget);
}

int CheckoutStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    // A field's border lies inside its margins (see setFieldFrame()), under a host's style
    // sheet too, which would otherwise take this width off the text's room.
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QLineEdit *>(widget))
        return 0;
    // A scroll bar given this style is a narrow one, as on a touch screen: on a phone-wide
    // window it leaves the screens the width their tiles need.
    if (metric == PM_ScrollBarExtent && qobject_cast<const QScrollBar *>(widget))
        return ThinScrollBarExtent;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect CheckoutStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    // The field's margins place its text (see setFieldFrame()).
    if (element == SE_LineEditContents && qstyleoption_cast<const QStyleOptionFrame *>(option))
        return option->rect;
    return QProxyStyle::subElementRect(element, option, widget);
}

void drawFocusRing(QPainter &painter, const QRectF &rect, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const double half = RingWidth / 2;
    painter.setPen(QPen(CheckoutStyle::highlight(), RingWidth));
    painter.drawRoundedRect(rect.adjusted(half, half, -half, -half), radius, radius);
    const double inner = RingWidth + half;
    painter.setPen(QPen(Qt::white, RingWidth));
    painter.drawRoundedRect(rect.adjusted(inner, inner, -inner, -inner), qMax(0.0, radius - RingWidth), qMax(0.0, radius - RingWidth));
    painter.restore();
}

void paintBar(QPainter &painter, const QRect &rect, const QColor &tint, bool translucent, Qt::Edge edge)
{
    QColor background = tint;
    // The alpha rounded to eight bits, as a style sheet's rgba() is: the bar looks the same
    // whichever draws it.
    if (translucent)
        background.setAlpha(qRound(0.92 * 255));
    painter.fillRect(rect, background);
    const QRect line = edge == Qt::TopEdge ? QRect(rect.left(), rect.top(), rect.width(), 1)
                                           : QRect(rect.left(), rect.bottom(), rect.width(), 1);
    painter.fillRect(line, Hairline);
}

} // namespace pelbrook
