#pragma once

#include <pelbrook/ViewController.h>

#include <QColor>
#include <QList>
#include <QWidget>

namespace pelbrook {

/// A bar of buttons above an input view: items from the left, in the tint colour, on the bar
/// tint colour. Its buttons never take the keyboard focus from the field being edited.
class Toolbar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 44;

    explicit Toolbar(QWidget *parent = nullptr);

    void setBarTintColor(const QColor &color);
    void setTintColor(const QColor &color);
    void setItems(const QList<BarButtonItem> &items);
    /// Fixes the bar's height to its content.
    void sizeToFit();

private:
    void restyle();

    QColor m_barTint = Qt::white;
    QColor m_tint = QColor(0x00, 0x7a, 0xff);
};

} // namespace pelbrook
