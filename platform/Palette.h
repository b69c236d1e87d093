#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

namespace pelbrook {

/**
 * The look the checkout's screens and bars are drawn in: black text on white, the platform
 * default of the screens' design. Every role is set, so a host application's palette (a dark
 * one, say) never reaches text whose colour the screens leave to the platform.
 */
QPalette screenPalette();

/// The background of a bar: its tint colour, let through a little when translucent.
QString barBackground(const QColor &tint, bool translucent);

} // namespace pelbrook
