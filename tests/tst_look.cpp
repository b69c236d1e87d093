// The fields and the bar's button paint themselves where style sheets once drew them; each state
// must come out as the style sheet drew it, pixel for pixel, on the white screen it lies on.

#include "platform/BarButton.h"
#include "platform/Palette.h"
#include "platform/Resources.h"
#include "platform/TextField.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QToolButton>

using namespace pelbrook;

namespace {

// As the buyer sees @p control at @p frame on a white page, reached with Tab from the control
// before it or not; a null image when the focus is not where it should be.
QImage look(QWidget *control, const QRect &frame, bool byTab)
{
    QWidget page;
    page.setPalette(screenPalette());
    page.setAutoFillBackground(true);
    page.resize(200, 120);
    QLineEdit first(&page);
    first.setGeometry(0, 0, 10, 10);
    control->setParent(&page);
    control->setGeometry(frame);
    control->show();
    page.show();
    page.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&page);
    first.setFocus();
    if (byTab)
        QTest::keyClick(&first, Qt::Key_Tab);
    const QImage image = active && byTab == control->hasFocus() ? page.grab(frame).toImage() : QImage();
    control->setParent(nullptr);
    return image;
}

} // namespace

class LookTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsTheStyleSheets_data()
    {
        QTest::addColumn<QString>("control"); // "field", "bare field", "button" or "pressed button"
        QTest::addColumn<QString>("styleSheet"); // how the state was drawn before
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byTab");
        QTest::addColumn<bool>("host"); // the host styles its widgets with a style sheet
        const QString ring = QStringLiteral("border: 2px solid %1; border-radius: %2px; ").arg(screenPalette().color(QPalette::Highlight).name());
        const QString rounded = QStringLiteral("QLineEdit { border: 1px solid #c7c7cc; border-radius: 5px; padding: 0 6px; "
                                               "background: white; color: black; }");
        const QString bare = QStringLiteral("QLineEdit { border: none; padding: 0 6px; background: transparent; color: black; }");
        const QString ringed = QStringLiteral("QLineEdit { %1padding: 0 %2px; background: %3; color: black; }");
        QTest::newRow("field, placeholder") << "field" << rounded << "" << false << false;
        QTest::newRow("field, typed") << "field" << rounded << "Asha Rao" << false << false;
        // Empty: Tab selects a field's text, and selected text now takes the checkout's highlight
        // where a style sheet gave it the host's.
        QTest::newRow("field, by Tab") << "field" << ringed.arg(ring.arg(5), QStringLiteral("5"), QStringLiteral("white")) << "" << true << false;
        QTest::newRow("bare field") << "bare field" << bare << "30" << false << false;
        QTest::newRow("bare field, by Tab") << "bare field" << ringed.arg(ring.arg(5), QStringLiteral("4"), QStringLiteral("transparent")) << "" << true << false;
        const QString button = QStringLiteral("QToolButton { border: none; border-radius: 6px; }"
                                              "QToolButton:pressed { background: rgba(0, 0, 0, 0.08); }");
        QTest::newRow("button") << "button" << button << "" << false << false;
        QTest::newRow("button, pressed") << "pressed button" << button << "" << false << false;
        // A host's style sheet says otherwise of every field and button; the checkout's keep theirs.
        QTest::newRow("field, typed, under a host's style sheet") << "field" << rounded << "Asha Rao" << false << true;
        QTest::newRow("field, by Tab, under a host's style sheet")
            << "field" << ringed.arg(ring.arg(5), QStringLiteral("5"), QStringLiteral("white")) << "" << true << true;
        QTest::newRow("button, pressed, under a host's style sheet") << "pressed button" << button << "" << false << true;
        QTest::newRow("button, by Tab") << "button" << QStringLiteral("QToolButton { %1padding: 0; }").arg(ring.arg(6)) << "" << true << false;
    }
    void sameAsTheStyleSheets()
    {
        QFETCH(QString, control);
        QFETCH(QString, styleSheet);
        QFETCH(QString, text);
        QFETCH(bool, byTab);
        QFETCH(bool, host);
        qApp->setStyleSheet(host ? QStringLiteral("QLineEdit { border: 3px solid red; background: yellow; color: green; padding: 9px; }"
                                                  "QToolButton { border: 2px solid red; background: orange; }")
                                 : QString());
        const auto noHostSheet = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        std::unique_ptr<QWidget> before, after;
        QRect frame(10, 20, 150, 40);
        if (control.endsWith(QLatin1String("button"))) {
            frame = QRect(8, 4, 36, 36);
            for (auto *button : {new QToolButton, static_cast<QToolButton *>(new BarButton)}) {
                button->setAutoRaise(true);
                button->setIcon(QIcon(QPixmap::fromImage(libraryImage(QStringLiteral("backArrow")))));
                button->setIconSize(QSize(22, 22));
                button->setDown(control.startsWith(QLatin1String("pressed")));
                (before ? after : before).reset(button);
            }
        } else {
            auto *field = new TextField;
            field->setRoundedBorder(control == QLatin1String("field"));
            after.reset(field);
            before = std::make_unique<QLineEdit>();
            for (auto *edit : {static_cast<QLineEdit *>(before.get()), static_cast<QLineEdit *>(field)}) {
                edit->setPlaceholderText(QStringLiteral("Enter Card Number"));
                edit->setText(text);
                edit->setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
            }
        }
        before->setStyleSheet(styleSheet);
        // Both reached the same way (a field reached by Tab selects its text); the old look has
        // the keyboard's ring drawn always, the new one must get it from the Tab.
        const QImage old = look(before.get(), frame, byTab);
        const QImage now = look(after.get(), frame, byTab);
        QVERIFY(!old.isNull() && !now.isNull());
        QCOMPARE(now, old);
    }

    // The host sets its style sheet, then drops it, while the field is up: the look stays.
    void hostSheetComesAndGoes()
    {
        TextField field;
        field.setText(QStringLiteral("Asha Rao"));
        const QRect frame(10, 20, 150, 40);
        const QImage plain = look(&field, frame, false);
        qApp->setStyleSheet(QStringLiteral("QLineEdit { border: 3px solid red; background: yellow; padding: 9px; }"));
        const auto noHostSheet = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        QCOMPARE(look(&field, frame, false), plain);
        qApp->setStyleSheet(QString());
        QCOMPARE(look(&field, frame, false), plain);
    }
};

QTEST_MAIN(LookTest)
#include "tst_look.moc"
