// A touch kiosk with Qt's on-screen keyboard: each field brings up the keyboard layout its
// input takes, and tells it what to keep secret and not to predict; the field whose list opens
// in place of a keyboard brings up none.

#include "CheckoutHelpers.h"

#include <QInputMethod>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>

#include <cstdio>
#include <cstdlib>

using pelbrook::PGTabBarViewController;

namespace {

// The keyboard's windows, once the input method has made them: the keyboard's own and the
// text selection handles'.
QList<QQuickWindow *> keyboardWindows()
{
    QList<QQuickWindow *> windows;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (auto *quick = qobject_cast<QQuickWindow *>(window))
            windows << quick;
    }
    return windows;
}

// The window that shows the keys.
QQuickWindow *keyboardWindow()
{
    for (QQuickWindow *window : keyboardWindows()) {
        if (window->findChild<QObject *>(QStringLiteral("keyboard")))
            return window;
    }
    return nullptr;
}

// The keyboard item, whose "layout" names the layout it shows.
QObject *keyboard()
{
    QQuickWindow *window = keyboardWindow();
    return window ? window->findChild<QObject *>(QStringLiteral("keyboard")) : nullptr;
}

// A real window system keeps the keyboard's windows from taking the focus, as their flags ask;
// the offscreen platform activates every window it shows, which would take the focus from the
// field and close the keyboard again. Made tooltips, they are shown without being activated.
void keepKeyboardFromTakingFocus()
{
    for (QQuickWindow *window : keyboardWindows())
        window->setFlags((window->flags() & ~Qt::WindowType_Mask) | Qt::ToolTip);
}

// Taps @p field in @p window, which has the focus, as a buyer's finger would.
void tap(QWidget &window, QLineEdit *field)
{
    // The keyboard's window is made at the first request for it; from then on it must not
    // take the focus from the field, as a real window system would not let it.
    for (int attempt = 0; attempt < 2; ++attempt) {
        keepKeyboardFromTakingFocus();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // A tap on a field that has the focus already asks for the keyboard.
        field->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(field, Qt::LeftButton);
    }
}

} // namespace

class TouchKeyboardTest : public QObject
{
    Q_OBJECT

    // A kiosk's screen: the checkout fills it.
    static constexpr QSize Screen{800, 800};

private Q_SLOTS:
    void initTestCase() { configure({}); }

    void fieldBringsUpItsLayout_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("layout"); // "digits", "letters" or "none"
        // The hints the keyboard is told, which it must have and which it must not.
        QTest::addColumn<int>("required");
        QTest::addColumn<int>("forbidden");
        const int secret = Qt::ImhSensitiveData | Qt::ImhNoPredictiveText;
        QTest::newRow("card number") << "Cards" << "cardNumberTextField" << "digits" << int(Qt::ImhDigitsOnly | secret) << 0;
        QTest::newRow("card holder") << "Cards" << "cardHolderNameTextField" << "letters" << 0
                                     << int(Qt::ImhDigitsOnly | Qt::ImhSensitiveData | Qt::ImhHiddenText);
        QTest::newRow("expiry month") << "Cards" << "cardExpiryMonthTextField" << "digits" << 0 << 0;
        QTest::newRow("expiry year") << "Cards" << "cardExpiryYearTextField" << "digits" << 0 << 0;
        QTest::newRow("CVV") << "Cards" << "cardCvcTextField" << "digits" << int(Qt::ImhDigitsOnly | Qt::ImhHiddenText | secret) << 0;
        QTest::newRow("UPI address") << "UPI" << "upiVpaTextField" << "letters" << int(Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText)
                                     << int(Qt::ImhDigitsOnly | Qt::ImhSensitiveData | Qt::ImhPreferUppercase);
        QTest::newRow("UPI handle") << "UPI" << "upiPostFixTextField" << "none" << 0 << 0;
    }

    void fieldBringsUpItsLayout()
    {
        QFETCH(QString, tab);
        QFETCH(QString, field);
        QFETCH(QString, layout);
        QFETCH(int, required);
        QFETCH(int, forbidden);
        PGTabBarViewController container;
        container.setGeometry(QRect(QPoint(0, 0), Screen));
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        container.setSelectedIndex(tab == QLatin1String("UPI") ? UpiTab : CardsTab);
        if (tab == QLatin1String("UPI")) {
            // The first app, Tez, takes an address with a bank handle.
            auto *grid = container.findChild<QAbstractItemView *>(QStringLiteral("upiCollection"));
            QVERIFY(grid && grid->model()->rowCount() > 0);
            clickItem(grid, 0);
        }
        auto *edit = container.findChild<QLineEdit *>(field);
        QVERIFY(edit);
        QTRY_VERIFY(edit->isVisible());
        if (layout == QLatin1String("none")) {
            // From a field that has the keyboard up, to the one whose list takes its place.
            auto *address = container.findChild<QLineEdit *>(QStringLiteral("upiVpaTextField"));
            QVERIFY(address);
            tap(container, address);
            QTRY_VERIFY(QGuiApplication::inputMethod()->isVisible());
            tap(container, edit);
            QTRY_VERIFY2(!QGuiApplication::inputMethod()->isVisible(), "the keyboard covers the list of handles");
            QWidget *panel = container.findChild<QWidget *>(QStringLiteral("inputPanel"));
            QVERIFY(panel && panel->isVisible());
            return;
        }
        tap(container, edit);
        QTRY_VERIFY(QGuiApplication::inputMethod()->isVisible());
        const int hints = edit->inputMethodQuery(Qt::ImHints).toInt();
        QCOMPARE(hints & required, required);
        QCOMPARE(hints & forbidden, 0);
        QObject *keys = keyboard();
        QVERIFY(keys);
        if (layout == QLatin1String("digits"))
            QTRY_VERIFY2(keys->property("layout").toString().endsWith(QLatin1String("/digits.qml")),
                         qPrintable(keys->property("layout").toString()));
        else
            QTRY_VERIFY2(keys->property("layout").toString().endsWith(QLatin1String("/main.qml")),
                         qPrintable(keys->property("layout").toString()));

        if (const QByteArray dir = qgetenv("PELBROOK_SCREENSHOT_DIR"); !dir.isEmpty() && field == QLatin1String("cardNumberTextField")) {
            QTest::keyClicks(edit, QStringLiteral("4111"));
            QVERIFY(eventLoopRoundTrip());
            // Typing on the offscreen platform activates the keyboard's window once more.
            container.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&container));
            edit->setFocus(Qt::MouseFocusReason);
            QTRY_VERIFY(edit->hasFocus());
            // What the buyer sees: the checkout, and the keyboard over its lower part.
            QImage screen(Screen, QImage::Format_RGB32);
            QPainter painter(&screen);
            painter.drawPixmap(0, 0, container.grab());
            const QRect keys = QGuiApplication::inputMethod()->keyboardRectangle().toRect();
            painter.drawImage(keys.topLeft(), keyboardWindow()->grabWindow().copy(keys));
            painter.end();
            screen.save(QStringLiteral("%1/touch-keyboard-digits.png").arg(QString::fromLocal8Bit(dir)));
        }
    }
};

int main(int argc, char **argv)
{
    // Qt's on-screen keyboard, as a kiosk starts with; it draws with Qt Quick, here in software.
    qputenv("QT_IM_MODULE", "qtvirtualkeyboard");
    qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    TouchKeyboardTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    // Qt 6.4's on-screen keyboard aborts while the application object is destroyed (its panel
    // resets a cursor once the GUI is gone), with any widget, ours or not. The results are
    // written by now: the process ends without that teardown.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(failures);
}

#include "tst_touch_keyboard.moc"
