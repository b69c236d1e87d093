#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QPainter;
class QRect;
class QWidget;

namespace pelbrook {

/**
 * The look the checkout's screens and bars are drawn in: black text on white, the platform
 * default of the screens' design. Every role is set, so a host application's palette (a dark
 * one, say) never reaches text whose colour the screens leave to the platform.
 */
QPalette screenPalette();

/**
 * Whether the host application styles its widgets with a style sheet. Its rules reach the
 * checkout's widgets too, over their palettes and their own painting: then the few widgets
 * whose look is fixed (fields, header labels, the bars' titles and buttons) shield it with a
 * style sheet of their own, which outranks the host's. Without one they are painted directly,
 * which is far cheaper.
 */
bool hostUsesStyleSheet();

/// Gives @p widget's text (its WindowText) the colour @p colour in every state, whatever a
/// host's style sheet says.
void setTextColour(QWidget *widget, const QColor &colour);

/// How a bar is drawn: its tint colour, let through a little when translucent.
struct BarStyle {
    QColor tint;
    bool translucent = true;
};

/// Paints a bar's background over @p rect, with a grey hairline along @p edge (the top or
/// bottom), where the bar meets the screen.
void paintBarBackground(QPainter &painter, const QRect &rect, const BarStyle &style, Qt::Edge edge);

/**
 * Under a host's style sheet (see hostUsesStyleSheet()), gives @p bar, by its object name, a
 * style sheet of its own that draws what paintBarBackground() would, and returns true;
 * otherwise returns false, and the bar paints itself.
 */
bool shieldBar(QWidget *bar, const BarStyle &style, Qt::Edge edge);

} // namespace pelbrook
