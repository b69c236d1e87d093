#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace pelbrook {

/**
 * A colour as four components from 0.0 to 1.0, with the two constructors the checkout's theme
 * uses: from hexadecimal text (the host's theme colours) and from a packed 0xRRGGBB integer.
 */
struct Color {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;

    constexpr Color() = default;
    constexpr Color(double r, double g, double b, double a)
        : red(r), green(g), blue(b), alpha(a)
    {
    }

    /**
     * From hexadecimal text, opaque. Leading white space and line breaks are skipped, then an
     * optional "0x"/"0X", then the longest run of hex digits is read (saturating at 64 bits set
     * on overflow). Only the low 24 bits count: RRGGBB, each byte over 255. Anything that reads
     * no digits, a leading "#" included, gives black.
     */
    explicit Color(const QString &hex);

    /// From a packed 0xRRGGBB integer; each byte is divided by 256 (so 0xFF gives 0.99609375).
    /// Alpha is taken as given.
    Color(quint32 hex, double alpha);

    /// Six upper-case hex digits, red first; components scaled by 255 and truncated.
    QString toHexString() const;

    QColor toQColor() const;

    friend bool operator==(const Color &, const Color &) = default;
};

/// The contrast ratio of two opaque colours, from 1 (the same) to 21 (black on white), from
/// their relative luminances as the web's accessibility guidelines define them.
double contrastRatio(const QColor &a, const QColor &b);

/**
 * The colour for text drawn on a gradient from @p from to @p to: @p preferred while it keeps a
 * contrast of at least 4.5:1 with both ends, otherwise black or white, whichever contrasts
 * more with the end where it contrasts least.
 */
QColor readableTextColour(const QColor &preferred, const QColor &from, const QColor &to);

/// A fixed palette, each member created once on first use.
struct Colors {
    static const Color &brightOrange();
    static const Color &red();
    static const Color &orange();
    static const Color &blue();
    static const Color &green();
    static const Color &darkGrey();
    static const Color &veryDarkGrey();
    static const Color &lightGrey();
    static const Color &black();
    static const Color &white();
};

/// An empty view class, for views that carry a gradient painted by setGradientBackground().
class GradientBackground : public QWidget
{
    Q_OBJECT
public:
    explicit GradientBackground(QWidget *parent = nullptr);
};

} // namespace pelbrook
