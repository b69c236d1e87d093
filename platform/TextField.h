#pragma once

#include <QLineEdit>

namespace pelbrook {

/**
 * A one-line text field as the screens draw it: black text on white inside a rounded grey
 * border, or bare text on whatever lies below, and ringed in the highlight colour while the
 * keyboard is on it. The text stays in place whichever way it is drawn.
 */
class TextField : public QLineEdit
{
public:
    explicit TextField(QWidget *parent = nullptr);

    /// With the rounded border and white background (the default), or bare.
    void setRoundedBorder(bool rounded);
    bool hasRoundedBorder() const { return m_rounded; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool m_rounded = true;
    bool m_shielded = false; // drawn by a style sheet of its own, over a host's
};

} // namespace pelbrook
