#pragma once

#include <QTimer>
#include <QWidget>

namespace pelbrook {

/// A spinning activity indicator, large and white: twelve spokes, the brightest one turning.
class ActivityIndicatorView : public QWidget
{
    Q_OBJECT
public:
    explicit ActivityIndicatorView(QWidget *parent = nullptr);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_timer.isActive(); }
    /// Advances with every animation tick; for tests and diagnostics.
    int phase() const { return m_phase; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_phase = 0;
};

} // namespace pelbrook
