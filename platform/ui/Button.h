#pragma once

#include "platform/Translations_p.h"

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QMargins>

namespace pelbrook {

/**
 * A push button drawn like a mobile toolkit's: an image and a title side by side, centred,
 * each shifted by its own edge insets, with an image and title per state (normal and
 * highlighted, i.e. pressed). Its background (colour, corner radius, gradients) comes from its
 * view layer, painted beneath the content. With the keyboard focus it shows a focus ring, and
 * Space, Enter or Return press it.
 *
 * Its presses are handled in the language it was made in: what they make (a screen's hint at a
 * refused pay press) reads as the rest of its screen.
 */
class Button : public QAbstractButton
{
    Q_OBJECT
public:
    enum class State { Normal, Highlighted };

    explicit Button(QWidget *parent = nullptr);

    void setImage(const QImage &image, State state);
    void setTitle(const QString &title, State state);
    QString title(State state) const;
    void setTitleColor(const QColor &color) { m_titleColor = color; update(); }
    QColor titleColor() const { return m_titleColor; }

    /// Insets as top, left, bottom, right; a negative inset grows the rectangle.
    void setImageEdgeInsets(const QMarginsF &insets) { m_imageInsets = insets; update(); }
    void setTitleEdgeInsets(const QMarginsF &insets) { m_titleInsets = insets; update(); }

    /// Where the image and the title are drawn in the current state.
    QRectF imageRect() const;
    QRectF titleRect() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    State currentState() const { return isDown() ? State::Highlighted : State::Normal; }
    QImage currentImage() const;
    QString currentTitle() const;

    QImage m_images[2];
    QString m_titles[2];
    QColor m_titleColor = Qt::black;
    QMarginsF m_imageInsets;
    QMarginsF m_titleInsets;
    const Language m_language = currentLanguage();
};

} // namespace pelbrook
