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
};

} // namespace pelbrook
