#include "platform/ui/ActivityIndicatorView.h"

#include <QPainter>

namespace pelbrook {

namespace {
constexpr int Spokes = 12;
}

ActivityIndicatorView::ActivityIndicatorView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(1000 / Spokes); // one turn a second
    connect(&m_timer, &QTimer::timeout, this, [this]() {
        m_phase = (m_phase + 1) % Spokes;
        update();
    });
    hide();
}

void ActivityIndicatorView::startAnimating()
{
    show();
    m_timer.start();
}

void ActivityIndicatorView::stopAnimating()
{
    m_timer.stop();
    hide();
}

void ActivityIndicatorView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor base(Qt::white);
    const double side = qMin(width(), height());
    const double outer = side / 2.0;
    const double inner = outer * 0.45;
    const double thickness = qMax(2.0, side / 12.0);
    painter.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < Spokes; ++i) {
        // The spoke at the current phase is brightest; the ones behind it fade out.
        const int age = (m_phase - i + Spokes) % Spokes;
        QColor colour = base;
        colour.setAlphaF(float(1.0 - 0.75 * age / (Spokes - 1)));
        painter.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(i * 360.0 / Spokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + thickness / 2));
        painter.restore();
    }
}

} // namespace pelbrook
