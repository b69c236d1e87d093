// The card screen: number formatting, editing through the real widgets, the pay checks and
// their hints, and the overlay over the payment page.

#include "CheckoutHelpers.h"

#include "card/CardNumberFormatter.h"

#include <QAccessible>
#include <QClipboard>
#include <QDate>

using namespace pelbrook;
namespace fmt = pelbrook::CardNumberFormatter;

namespace {

// The shared checkout on the card tab, with handles on the card screen's widgets.
struct CardCheckout : Checkout {
    explicit CardCheckout(QSize size = Phone) : Checkout(CardsTab, size) {}
    QWidget *overlay() { return root()->findChild<QWidget *>(QStringLiteral("containerView")); }

    cardViewController *card = static_cast<cardViewController *>(screen);
    QLineEdit *number = field("cardNumberTextField"), *holder = field("cardHolderNameTextField"),
              *month = field("cardExpiryMonthTextField"), *year = field("cardExpiryYearTextField"), *cvv = field("cardCvcTextField");
    QAbstractButton *pay = find<QAbstractButton>("cardPayButton");
};

} // namespace

class CardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline(); }

    // --- pure formatting ---

    // Grouping the digits ("group") and stripping what is not a digit ("strip"), each moving
    // the cursor with the text.
    void formatting_data()
    {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("moved");
        QTest::newRow("16 from 4000") << "group" << "4000123412341234" << 0 << "4000 1234 1234 1234" << 0;
        QTest::newRow("19 from 4000") << "group" << "4000123412341234123" << 0 << "4000 1234 1234 1234 123" << 0;
        QTest::newRow("15 from 3400") << "group" << "340012345612345" << 0 << "3400 123456 12345" << 0;
        QTest::newRow("19 from 1234") << "group" << "1234567890123456789" << 0 << "1234 56789 012345 6789" << 0;
        QTest::newRow("16 from 3050") << "group" << "3050123456123451" << 0 << "3050 123456 12345 1" << 0;
        QTest::newRow("19 in 4-6-5 runs on") << "group" << "3700123456123451234" << 0 << "3700 123456 12345 1234" << 0;
        QTest::newRow("3 alone") << "group" << "3" << 0 << "3" << 0;
        QTest::newRow("30 is 4-4-4-4") << "group" << "30123" << 0 << "3012 3" << 0;
        QTest::newRow("300 is 4-6-5") << "group" << "3001234567" << 0 << "3001 234567" << 0;
        QTest::newRow("36 is 4-6-5") << "group" << "36123456789" << 0 << "3612 345678 9" << 0;
        QTest::newRow("306 is 4-4-4-4") << "group" << "306123456" << 0 << "3061 2345 6" << 0;
        QTest::newRow("309 is 4-6-5") << "group" << "30912345678" << 0 << "3091 234567 8" << 0;
        QTest::newRow("empty") << "group" << "" << 0 << "" << 0;
        QTest::newRow("four digits, no trailing space") << "group" << "1234" << 4 << "1234" << 4;
        QTest::newRow("cursor before the first break") << "group" << "12345" << 3 << "1234 5" << 3;
        QTest::newRow("cursor at a break stays in front of the space") << "group" << "12345" << 4 << "1234 5" << 4;
        QTest::newRow("cursor after a break") << "group" << "12345" << 5 << "1234 5" << 6;
        QTest::newRow("cursor at the end of 16") << "group" << "4111111111111111" << 16 << "4111 1111 1111 1111" << 19;
        QTest::newRow("cursor after the 4-6-5 second break") << "group" << "371234567890123" << 11 << "3712 345678 90123" << 13;
        QTest::newRow("dashes before the cursor") << "strip" << "4111-1111-1111-1111" << 19 << "4111111111111111" << 16;
        QTest::newRow("letters after the cursor stay out of the count") << "strip" << "41ab11" << 2 << "4111" << 2;
        QTest::newRow("letters before the cursor") << "strip" << "a4b1c1" << 4 << "411" << 2;
        QTest::newRow("full-width digits are not digits") << "strip" << QStringLiteral("4１２3") << 4 << "43" << 2;
        QTest::newRow("emoji counts two code units") << "strip" << QStringLiteral("12😀34") << 6 << "1234" << 4;
        QTest::newRow("cursor inside an emoji") << "strip" << QStringLiteral("1😀2") << 2 << "12" << 1;
        QTest::newRow("lone surrogate") << "strip" << QString(QChar(0xD800)) + QStringLiteral("5") << 2 << "5" << 1;
    }
    void formatting()
    {
        QFETCH(QString, step);
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(QString, result);
        QFETCH(int, moved);
        QCOMPARE(step == QLatin1String("group") ? fmt::insertCreditCardSpaces(text, cursor) : fmt::removeNonDigits(text, cursor), result);
        QCOMPARE(cursor, moved);
    }

    // --- editing through the widgets ---

    void editing_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("cursor");
        // "<" is a backspace, ">" Shift+Right (the selection grows), "^V" pastes the rest.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("after");
        QTest::newRow("fifth digit") << "" << 0 << "12345" << "1234 5" << 6;
        QTest::newRow("at the start") << "1234 5678" << 0 << "9" << "9123 4567 8" << 1;
        QTest::newRow("in the middle") << "4234 5678" << 2 << "0" << "4203 4567 8" << 3;
        QTest::newRow("before a space") << "4234 5678" << 4 << "0" << "4234 0567 8" << 6;
        QTest::newRow("4-5-6 in the middle") << "1234 5678" << 2 << "0" << "1203 45678" << 3;
        QTest::newRow("delete after the only space") << "1234 5" << 6 << "<" << "1234" << 4;
        QTest::newRow("delete the space itself") << "1234 5678" << 5 << "<" << "1234 5678" << 4;
        QTest::newRow("delete a middle digit") << "1234 5678" << 7 << "<" << "1234 578" << 6;
        QTest::newRow("empty stays empty") << "" << 0 << "<" << "" << 0;
        QTest::newRow("switch to 4-6-5 while typing") << "3" << 1 << "71234567" << "3712 34567" << 10;
        QTest::newRow("letters are dropped") << "4111" << 4 << "x1" << "4111 1" << 6;
        // Deleting a space alone would change nothing once the digits are grouped again: it is undone.
        QTest::newRow("delete the last space of 19") << "4111 1111 1111 1111 111" << 20 << "<" << "4111 1111 1111 1111 111" << 19;
        QTest::newRow("delete a 4-6-5 space") << "3782 822463 10005 1234" << 12 << "<" << "3782 822463 10005 1234" << 11;
        // Nineteen digits are the most: a twentieth changes nothing, wherever it is typed.
        QTest::newRow("twentieth digit after a space") << "4111 1111 1111 1111 111" << 10 << "5" << "4111 1111 1111 1111 111" << 10;
        QTest::newRow("twentieth digit at the end") << "4111 1111 1111 1111 111" << 23 << "5" << "4111 1111 1111 1111 111" << 23;
        QTest::newRow("pasting sixteen digits with dashes") << "" << 0 << "^V4111-1111-1111-1111" << "4111 1111 1111 1111" << 19;
        QTest::newRow("pasting over a selection") << "4111 1111 1111 1111" << 5 << ">>>>>>>>>^V22-22" << "4111 2222 1111" << 9;
        QTest::newRow("pasting letters before the cursor") << "12" << 2 << "^Va3b4c5" << "1234 5" << 6;
        QTest::newRow("pasting an emoji") << "" << 0 << QStringLiteral("^V41😀11") << "4111" << 4;
        QTest::newRow("pasting too long is undone") << "4111 1111 1111 111" << 18 << "^V22222" << "4111 1111 1111 111" << 18;
    }
    void editing()
    {
        QFETCH(QString, start);
        QFETCH(int, cursor);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, after);
        CardCheckout c;
        QTest::keyClicks(c.number, QString(start).remove(QLatin1Char(' ')));
        QCOMPARE(c.number->text(), start);
        c.number->setCursorPosition(cursor);
        for (const QChar key : keys.section(QLatin1String("^V"), 0, 0)) {
            if (key == QLatin1Char('<') || key == QLatin1Char('>'))
                QTest::keyClick(c.number, key == QLatin1Char('<') ? Qt::Key_Backspace : Qt::Key_Right, key == QLatin1Char('<') ? Qt::NoModifier : Qt::ShiftModifier);
            else
                QTest::keyClicks(c.number, QString(key));
        }
        if (keys.contains(QLatin1String("^V"))) {
            QGuiApplication::clipboard()->setText(keys.section(QLatin1String("^V"), 1));
            QTest::keyClick(c.number, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(c.number->text(), text);
        QCOMPARE(c.number->cursorPosition(), after);
        QCOMPARE(c.card->cardNumberWithoutSpaces(), QString(text).remove(QLatin1Char(' ')));
    }

    // Text set without typing (a screen reader's or an automation tool's) is read as typed: the
    // number paid with is the one the field shows.
    void setByAssistiveTechnology_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("payAtOnce"); // pressed in the same turn of the event loop
        QTest::newRow("grouped") << "" << "4111 1111 1111 1111" << "4111 1111 1111 1111" << false;
        QTest::newRow("ungrouped, over typed digits") << "42" << "4111111111111111" << "4111 1111 1111 1111" << false;
        QTest::newRow("cleared") << "4111" << "" << "" << false;
        QTest::newRow("with dashes, paid at once") << "42" << "4111-1111-1111-1111" << "4111 1111 1111 1111" << true;
    }
    void setByAssistiveTechnology()
    {
        QFETCH(QString, typed);
        QFETCH(QString, set);
        QFETCH(QString, text);
        CardCheckout c;
        QTest::keyClicks(c.number, typed);
        QFETCH(bool, payAtOnce);
        QAccessible::queryAccessibleInterface(c.number)->setText(QAccessible::Value, set);
        if (payAtOnce) {
            QTest::mouseClick(c.pay, Qt::LeftButton);
            QCOMPARE(c.card->cardNumberWithoutSpaces(), QString(text).remove(QLatin1Char(' ')));
        }
        QTRY_COMPARE(c.card->cardNumberWithoutSpaces(), QString(text).remove(QLatin1Char(' ')));
        QCOMPARE(c.number->text(), text);
    }

    void expiryFieldsMoveOn()
    {
        CardCheckout c;
        LogCapture log;
        c.month->setFocus();
        // Letters and spaces are refused, and count toward nothing.
        QTest::keyClicks(c.month, QStringLiteral("a 1"));
        QCOMPARE(log.lines(), QStringList{QStringLiteral("Expiry Month Text input field should not be empty.")});
        QTest::keyClicks(c.month, QStringLiteral("2"));
        QCOMPARE(c.focused(), c.year);
        QTest::keyClicks(c.year, QStringLiteral("x3"));
        QTest::keyClicks(c.year, QStringLiteral("0"));
        QCOMPARE(c.focused(), c.cvv);
        QTest::keyClicks(c.cvv, QStringLiteral("1a2b"));
        QCOMPARE(QStringList({c.month->text(), c.year->text(), c.cvv->text()}), QStringList({"12", "30", "12"}));
        log.clear();
        QTest::keyClick(c.year, Qt::Key_Backspace);
        QCOMPARE(log.lines(), QStringList{QStringLiteral("Expiry Year Text input field should not be empty.")});

        c.month->clear();
        c.month->setFocus();
        log.clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("1x"));
        QTest::keyClick(c.month, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(c.month->text().isEmpty() && log.lines().isEmpty());
        QGuiApplication::clipboard()->setText(QStringLiteral("123"));
        QTest::keyClick(c.month, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(c.month->text(), QString());
        QCOMPARE(log.lines(), QStringList{QStringLiteral("Expiry Month Text input field should be only 2 digits.")});
        QCOMPARE(c.focused(), c.month);
    }

    // A keyboard user tabs on out of habit after the expiry fields moved the focus themselves.
    void tabAfterTheAutomaticMove_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Tab") << int(Qt::Key_Tab);
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab);
    }
    void tabAfterTheAutomaticMove()
    {
        QFETCH(int, key);
        const auto tab = [&](QWidget *w) { QTest::keyClick(w, Qt::Key(key)); };
        CardCheckout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.month->setFocus();
        QTest::keyClicks(c.focused(), QStringLiteral("12"));
        tab(c.focused());
        QTest::keyClicks(c.focused(), QStringLiteral("30"));
        QCOMPARE(c.month->text(), QStringLiteral("12"));
        QCOMPARE(c.year->text(), QStringLiteral("30"));
        QCOMPARE(c.cvv->text(), QString());
        // The move to the CVV forgives one Tab as well, and only one: the buyer is not trapped.
        tab(c.focused());
        QCOMPARE(c.focused(), c.cvv);
        tab(c.focused());
        QVERIFY(c.focused() != c.cvv);
    }

    // Return leaves every field as it was; a tap outside ends editing; the CVV is typed unseen.
    void returnKeyAndTapOutside()
    {
        CardCheckout c;
        QCOMPARE(c.cvv->echoMode(), QLineEdit::Password);
        for (QLineEdit *field : {c.number, c.holder, c.month, c.year, c.cvv}) {
            field->setFocus();
            const QString before = field->text();
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(c.focused(), field);
            QCOMPARE(field->text(), before);
        }
        QTest::mouseClick(c.root()->findChild<QLabel *>(QStringLiteral("cardExpiryLabel")), Qt::LeftButton);
        QVERIFY(c.focused() != c.cvv);
    }

    // --- paying ---

    // Each refusal with hints on shows its reason above the pay button; with hints off the
    // screen stays silent and makes only its own checks.
    void inputHints_data()
    {
        const QDate lastMonth = QDate::currentDate().addMonths(-1);
        const QStringList valid{"12", "30", "123"};
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("expiryAndCvv");
        QTest::addColumn<QString>("hint"); // with hints on; empty: the payment starts
        QTest::newRow("no token") << "" << "4111111111111111" << valid << "This payment cannot start. Please try again later.";
        QTest::newRow("short number") << "tok" << "4111" << valid << "Enter a 16 Digit Card Number";
        QTest::newRow("check digit") << "tok" << "4111111111111112" << valid << "Check the card number";
        QTest::newRow("month 13") << "tok" << "4111111111111111" << QStringList{"13", "30", "123"} << "Enter a valid expiry month";
        QTest::newRow("month 00") << "tok" << "4111111111111111" << QStringList{"00", "30", "123"} << "Enter a valid expiry month";
        QTest::newRow("one-digit year") << "tok" << "4111111111111111" << QStringList{"12", "3", "123"} << "Enter a valid expiry year";
        QTest::newRow("last month") << "tok" << "4111111111111111"
                                    << QStringList{lastMonth.toString("MM"), lastMonth.toString("yy"), "123"} << "This card has expired";
        QTest::newRow("this month") << "tok" << "4111111111111111"
                                    << QStringList{QDate::currentDate().toString("MM"), QDate::currentDate().toString("yy"), "123"} << "";
        QTest::newRow("two-digit CVV") << "tok" << "4111111111111111" << QStringList{"12", "30", "12"} << "Enter the 3 or 4 digit CVV";
        QTest::newRow("four-digit CVV") << "tok" << "4111111111111111" << QStringList{"12", "30", "1234"} << "";
    }
    void inputHints()
    {
        QFETCH(QString, token);
        QFETCH(QString, number);
        QFETCH(QStringList, expiryAndCvv);
        QFETCH(QString, hint);
        configure({.token = token});
        for (const bool on : {true, false}) {
            CardCheckout c;
            c.container.setShowsInputHints(on);
            QTest::keyClicks(c.number, number);
            c.month->setText(expiryAndCvv.at(0));
            c.year->setText(expiryAndCvv.at(1));
            c.cvv->setText(expiryAndCvv.at(2));
            LogCapture log;
            QTest::mouseClick(c.pay, Qt::LeftButton);
            auto *label = c.root()->findChild<QLabel *>(QStringLiteral("inputHintLabel"));
            const bool refused = on ? !hint.isEmpty() : token.isEmpty() || number.size() < 16;
            QCOMPARE(c.pay->isVisible(), refused);
            QCOMPARE(label->isVisible(), on && refused);
            if (!label->isVisible())
                continue;
            QCOMPARE(label->text(), hint);
            QVERIFY(!log.lines().join(QLatin1Char(' ')).contains(number));
            QCOMPARE(label->geometry().left(), c.pay->geometry().left());
            QCOMPARE(label->width(), c.pay->width());
            QCOMPARE(label->geometry().bottom() + 1 + 4, c.pay->geometry().top());
            QVERIFY(c.root()->rect().contains(inRoot(label, c.root())));
            QTest::keyClicks(c.holder, QStringLiteral("A"));
            QVERIFY(label->isHidden());
        }
    }

    // A host's style sheet may set the labels' font: the hint line keeps room for two lines of it.
    void hintRoomUnderAHostStyleSheet()
    {
        qApp->setStyleSheet(QStringLiteral("QLabel { font-size: 40px; }"));
        const auto noHostSheet = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        PGTabBarViewController container;
        container.setShowsInputHints(true);
        container.resize(Phone);
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));
        auto *label = container.findChild<QLabel *>(QStringLiteral("inputHintLabel"));
        QVERIFY(label);
        QCOMPARE(label->font().pixelSize(), 40);
        QVERIFY(label->height() >= 2 * label->fontMetrics().lineSpacing());
    }

    // A form posted nowhere never reaches an "https" page, so the overlay stays: what the buyer
    // then sees and touches is the overlay, not the page beneath it. The tab bar hides as the
    // payment starts and the root view grows; a resized window grows it again, and the overlay
    // and the payment page follow it.
    void overlayOverThePaymentPage()
    {
        configure({.env = QStringLiteral("NOWHERE")});
        CardCheckout c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.container));
        const int heightBefore = c.root()->height();
        QSignalSpy loaded(c.webView(), &BrowserView::loadFinished);
        fillCardDetails(c.root());
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QVERIFY(loaded.wait(10000));
        QVERIFY(c.webView()->isVisible());
        QVERIFY(c.overlayShown());
        QWidget *top = c.root()->childAt(c.root()->rect().center());
        QVERIFY(top);
        QVERIFY2(top == c.overlay() || c.overlay()->isAncestorOf(top), qPrintable(top->objectName()));
        QTRY_COMPARE(c.root()->height(), heightBefore + TabBarHeight);
        for (const QSize window : {Phone, QSize(700, 1000)}) {
            c.container.resize(window);
            QTRY_COMPARE(c.root()->height(), window.height() - NavigationController::BarHeight);
            QCOMPARE(c.overlay()->geometry(), c.root()->rect());
            QCOMPARE(c.root()->findChild<QWidget *>(QStringLiteral("progressView"))->geometry().center(), c.root()->rect().center());
            QCOMPARE(inRoot(c.webView(), c.root()), c.root()->rect());
        }
    }
};

QTEST_MAIN(CardTest)
#include "tst_card.moc"
