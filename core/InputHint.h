#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace pelbrook {

/**
 * The red line above a screen's pay button that tells the buyer why a press was refused.
 *
 * Shows nothing until the host asks for hints (setEnabled()); without them a refused press
 * stays silent, and only the debug log says why. The label is made with the screen's views and
 * owned by their parent; the screen adds it beside its pay button and places it after every
 * layout pass.
 */
class InputHint
{
public:
    /// Makes the label, hidden, as a child of @p parent; once, with the screen's other views.
    /// Until then the line only remembers whether it is enabled.
    void makeLabel(QWidget *parent);

    /// The label, named "inputHintLabel"; null until makeLabel().
    QLabel *label() const { return m_label; }

    /// Whether refusals are shown to the buyer; off at first. Turning it off clears the line.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    /// Shows @p text and announces it to screen readers; does nothing while hints are off.
    void show(const QString &text);
    /// Empties and hides the line.
    void clear();
    /// Puts the line just above the pay button (@p payButtonGeometry, in the same parent):
    /// the same left edge and width, its bottom 4 pixels above the button's top, with room for
    /// two lines of text, which wrap upwards from the button. The room is the same whatever
    /// the text, so showing one never moves anything else.
    void place(const QRect &payButtonGeometry);
    /// The height of the line's room, and the room it needs above the button with its gaps.
    int reservedHeight() const;
    int roomNeeded() const;

private:
    QLabel *m_label = nullptr;
    QRect m_payButton;
    bool m_enabled = false;
};

} // namespace pelbrook
