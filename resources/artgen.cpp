// Draws the library's artwork from artwork.txt and the bank list, so that the images are
// reproducible from source and no opaque binaries are committed. Every image is written at
// twice its size in points ("name@2x.png").
//
// Usage: pelbrook-artgen <artwork.txt> <banks.tsv> <output directory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace {

constexpr qreal Scale = 2.0;
const QColor Ink(0x1f, 0x2a, 0x44);
const QColor Grey(0x8e, 0x8e, 0x93);
const QColor Accent(0x2f, 0x6f, 0xde);

QFont sansFont(qreal pointSize, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(qRound(pointSize));
    font.setBold(bold);
    return font;
}

QImage canvas(QSizeF points)
{
    QImage image((points * Scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void begin(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(Scale, Scale);
}

// Tab icons: 25 x 25 points, line drawings.
QImage tabIcon(const QString &shape, const QColor &colour)
{
    QImage image = canvas({25, 25});
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (shape == QLatin1String("card")) {
        p.drawRoundedRect(QRectF(2, 5, 21, 15), 2.5, 2.5);
        p.fillRect(QRectF(2, 8.5, 21, 3), colour);
        p.drawLine(QPointF(5.5, 16), QPointF(10, 16));
    } else if (shape == QLatin1String("bank")) {
        QPainterPath roof;
        roof.moveTo(2, 9);
        roof.lineTo(12.5, 3);
        roof.lineTo(23, 9);
        roof.closeSubpath();
        p.drawPath(roof);
        for (qreal x : {5.5, 10.5, 15.5, 20.0})
            p.drawLine(QPointF(x, 11), QPointF(x, 19));
        p.drawLine(QPointF(2, 21.5), QPointF(23, 21.5));
    } else if (shape == QLatin1String("wallet")) {
        p.drawRoundedRect(QRectF(2.5, 6, 20, 15), 2.5, 2.5);
        p.drawLine(QPointF(5, 6), QPointF(17, 2.8));
        p.drawRoundedRect(QRectF(15, 11, 7.5, 5), 1.5, 1.5);
    } else { // upi: a phone with a forward arrow
        p.drawRoundedRect(QRectF(6, 2, 13, 21), 2.5, 2.5);
        p.drawLine(QPointF(9.5, 12.5), QPointF(15.5, 12.5));
        p.drawLine(QPointF(13, 10), QPointF(15.5, 12.5));
        p.drawLine(QPointF(13, 15), QPointF(15.5, 12.5));
    }
    return image;
}

QImage closeIcon()
{
    QImage image = canvas({22, 22});
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(14, 4), QPointF(7, 11));
    p.drawLine(QPointF(7, 11), QPointF(14, 18));
    return image;
}

QImage lockIcon()
{
    QImage image = canvas({18, 18});
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 2, 8, 10), 0, 180 * 16);
    p.drawLine(QPointF(5, 7), QPointF(5, 9));
    p.drawLine(QPointF(13, 7), QPointF(13, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3, 8.5, 12, 8.5), 1.5, 1.5);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(QPointF(9, 12.5), 1.3, 1.3);
    return image;
}

QImage gatewayLogo(const QString &name)
{
    // As wide as the disc and the name: a view that centres the image centres the mark.
    const QFont font = sansFont(19, true);
    const double width = std::ceil(27 + QFontMetricsF(font).horizontalAdvance(name) + 2);
    QImage image = canvas({width, 29});
    QPainter p(&image);
    begin(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawEllipse(QRectF(2, 4.5, 20, 20));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9.5), QPointF(9, 19.5));
    p.drawArc(QRectF(6.5, 9.5, 9, 6.5), -90 * 16, 180 * 16);
    p.setPen(Ink);
    p.setFont(font);
    p.drawText(QRectF(27, 0, width - 27, 29), Qt::AlignVCenter | Qt::AlignLeft, name);
    return image;
}

