#pragma once

#include <QRectF>
#include <QString>

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

/// The style sheet rule that marks @p widget, drawn by a style sheet as @p selector, while the
/// keyboard is on it: a two-pixel border in the screens' highlight colour. @p padding is the
/// horizontal padding that keeps the content where it was with the widget's own border of
/// @p borderWidth. A tap or a click on the widget draws no mark, so its look under a finger or
/// a mouse stays its own; the mark shows when Tab or Backtab brings the focus, and when the
/// focus moves on by itself from a marked widget (a filled field passing it to the next).
QString focusBorderStyleSheet(QWidget *widget, const QString &selector, int borderWidth, int padding, int radius);

/**
 * Chains the controls that take the focus with Tab among @p container's descendants in
 * reading order: top to bottom, and left to right along a row (a control whose middle lies
 * beside the first control of a row joins that row). Hidden controls keep their place for
 * when they show. Call it once the controls are placed; the chain stays with them when the
 * container moves to another window.
 */
void chainFocusInReadingOrder(QWidget *container);

} // namespace pelbrook
