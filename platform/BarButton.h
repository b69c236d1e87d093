#pragma once

#include <QToolButton>

namespace pelbrook {

/**
 * The button on a navigation bar: its image (or title) alone, a light shade while pressed,
 * and the keyboard's ring while the keyboard is on it.
 */
class BarButton : public QToolButton
{
public:
    explicit BarButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void shieldIfNeeded();

    bool m_shielded = false; // drawn by a style sheet of its own, over a host's
};

} // namespace pelbrook
