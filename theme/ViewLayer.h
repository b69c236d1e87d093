#pragma once

#include "theme/Color.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>
#include <QRegion>
#include <QSizeF>

class QPainter;
class QWidget;

namespace pelbrook {

/// A two-colour gradient painted behind a view's content, in the view's coordinates.
struct GradientLayer {
    QRect frame;
    Color colorOne;
    Color colorTwo;
    // Stops and axis, in the layer's unit space.
    static constexpr double FirstStop = 0.1;
    static constexpr double SecondStop = 1.0;
    static constexpr QPointF StartPoint{0.0, 0.0};
    static constexpr QPointF EndPoint{1.0, 2.0};

    bool isOpaque() const { return colorOne.alpha >= 1.0 && colorTwo.alpha >= 1.0; }
};

/**
 * The drawing properties a view carries beside its content: background colour, rounded
 * corners, border, shadow and a stack of gradient layers. Attached to a widget on first use
 * and painted beneath everything the widget paints itself.
 *
 * Gradient layers are only ever added. Index 0 is the uppermost; a new layer goes beneath all
 * earlier ones. Layers hidden behind an opaque layer above them are skipped when painting, so
 * a repaint costs the same however many layers have piled up. A layer that filled the view
 * when it was added keeps filling it as the view is resized.
 */
class ViewLayer : public QObject
{
    Q_OBJECT
public:
    /// The layer of @p view, created on first use.
    static ViewLayer *of(QWidget *view);
    /// The layer of @p view, or null if it has none yet.
    static ViewLayer *find(const QWidget *view);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    bool masksToBounds() const { return m_masksToBounds; }
    void setMasksToBounds(bool masks);
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width);

    QColor shadowColor() const { return m_shadowColor; }
    QSizeF shadowOffset() const { return m_shadowOffset; }
    double shadowOpacity() const { return m_shadowOpacity; }
    double shadowRadius() const { return m_shadowRadius; }
    void setShadow(const QColor &color, const QSizeF &offset, double opacity, double radius);

    /// Inserts a gradient beneath every layer already there.
    void insertGradientAtBottom(const GradientLayer &layer);
    /// All gradient layers, uppermost first.
    const QList<GradientLayer> &gradientLayers() const { return m_gradients; }
    /// How many gradient layers a repaint actually paints.
    int paintedGradientCount() const { return int(m_visibleGradients.size()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ViewLayer(QWidget *view);
    void paint(QPainter &painter) const;
    /// Square corners, no border and no shadow: the layer paints a plain rectangle.
    bool hasPlainShape() const;
    void updateMask();
    /// Tells Qt whether the layers cover the whole view in opaque colour.
    void updateOpaque();
    /// Counts @p layer, the lowest so far, in what a repaint paints.
    void noteGradientBelow(const GradientLayer &layer);
    /// Gives the layers that filled @p from the view's new bounds @p to.
    void followBounds(const QRect &from, const QRect &to);

    QWidget *m_view;
    /// The view's bounds when last seen.
    QRect m_bounds;
    QColor m_backgroundColor;
    double m_cornerRadius = 0;
    bool m_masksToBounds = false;
    double m_borderWidth = 0;
    QColor m_shadowColor;
    QSizeF m_shadowOffset;
    double m_shadowOpacity = 0;
    double m_shadowRadius = 0;
    QList<GradientLayer> m_gradients;
    QList<GradientLayer> m_visibleGradients; // uppermost first
    QRegion m_opaqueCover;
};

/// Adds one gradient layer, sized to the view's current bounds, beneath the view's earlier
/// layers (none is ever removed).
void setGradientBackground(QWidget *view, const Color &colorOne, const Color &colorTwo);

} // namespace pelbrook
