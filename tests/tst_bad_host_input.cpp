// What a host may hand the checkout by mistake: values of a megabyte, control characters,
// broken UTF-16, markup, theme colours that are not hex, odd wallet keys. The checkout shows
// them as plain text, stays usable, and pays with the values as given.

#include "CheckoutHelpers.h"

using namespace pelbrook;

namespace {

const QString Megabyte(1024 * 1024, QLatin1Char('m'));

// What an HTML form posts for a value: line breaks become CR LF, and a lone surrogate, which
// no page encoding can carry, becomes U+FFFD.
QString asPosted(QString value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool pairStart = value.at(i).isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate();
        if (pairStart)
            ++i;
        else if (value.at(i).isSurrogate())
            value[i] = QChar::ReplacementCharacter;
    }
    value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    value.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    value.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return value;
}

} // namespace

class BadHostInputTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkoutStillPays_data()
    {
        QTest::addColumn<QString>("text");      // merchant name, customer name, note, e-mail, notify address
        QTest::addColumn<QString>("colour");    // both theme colours
        QTest::addColumn<QStringList>("wallets");
        QTest::newRow("a megabyte each") << Megabyte << Megabyte << QStringList{Megabyte, QStringLiteral("paytm")};
        QTest::newRow("control characters") << QStringLiteral("A\x01\x07\x1b[31mB\tC\r\nD\rE\x7f")
                                            << QStringLiteral("\x01\x02") << QStringList{QStringLiteral("pay\x01tm\n")};
        QTest::newRow("broken UTF-16") << QStringLiteral("a\xD800" "b\xDC00" "c\U0001F600") << QStringLiteral("\xD800")
                                       << QStringList{QStringLiteral("\xDBFF")};
        QTest::newRow("markup") << QStringLiteral("<b>Bold</b> &amp; <img src='file:///etc/passwd'>") << QStringLiteral("#2f6fde")
                                << QStringList{QStringLiteral("../../etc/passwd"), QStringLiteral(":/x")};
        QTest::newRow("nothing at all") << QString() << QString() << QStringList{QString()};
    }
    void checkoutStillPays()
    {
        QFETCH(QString, text);
        QFETCH(QString, colour);
        QFETCH(QStringList, wallets);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        configure({.tokenUrl = text, .merchantName = text, .wallets = wallets, .tezOption = text, .color1 = colour, .color2 = colour,
                   .email = text, .token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00")),
                   .note = text, .name = text, .notifyUrl = text});

        PGTabBarViewController container;
        container.resize(Phone);
        QSignalSpy closed(&container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&container, &PGTabBarViewController::paymentResult);
        container.present();
        QVERIFY(QTest::qWaitForWindowExposed(&container));

        // Every tab shows, the wallets among them, and can be drawn.
        for (int i = 0; i < container.tabBar()->count(); ++i) {
            container.setSelectedIndex(i);
            QVERIFY(!container.grab().isNull());
        }
        container.setSelectedIndex(CardsTab);
        QWidget *screen = &container;

        // The header shows the name as text, cut to a line's worth.
        auto *name = screen->findChild<QLabel *>(QStringLiteral("merchNameLabel"));
        QCOMPARE(name->textFormat(), Qt::PlainText);
        const qsizetype cut = text.size() > 200 && text.at(199).isHighSurrogate() ? 199 : 200;
        QCOMPARE(name->text(), text.size() <= 200 ? text : text.left(cut) + QChar(0x2026));

        fillCardDetails(screen);
        QTest::mouseClick(screen->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);
        QCOMPARE(results.count(), 1);
        QVERIFY(results.first().first().toString().contains(QLatin1String("SUCCESS")));

        // The gateway got every value as given, as far as a form can carry it.
        const QList<QPair<QString, QString>> form = sandbox.lastForm();
        for (const char *field : {"customerName", "orderNote", "customerEmail", "notifyUrl"})
            QVERIFY2(formValue(form, QLatin1String(field)) == asPosted(text), field);
    }
};

QTEST_MAIN(BadHostInputTest)
#include "tst_bad_host_input.moc"
