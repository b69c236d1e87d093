#pragma once

#include <QRectF>
#include <QString>

class QColor;
class QPainter;
class QWidget;

namespace pelbrook {

/**
 * Draws the mark of the control the keyboard is on, inside @p rect: a ring in the screens'
 * highlight colour with a ring of their highlighted-text colour just inside it. One of the two
 * stands out on any background a control may lie on (white, a merchant's gradient, the
 * highlight colour itself). The colours come from screenPalette(), not the widget's: a widget
 * styled by a style sheet gets the host's palette back, a dark host's, say.
 */
void drawFocusRing(QPainter &painter, const QRectF &rect, double radius);

/// The width of the keyboard's ring around a field or a button.
constexpr double KeyboardRingWidth = 2.0;

/**
 * Follows where the keyboard is, for a widget that marks itself while the keyboard is on it
 * (see hasKeyboardFocusMark()): the widget is repainted as the mark comes and goes.
 */
void trackKeyboardFocus(QWidget *widget);

/**
 * Whether @p widget, followed by trackKeyboardFocus(), is to show its keyboard mark. A tap or
 * a click on the widget draws no mark, so its look under a finger or a mouse stays its own;
 * the mark shows when Tab or Backtab brings the focus, and when the focus moves on by itself
 * from a marked widget (a filled field passing it to the next).
 */
bool hasKeyboardFocusMark(const QWidget *widget);

/// The style sheet rule that rings @p widget, drawn by a style sheet as @p selector, while the
/// keyboard is on it (for a widget shielded from a host's style sheet, see
/// hostUsesStyleSheet()): a two-pixel border in the highlight colour. @p padding keeps the
/// content where it is with the widget's own border of @p borderWidth.
QString keyboardRingStyleSheet(const QString &selector, int borderWidth, int padding, int radius);

/**
 * Draws a solid border of @p width along the inside of @p rect, its corners rounded to
 * @p radius, the way the platform's style sheets draw one (edges, then two half corners each).
 */
void drawRoundedBorder(QPainter &painter, const QRectF &rect, double width, double radius, const QColor &colour);

/// Fills @p rect, its corners cut to @p radius as a style sheet's background is.
void fillRounded(QPainter &painter, const QRectF &rect, double radius, const QColor &colour);

/**
 * Chains the controls that take the focus with Tab among @p container's descendants in
 * reading order: top to bottom, and left to right along a row (a control whose middle lies
 * beside the first control of a row joins that row). Hidden controls keep their place for
 * when they show. Call it once the controls are placed; the chain stays with them when the
 * container moves to another window.
 */
void chainFocusInReadingOrder(QWidget *container);

} // namespace pelbrook
