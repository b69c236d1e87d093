// The theme: colours from hex text, gradient layers, layout relations and their resolver, the
// busy overlay and the logo tiles.

#include "platform/ui/ActivityIndicatorView.h"
#include "theme/BusyOverlay.h"
#include "theme/Color.h"
#include "theme/Layout.h"
#include "theme/ViewLayer.h"
#include "theme/LogoTileDelegate.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace pelbrook;

Q_DECLARE_METATYPE(pelbrook::Color)

namespace {

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

const DroppedRelation *findDropped(const QList<DroppedRelation> &dropped, const QWidget *item, LayoutEdge edge)
{
    for (const DroppedRelation &d : dropped) {
        if (d.item == item && d.relation.edge == edge)
            return &d;
    }
    return nullptr;
}

} // namespace

class ThemeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourFromHexText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("rgb");
        QTest::addColumn<QString>("hex"); // as the colour writes itself back
        QTest::newRow("plain") << "FF4500" << 0xFF4500u << "FF4500";
        QTest::newRow("0x prefix") << "0xFF4500" << 0xFF4500u << "FF4500";
        QTest::newRow("0X prefix") << "0XFF4500" << 0xFF4500u << "FF4500";
        QTest::newRow("lower case") << "abcdef" << 0xABCDEFu << "ABCDEF";
        QTest::newRow("small bytes keep their zeros") << "010203" << 0x010203u << "010203";
        QTest::newRow("leading spaces and line breaks") << " \n\t FF4500" << 0xFF4500u << "FF4500";
        QTest::newRow("hash reads nothing") << "#FF4500" << 0u << "000000";
        QTest::newRow("empty") << "" << 0u << "000000";
        QTest::newRow("three digits are not shorthand") << "FFF" << 0x000FFFu << "000FFF";
        QTest::newRow("eight digits drop the first byte") << "80FF4500" << 0xFF4500u << "FF4500";
        QTest::newRow("seventeen digits saturate") << "FFFFFFFFFFFFFFFFF" << 0xFFFFFFu << "FFFFFF";
        QTest::newRow("overflow with other digits saturates") << "10000000000000000" << 0xFFFFFFu << "FFFFFF";
        QTest::newRow("stops at the first other character") << "FF4500zz" << 0xFF4500u << "FF4500";
        QTest::newRow("space ends the number") << "12 34" << 0x000012u << "000012";
        QTest::newRow("bare prefix") << "0x" << 0u << "000000";
        QTest::newRow("prefix without digits") << "0xZZ" << 0u << "000000";
    }
    void colourFromHexText()
    {
        QFETCH(QString, text);
        QFETCH(quint32, rgb);
        QFETCH(QString, hex);
        const Color c(text);
        QVERIFY(near(c.red, ((rgb >> 16) & 0xFF) / 255.0));
        QVERIFY(near(c.green, ((rgb >> 8) & 0xFF) / 255.0));
        QVERIFY(near(c.blue, (rgb & 0xFF) / 255.0));
        QCOMPARE(c.toHexString(), hex);
    }

    void gradientLayersStack()
    {
        QWidget view;
        view.resize(100, 100);
        setGradientBackground(&view, Color(QStringLiteral("FF0000")), Color(QStringLiteral("0000FF")));
        setGradientBackground(&view, Color(QStringLiteral("00FF00")), Color(QStringLiteral("00FF00")));
        view.resize(200, 50);
        setGradientBackground(&view, Color(QStringLiteral("FFFFFF")), Color(QStringLiteral("FFFFFF")));
        const ViewLayer *layer = ViewLayer::find(&view);
        QCOMPARE(layer->gradientLayers().size(), 3);
        // The first-added layer is uppermost, each later one beneath; the layers that filled
        // the view keep filling it once it is resized, so a grown view shows no bare strip.
        // A hidden view hears of its new size as it is drawn.
        const QImage shot = view.grab().toImage();
        QCOMPARE(layer->gradientLayers().at(0).colorOne.toHexString(), QStringLiteral("FF0000"));
        QCOMPARE(layer->gradientLayers().at(0).frame, QRect(0, 0, 200, 50));
        // Only the opaque top layer is worth painting: it covers the others.
        QCOMPARE(layer->paintedGradientCount(), 1);
        QCOMPARE(shot.pixelColor(1, 1), QColor(255, 0, 0));
        QVERIFY(shot.pixelColor(199, 49).blue() > 200);
        // A layer that did not fill the view stays where it was put.
        ViewLayer::of(&view)->insertGradientAtBottom({QRect(0, 0, 10, 10), Color(QStringLiteral("000000")), Color(QStringLiteral("000000"))});
        view.resize(200, 80);
        view.grab();
        QCOMPARE(layer->gradientLayers().at(2).frame, QRect(0, 0, 200, 80));
        QCOMPARE(layer->gradientLayers().at(3).frame, QRect(0, 0, 10, 10));
    }

    void gradientStopsAxisAndTranslucency()
    {
        QWidget view;
        view.resize(100, 100);
        setGradientBackground(&view, Color(QStringLiteral("000000")), Color(QStringLiteral("FFFFFF")));
        const QImage shot = view.grab().toImage();
        // Solid first colour over the first tenth of the axis; at the bottom-right corner of a
        // square the blend stands at three fifths of the axis, (0.6 - 0.1) / 0.9 of the way.
        QCOMPARE(shot.pixelColor(2, 2), QColor(0, 0, 0));
        QVERIFY(std::abs(shot.pixelColor(99, 99).red() - int(255 * 0.5 / 0.9)) <= 4);
        // A translucent layer lets the one below it show.
        QWidget translucent;
        translucent.resize(50, 50);
        setGradientBackground(&translucent, Color(0xFF0000u, 0.5), Color(0xFF0000u, 0.5));
        setGradientBackground(&translucent, Color(QStringLiteral("0000FF")), Color(QStringLiteral("0000FF")));
        const QColor seen = translucent.grab().toImage().pixelColor(25, 25);
        QVERIFY2(seen.red() > 100 && seen.blue() > 100, qPrintable(seen.name()));
    }

    // A view whose layers cover it in opaque colour lets Qt skip painting what lies beneath it;
    // anywhere else what lies beneath must still be painted.
    void whatShowsBeneathALayer_data()
    {
        QTest::addColumn<double>("cornerRadius");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<QRect>("layerFrame");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<bool>("beneathShows");
        QTest::addColumn<int>("grownTo");
        const QRect whole(0, 0, 80, 80);
        QTest::newRow("square and opaque") << 0.0 << 1.0 << whole << QPoint(50, 50) << false << 80;
        QTest::newRow("rounded corners") << 10.0 << 1.0 << whole << QPoint(10, 10) << true << 80;
        QTest::newRow("translucent") << 0.0 << 0.5 << whole << QPoint(50, 50) << true << 80;
        QTest::newRow("covering part of the view") << 0.0 << 1.0 << QRect(0, 0, 40, 80) << QPoint(80, 50) << true << 80;
        // Larger than the view, the layer does not grow with it, and the view outgrows it.
        QTest::newRow("outgrown") << 0.0 << 1.0 << QRect(0, 0, 85, 85) << QPoint(95, 95) << true << 90;
    }
    void whatShowsBeneathALayer()
    {
        QFETCH(double, cornerRadius);
        QFETCH(double, alpha);
        QFETCH(QRect, layerFrame);
        QFETCH(QPoint, probe);
        QFETCH(bool, beneathShows);
        QFETCH(int, grownTo);
        QWidget window;
        window.resize(100, 100);
        QPalette red = window.palette();
        red.setColor(QPalette::Window, Qt::red);
        window.setPalette(red);
        auto *view = new QWidget(&window);
        view->setGeometry(10, 10, 80, 80);
        ViewLayer *layer = ViewLayer::of(view);
        layer->insertGradientAtBottom({layerFrame, Color(0x0000FFu, alpha), Color(0x0000FFu, alpha)});
        layer->setCornerRadius(cornerRadius);
        view->resize(grownTo, grownTo);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QColor seen = window.grab().toImage().pixelColor(probe);
        QCOMPARE(seen.red() > 100, beneathShows);
        QCOMPARE(view->testAttribute(Qt::WA_OpaquePaintEvent), !beneathShows);
    }

    void setAnchorSignRules()
    {
        QWidget root;
        root.resize(400, 800);
        auto *reference = new QWidget(&root);
        setFrame(reference, QRectF(0, 100, 400, 100));
        auto *view = new QWidget(&root);
        setAnchor(view, {}, leftAnchor(&root), bottomAnchor(reference), rightAnchor(&root), 0, 10, 20, 20, 0, 30);
        LayoutResolver::resolve(&root);
        // Bottom 20 below the reference's bottom, right edge 20 inside the root's.
        QCOMPARE(view->geometry(), QRect(10, 190, 370, 30));
    }

    // Each row: a view asking for left/right/width relations in a 390-wide root; the resolver
    // picks the first combination that fits.
    void resolverChoices_data()
    {
        QTest::addColumn<double>("left");   // NaN: no relation
        QTest::addColumn<double>("right");  // padding from the root's right edge, NaN: none
        QTest::addColumn<double>("width");  // 0: none
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("dropped"); // the relation given up, or -1
        const double none = qQNaN();
        QTest::newRow("start and size fit: the end gives way") << 20.0 << 20.0 << 100.0 << 20 << 100 << int(LayoutEdge::Right);
        QTest::newRow("size would overflow: start and end") << 20.0 << 20.0 << 390.0 << 20 << 350 << int(LayoutEdge::Width);
        QTest::newRow("start beyond the end: end and size") << 830.0 << 20.0 << 130.0 << 240 << 130 << int(LayoutEdge::Left);
        QTest::newRow("start only keeps the current width") << 50.0 << none << 0.0 << 50 << 40 << -1;
        QTest::newRow("start too far: size at the current place") << 500.0 << none << 100.0 << 0 << 100 << int(LayoutEdge::Left);
    }
    void resolverChoices()
    {
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, width);
        QFETCH(int, x);
        QFETCH(int, w);
        QFETCH(int, dropped);
        QWidget root;
        root.resize(390, 600);
        auto *view = new QWidget(&root);
        view->setGeometry(0, 0, 40, 30);
        LayoutAnchor none;
        setAnchor(view, topAnchor(&root), qIsNaN(left) ? none : leftAnchor(&root), {}, qIsNaN(right) ? none : rightAnchor(&root),
                  10, qIsNaN(left) ? 0 : left, 0, qIsNaN(right) ? 0 : right, width, 0);
        const QList<DroppedRelation> result = LayoutResolver::resolve(&root);
        QCOMPARE(view->geometry().x(), x);
        QCOMPARE(view->geometry().width(), w);
        QCOMPARE(view->geometry().y(), 10);
        QVERIFY(dropped < 0 ? result.isEmpty() : findDropped(result, view, LayoutEdge(dropped)) != nullptr);
    }

    void resolverDropsSelfRelationsAndKeepsFrames()
    {
        QWidget root;
        root.resize(390, 600);
        auto *framed = new QWidget(&root);
        setFrame(framed, QRectF(19, 219.2, 342.1, 45));
        addRelation(framed, LayoutEdge::Leading, leadingAnchor(&root), 10);
        addSizeRelation(framed, LayoutEdge::Height, 25);
        auto *anchored = new QWidget(&root);
        setAnchor(anchored, topAnchor(framed), leftAnchor(&root), bottomAnchor(anchored), rightAnchor(anchored), 65, 20, 20, 20, 350, 45);
        const QList<DroppedRelation> dropped = LayoutResolver::resolve(&root);
        QCOMPARE(framed->geometry(), QRect(19, 219, 342, 45));
        QVERIFY(findDropped(dropped, framed, LayoutEdge::Leading));
        QVERIFY(findDropped(dropped, framed, LayoutEdge::Height));
        // Placed from the framed view's fractional top.
        QCOMPARE(anchored->geometry(), QRect(20, 284, 350, 45));
        QVERIFY(findDropped(dropped, anchored, LayoutEdge::Bottom)->reason.contains(QStringLiteral("non-zero")));
        QVERIFY(findDropped(dropped, anchored, LayoutEdge::Right));
    }

    void busyOverlayGeometry_data()
    {
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QColor>("box");
        QTest::newRow("theme colour") << "FF0000" << QColor(255, 0, 0);
        QTest::newRow("no theme colour") << "" << QColor(0, 0, 0);
    }
    void busyOverlayGeometry()
    {
        QFETCH(QString, colour);
        QFETCH(QColor, box);
        QWidget window;
        window.resize(390, 744);
        auto *root = new QWidget(&window);
        root->setGeometry(0, 0, 390, 744);
        window.show();
        BusyOverlay overlay;
        overlay.waitLoading(root, Color(colour));
        QCOMPARE(overlay.containerView()->parentWidget(), root);
        QCOMPARE(overlay.containerView()->geometry(), root->rect());
        // The box and its spinner are centred.
        QCOMPARE(overlay.progressView()->geometry().center(), root->rect().center());
        QCOMPARE(overlay.activityIndicator()->geometry().center(), overlay.progressView()->rect().center());
        QVERIFY(overlay.activityIndicator()->isAnimating());
        const QImage shot = window.grab().toImage();
        QCOMPARE(shot.pixelColor(195, 340), box); // inside the box, above the spinner
        const int phase = overlay.activityIndicator()->phase();
        QTRY_VERIFY(overlay.activityIndicator()->phase() != phase); // it spins

        overlay.waitLoading(root, Color(colour));
        QCOMPARE(root->findChildren<QWidget *>(QStringLiteral("containerView")).size(), 1);
        overlay.hideWaitLoading();
        QVERIFY(!overlay.isShown());
        QVERIFY(!overlay.activityIndicator()->isAnimating());
        QVERIFY(root->findChildren<QWidget *>(QStringLiteral("containerView")).isEmpty());
        overlay.hideWaitLoading();
        root->resize(300, 500);
        overlay.waitLoading(root, Color(colour));
        QVERIFY(overlay.isShown());
        QVERIFY(overlay.activityIndicator()->isAnimating());
        QCOMPARE(overlay.containerView()->geometry(), QRect(0, 0, 300, 500));
    }

    void busyOverlaySwallowsInput()
    {
        QWidget window;
        window.resize(390, 600);
        auto *root = new QWidget(&window);
        root->setGeometry(window.rect());
        auto *button = new QPushButton(QStringLiteral("Pay"), root);
        button->setGeometry(20, 100, 200, 50);
        auto *field = new QLineEdit(root);
        field->setGeometry(20, 200, 200, 40);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(120, 125));
        QCOMPARE(clicked.count(), 1); // the click reaches the button without the overlay
        field->setFocus();
        QTest::keyClicks(nullptr, QStringLiteral("ab"));
        QCOMPARE(field->text(), QStringLiteral("ab"));

        BusyOverlay overlay;
        overlay.waitLoading(root, Color(QStringLiteral("2f6fde")));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(120, 125));
        QTest::keyClicks(nullptr, QStringLiteral("cd"));
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Tab);
        QTest::keyClicks(nullptr, QStringLiteral("ef"));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(field->text(), QStringLiteral("ab"));

        overlay.hideWaitLoading();
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(120, 125));
        QCOMPARE(clicked.count(), 2);
    }

    void logoTiles_data()
    {
        QTest::addColumn<QSize>("tile");
        QTest::addColumn<QRect>("image");
        QTest::newRow("130 wide, tall enough") << QSize(130, 70) << QRect(0, 10, 130, 50);
        QTest::newRow("grid tile 140 x 40") << QSize(140, 40) << QRect(0, 0, 130, 40);
    }
    void logoTiles()
    {
        QFETCH(QSize, tile);
        QFETCH(QRect, image);
        const QRect at(QPoint(20, 30), tile);
        // Scaled to fit without distortion: a 2:1 image in a 130 x 50 rectangle is 100 x 50.
        const QRectF fitted = LogoTileDelegate::cardRect(at, QImage(200, 100, QImage::Format_ARGB32));
        QCOMPARE(fitted.size(), QSizeF(100, 50).scaled(image.size(), Qt::KeepAspectRatio));
        QCOMPARE(fitted.center(), QRectF(image.translated(at.topLeft())).center());
    }
};

QTEST_MAIN(ThemeTest)
#include "tst_theme.moc"
