#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

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
 * checkout's widgets too, over their palettes: then the labels whose colour is fixed take it
 * from a style sheet of their own, which outranks the host's, and the fields and bar buttons a
 * neutral one (see CheckoutStyle). Without one no widget of the checkout has a style sheet,
 * which is far cheaper.
 */
bool hostUsesStyleSheet();

/// Gives @p widget's text (its WindowText) the colour @p colour in every state, whatever a
/// host's style sheet says.
void setTextColour(QWidget *widget, const QColor &colour);
/// Gives every view inside @p root the colour setTextColour() last gave it again, the way the
/// host's style sheet now asks for: as one comes or goes, the other way would be overridden.
void reapplyTextColours(QWidget *root);

} // namespace pelbrook