// Method tiles: 130 x 50 points, the method's name on a rounded card.
QImage tile(const QString &label, bool highlighted)
{
    QImage image = canvas({130, 50});
    QPainter p(&image);
    begin(p);
    p.setPen(QPen(highlighted ? Accent : QColor(0xc8, 0xc8, 0xc8), highlighted ? 2.0 : 1.0));
    p.setBrush(highlighted ? QColor(0xe8, 0xf0, 0xfd) : QColor(Qt::white));
    p.drawRoundedRect(QRectF(1, 1, 128, 48), 8, 8);
    p.setPen(highlighted ? Accent : Ink);
    p.setFont(sansFont(label.size() > 12 ? 13 : 16, true));
    p.drawText(QRectF(6, 0, 118, 50), Qt::AlignCenter | Qt::TextWordWrap, label);
    return image;
}

QImage handleLogo(const QString &label)
{
    QImage image = canvas({140, 40});
    QPainter p(&image);
    begin(p);
    p.setPen(Ink);
    p.setFont(sansFont(18, true));
    p.drawText(QRectF(0, 0, 140, 40), Qt::AlignCenter, label);
    return image;
}

// Bank logos (and other badges): a coloured disc with the name's initials; the hue comes from the code so that
// neighbours in the list differ.
QImage bankLogo(const QString &code, const QString &name)
{
    QImage image = canvas({40, 40});
    QPainter p(&image);
    begin(p);
    const int hue = int(qHash(code) % 360);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromHsv(hue, 150, 190));
    p.drawEllipse(QRectF(1, 1, 38, 38));
    QString initials;
    for (const QString &word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word != QLatin1String("Bank") && initials.size() < 2)
            initials += word.front().toUpper();
    }
    p.setPen(Qt::white);
    p.setFont(sansFont(15, true));
    p.drawText(QRectF(0, 0, 40, 40), Qt::AlignCenter, initials);
    return image;
}

bool save(const QImage &image, const QString &outputDir, const QString &path)
{
    const QString file = outputDir + QLatin1Char('/') + path + QStringLiteral("@2x.png");
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!image.save(file, "PNG")) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: pelbrook-artgen <artwork.txt> <banks.tsv> <output directory>\n");
        return 2;
    }
    const QString outputDir = QString::fromLocal8Bit(argv[3]);
    bool ok = true;

    QFile manifest(QString::fromLocal8Bit(argv[1]));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    QTextStream lines(&manifest);
    while (!lines.atEnd()) {
        const QString line = lines.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s{2,}|\\t")), Qt::SkipEmptyParts);
        if (fields.size() != 3) {
            std::fprintf(stderr, "artgen: bad line: %s\n", qPrintable(line));
            return 1;
        }
        const QString &kind = fields[0], &path = fields[1], &label = fields[2];
        QImage image;
        if (kind == QLatin1String("tab"))
            image = tabIcon(label, Accent);
        else if (kind == QLatin1String("tabgrey"))
            image = tabIcon(label, Grey);
        else if (kind == QLatin1String("close"))
            image = closeIcon();
        else if (kind == QLatin1String("lock"))
            image = lockIcon();
        else if (kind == QLatin1String("logo"))
            image = gatewayLogo(label);
        else if (kind == QLatin1String("tile") || kind == QLatin1String("tileh"))
            image = tile(label, kind == QLatin1String("tileh"));
        else if (kind == QLatin1String("handle"))
            image = handleLogo(label);
        else if (kind == QLatin1String("badge"))
            image = bankLogo(path, label);
        else {
            std::fprintf(stderr, "artgen: unknown kind %s\n", qPrintable(kind));
            return 1;
        }
        ok = save(image, outputDir, path) && ok;
    }

    QFile banks(QString::fromLocal8Bit(argv[2]));
    if (!banks.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    QTextStream bankLines(&banks);
    while (!bankLines.atEnd()) {
        const QStringList fields = bankLines.readLine().split(QLatin1Char('\t'));
        if (fields.size() == 2)
            ok = save(bankLogo(fields[0], fields[1]), outputDir, fields[0]) && ok;
    }
    return ok ? 0 : 1;
}
