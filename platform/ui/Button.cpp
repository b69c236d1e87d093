#include "platform/ui/Button.h"

#include "platform/ui/Style.h"

#include <QKeyEvent>
#include <QPainter>

namespace pelbrook {

Button::Button(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    CheckoutStyle::apply(this);
}

bool Button::event(QEvent *event)
{
    const LanguageScope language(m_language);
    return QAbstractButton::event(event);
}

void Button::setImage(const QImage &image, State state)
{
    m_images[int(state)] = image;
    update();
}

void Button::setTitle(const QString &title, State state)
{
    m_titles[int(state)] = title;
    if (state == State::Normal) {
        setText(title);
        if (accessibleName().isEmpty() || accessibleName() == title.trimmed())
            setAccessibleName(title.trimmed());
    }
    update();
}

QString Button::title(State state) const
{
    return m_titles[int(state)];
}

// A state without its own image or title shows the normal one.
QImage Button::currentImage() const
{
    const QImage &own = m_images[int(currentState())];
    return own.isNull() ? m_images[0] : own;
}

QString Button::currentTitle() const
{
    const QString &own = m_titles[int(currentState())];
    return own.isNull() ? m_titles[0] : own;
}

QRectF Button::imageRect() const
{
    const QImage image = currentImage();
    if (image.isNull())
        return {};
    const QSizeF imageSize = image.deviceIndependentSize();
    const double titleWidth = QFontMetricsF(font()).horizontalAdvance(currentTitle());
    const double contentLeft = (width() - imageSize.width() - titleWidth) / 2.0;
    QRectF rect(contentLeft, (height() - imageSize.height()) / 2.0, imageSize.width(), imageSize.height());
    // Insets move the centred image: top and left push it down and right, bottom and right up and left.
    rect.translate((m_imageInsets.left() - m_imageInsets.right()) / 2.0, (m_imageInsets.top() - m_imageInsets.bottom()) / 2.0);
    return rect;
}

QRectF Button::titleRect() const
{
    const QImage image = currentImage();
    const double imageWidth = image.isNull() ? 0.0 : image.deviceIndependentSize().width();
    const QFontMetricsF metrics(font());
    const double titleWidth = metrics.horizontalAdvance(currentTitle());
    const double contentLeft = (width() - imageWidth - titleWidth) / 2.0;
    QRectF rect(contentLeft + imageWidth, 0, titleWidth, height());
    return rect.marginsRemoved(m_titleInsets);
}

QSize Button::sizeHint() const
{
    const QImage image = currentImage();
    const double imageWidth = image.isNull() ? 0.0 : image.deviceIndependentSize().width();
    return QSize(int(imageWidth + QFontMetricsF(font()).horizontalAdvance(currentTitle())) + 24, 44);
}

void Button::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
    const QImage image = currentImage();
    if (!image.isNull())
        painter.drawImage(imageRect(), image);
    painter.setPen(m_titleColor);
    painter.setFont(font());
    painter.drawText(titleRect(), Qt::AlignCenter | Qt::TextSingleLine, currentTitle());
    if (CheckoutStyle::hasKeyboardFocus(this))
        drawFocusRing(painter, rect(), 8);
}

void Button::keyPressEvent(QKeyEvent *event)
{
    // A keyboard user presses a focused button with Enter as well as with Space; the plain
    // abstract button answers Space only.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace pelbrook
