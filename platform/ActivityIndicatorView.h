#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace pelbrook {

/// A spinning activity indicator: twelve spokes, the brightest one turning.
class ActivityIndicatorView : public QWidget
{
    Q_OBJECT
public:
    enum class Style { WhiteLarge, White, Gray };

    explicit ActivityIndicatorView(QWidget *parent = nullptr);

    void setStyle(Style style);
    Style style() const { return m_style; }
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_timer.isActive(); }
    /// Advances with every animation tick; for tests and diagnostics.
    int phase() const { return m_phase; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    Style m_style = Style::WhiteLarge;
    int m_phase = 0;
};

} // namespace pelbrook
