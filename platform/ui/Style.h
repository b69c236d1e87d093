#pragma once

#include <QColor>
#include <QProxyStyle>

class QLineEdit;
class QPainter;

namespace pelbrook {

/**
 * The checkout's look for its fields, bar buttons, scroll bars and keyboard focus, defined once here.
 *
 * A field (a QLineEdit) with a frame is black text on white inside a rounded grey border; one
 * without is bare text on whatever lies below. A bar button (a QToolButton) is its image (or
 * title) alone, with a light shade while pressed. Whatever the keyboard is on is ringed in the
 * highlight colour: Qt marks the window when Tab or Backtab moves the focus, and a click or a
 * tap on one of these widgets takes the mark away, so a control under a finger or a mouse keeps
 * its own look.
 *
 * Under a host's style sheet, each widget given this style gets a neutral sheet of its own that
 * puts the host's rules for its class aside, so this style still draws it; see applyToTree() for
 * the rest of a checkout.
 */
class CheckoutStyle : public QProxyStyle
{
    Q_OBJECT
public:
    /// Gives @p widget the checkout's look. A style is not inherited: every field and bar
    /// button is given it where it is made.
    static void apply(QWidget *widget);
    /// Keeps @p root, the outermost view of a checkout (a container, a screen shown on its own),
    /// and everything in it in the checkout's light look under a host's style sheet: the sheet's
    /// backgrounds and text colours do not reach in. Its other rules (fonts, borders of the
    /// host's own classes) still do.
    static void applyToTree(QWidget *root);
    /// Gives @p field the rounded border (the default of a field given the style), or none:
    /// bare text on whatever lies below.
    static void setFieldFrame(QLineEdit *field, bool rounded);

    /// Whether the control @p option describes has the focus and the keyboard brought it there.
    static bool hasKeyboardFocus(const QStyleOption *option);
    /// Whether @p widget has the focus and the keyboard brought it there.
    static bool hasKeyboardFocus(const QWidget *widget);

    /// The width of a scroll bar given this style.
    static constexpr int ThinScrollBarExtent = 8;

    /// The highlight colour of the keyboard's ring and of the chosen tab.
    static QColor highlight() { return QColor(0, 122, 255); }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    void polish(QWidget *widget) override;
    using QProxyStyle::polish;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CheckoutStyle(QStyle *base);
};

/**
 * Draws the mark of the control the keyboard is on, inside @p rect: a ring in the highlight
 * colour with a white ring just inside it. One of the two stands out on any background a
 * control may lie on (white, a merchant's gradient, the highlight colour itself).
 */
void drawFocusRing(QPainter &painter, const QRectF &rect, double radius);

/// Paints a bar's background over @p rect in @p tint, let through a little when
/// @p translucent, with a grey hairline along @p edge (the top or bottom), where the bar meets
/// the screen.
void paintBar(QPainter &painter, const QRect &rect, const QColor &tint, bool translucent, Qt::Edge edge);

} // namespace pelbrook
