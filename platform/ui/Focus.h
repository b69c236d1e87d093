#pragma once

class QWidget;

namespace pelbrook {

/**
 * Chains the controls that take the focus with Tab among @p container's descendants in
 * reading order: top to bottom, and left to right along a row (a control whose middle lies
 * beside the first control of a row joins that row). Hidden controls keep their place for
 * when they show. Call it once the controls are placed; the chain stays with them when the
 * container moves to another window.
 */
void chainFocusInReadingOrder(QWidget *container);

} // namespace pelbrook
