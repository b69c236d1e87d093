#include "theme/Color.h"

#include "platform/HexDigit.h"

#include <cmath>
#include <limits>

namespace pelbrook {

namespace {

// Reads an unsigned 64-bit hex number the way the platform scanner does.
quint64 scanHex(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i).isSpace()))
        ++i;
    if (i + 1 < text.size() && text.at(i) == QLatin1Char('0')
        && (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))
        && i + 2 < text.size() && hexDigitValue(text.at(i + 2)) >= 0)
        i += 2;
    quint64 value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text.at(i));
        if (digit < 0)
            break;
        if (value > (std::numeric_limits<quint64>::max() >> 4))
            overflow = true;
        value = (value << 4) | quint64(digit);
    }
    return overflow ? std::numeric_limits<quint64>::max() : value;
}

} // namespace

Color::Color(const QString &hex)
{
    const quint64 value = scanHex(hex);
    red = double((value >> 16) & 0xFF) / 255.0;
    green = double((value >> 8) & 0xFF) / 255.0;
    blue = double(value & 0xFF) / 255.0;
    alpha = 1.0;
}

Color::Color(quint32 hex, double a)
    : red(double((hex >> 16) & 0xFF) / 256.0)
    , green(double((hex >> 8) & 0xFF) / 256.0)
    , blue(double(hex & 0xFF) / 256.0)
    , alpha(a)
{
}

QString Color::toHexString() const
{
    // Out-of-range components are clamped so the text always has six digits.
    const auto byte = [](double component) { return qBound(0, int(component * 255.0), 255); };
    return QStringLiteral("%1%2%3")
        .arg(byte(red), 2, 16, QLatin1Char('0'))
        .arg(byte(green), 2, 16, QLatin1Char('0'))
        .arg(byte(blue), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QColor Color::toQColor() const
{
    return QColor::fromRgbF(float(qBound(0.0, red, 1.0)), float(qBound(0.0, green, 1.0)),
                            float(qBound(0.0, blue, 1.0)), float(qBound(0.0, alpha, 1.0)));
}

namespace {

double relativeLuminance(const QColor &colour)
{
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor readableTextColour(const QColor &preferred, const QColor &from, const QColor &to)
{
    constexpr double Readable = 4.5;
    const auto worst = [&](const QColor &text) { return qMin(contrastRatio(text, from), contrastRatio(text, to)); };
    if (worst(preferred) >= Readable)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return worst(white) >= worst(black) ? white : black;
}

#define PELBROOK_PALETTE_COLOUR(name, r, g, b)                                                                         \
    const Color &Colors::name()                                                                                        \
    {                                                                                                                  \
        static const Color colour(r / 255.0, g / 255.0, b / 255.0, 1.0);                                               \
        return colour;                                                                                                 \
    }

PELBROOK_PALETTE_COLOUR(brightOrange, 255, 69, 0)
PELBROOK_PALETTE_COLOUR(red, 255, 115, 115)
PELBROOK_PALETTE_COLOUR(orange, 255, 175, 72)
PELBROOK_PALETTE_COLOUR(blue, 74, 144, 228)
PELBROOK_PALETTE_COLOUR(green, 91, 197, 159)
PELBROOK_PALETTE_COLOUR(darkGrey, 85, 85, 85)
PELBROOK_PALETTE_COLOUR(veryDarkGrey, 13, 13, 13)
PELBROOK_PALETTE_COLOUR(lightGrey, 200, 200, 200)
PELBROOK_PALETTE_COLOUR(black, 0, 0, 0)
PELBROOK_PALETTE_COLOUR(white, 255, 255, 255)

#undef PELBROOK_PALETTE_COLOUR

GradientBackground::GradientBackground(QWidget *parent)
    : QWidget(parent)
{
}

} // namespace pelbrook
