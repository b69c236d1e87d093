// The wallet screen: the grid from the host's list, the code table, unsafe keys, the pay
// checks, the states on showing, the layout at several sizes, and a whole payment against the
// sandbox through the public API.

#include "CheckoutHelpers.h"
#include "LogCapture.h"
#include "SandboxProcess.h"

#include "platform/BrowserView.h"
#include "platform/NavigationController.h"
#include "theme/LogoTileDelegate.h"
#include "theme/LogoTileModel.h"

#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/walletViewController.h>

#include <QAbstractButton>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

using namespace pelbrook;

namespace {

const QString TokenLine = QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment).");
const QStringList SixWallets{"paytm", "airtel", "freecharge", "jio", "mobikwik", "ola"};

void configure(const QString &token, const QStringList &wallets = SixWallets, const QString &env = QStringLiteral("TEST"))
{
    PGTabBarViewController entry;
    entry.setConfig(env, QStringLiteral("sandbox-app"), QString(), QStringLiteral("Acme Books"), wallets, QString(),
                    QStringLiteral("2f6fde"), QStringLiteral("6a3fd0"));
    entry.createOrder(QStringLiteral("ORD1"), QStringLiteral("100.00"), QStringLiteral("buyer@example.com"), QStringLiteral("9999999999"),
                      token, QStringLiteral("Two books"), QStringLiteral("Asha Rao"), QStringLiteral("INR"), QString());
}

// A checkout on screen with the wallet tab shown, and handles on its widgets.
struct Checkout {
    explicit Checkout(QSize size = QSize(390, 844 + NavigationController::BarHeight + TabBarController::TabBarHeight))
    {
        container.resize(size);
        container.present();
        container.activateWindow();
        container.setSelectedIndex(tabIndex(container, QStringLiteral("Wallets")));
        screen = container.findChild<walletViewController *>();
        grid = container.findChild<QListView *>(QStringLiteral("walletCollection"));
        pay = container.findChild<QAbstractButton *>(QStringLiteral("wallet_paySecurelyBtn"));
    }
    QWidget *root() { return screen->view(); }
    BrowserView *webView() { return root()->findChild<BrowserView *>(QStringLiteral("wallet_webView")); }
    bool overlayShown()
    {
        QWidget *overlay = root()->findChild<QWidget *>(QStringLiteral("containerView"));
        return overlay && overlay->isVisible();
    }
    QModelIndex item(int row) { return grid->model()->index(row, 0); }
    bool hasLogos(int row) { return !LogoTileDelegate::logo(item(row), false).isNull() && !item(row).data(LogoTileModel::HighlightedImageRole).value<QImage>().isNull(); }
    bool chosen(int row) { return grid->selectionModel()->isSelected(item(row)); }
    void tap(int row) { clickItem(grid, row); }
    // Where the grid draws the card of @p row, in its viewport.
    QRect card(int row) { return LogoTileDelegate::cardRect(grid->visualRect(item(row)), LogoTileDelegate::logo(item(row), false)).toRect(); }

    PGTabBarViewController container;
    walletViewController *screen = nullptr;
    QListView *grid = nullptr;
    QAbstractButton *pay = nullptr;
};

} // namespace

class WalletTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        useUnreachableEndpoints();
        configure(QStringLiteral("tok"));
    }

    void gridKeepsTheHostsList_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("as given") << false;
        QTest::newRow("tiles chosen") << true;
    }
    void gridKeepsTheHostsList()
    {
        QFETCH(bool, chosen);
        configure(QStringLiteral("tok"), {"ola", "paytm", "NewPay", "paytm"});
        Checkout c;
        QCOMPARE(itemNames(c.grid), (QStringList{"Ola Money", "Paytm", "NewPay", "Paytm"}));
        QCOMPARE(c.screen->walletArray(), (QStringList{"ola", "paytm", "NewPay", "paytm"}));
        QCOMPARE(c.screen->wallet_code(), std::nullopt);
        QVERIFY(c.hasLogos(1));
        // No artwork for a key the library does not ship: its tile is drawn as theirs, with the key.
        QVERIFY(!c.hasLogos(2));
        QImage cards[2];
        for (int row : {1, 2}) {
            if (chosen)
                c.tap(row);
            cards[row - 1] = c.grid->viewport()->grab(c.card(row)).toImage();
        }
        // The border and the fill, at the middle of each edge and just inside it, as the artwork's.
        const int w = cards[1].width(), h = cards[1].height();
        for (const QPoint at : {QPoint(w / 2, 0), QPoint(w / 2, 1), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(8, 5)}) {
            const QColor a = cards[0].pixelColor(at), b = cards[1].pixelColor(at);
            QVERIFY2(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 60, qPrintable(a.name() + b.name()));
        }
        // And the key, in dark letters across the middle.
        int dark = 0;
        for (int y = h / 4; y < h * 3 / 4; ++y) {
            for (int x = 4; x < w - 4; ++x)
                dark += qGray(cards[1].pixel(x, y)) < 128;
        }
        QVERIFY2(dark > 40, qPrintable(QString::number(dark)));
    }

    void tapsAndKeys_data()
    {
        // Steps: a tile's number taps it, others are keys; then the tile marked and the one chosen, or -1.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("chosen");
        QTest::newRow("a tap") << "1" << -1 << 1;
        QTest::newRow("the last tap wins") << "0 5 2" << -1 << 2;
        QTest::newRow("an arrow after a tap") << "1 Right" << 2 << 1;
        QTest::newRow("Tab and arrows choose nothing") << "Tab Right Down" << 3 << -1;
        QTest::newRow("Space chooses, two to a row") << "Tab Right Down Space" << 3 << 3;
        QTest::newRow("End and Return") << "Tab End Return" << 5 << 5;
        QTest::newRow("a tap after the keyboard") << "Tab End 2" << -1 << 2;
    }
    void tapsAndKeys()
    {
        QFETCH(QString, steps);
        QFETCH(int, marked);
        QFETCH(int, chosen);
        Checkout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("Tab"))
                c.grid->setFocus(Qt::TabFocusReason);
            else if (bool tile = false; step.toInt(&tile), tile)
                c.tap(step.toInt());
            else
                QTest::keyClick(c.grid, QKeySequence::fromString(step)[0].key());
        }
        const QStringList codes{"4007", "4006", "4001", "4006", "4002", "4003"};
        QCOMPARE(c.screen->wallet_code(), chosen < 0 ? std::nullopt : std::optional<QString>(codes.at(chosen)));
        for (int i = 0; i < codes.size(); ++i)
            QCOMPARE(c.chosen(i), i == chosen);
        const QImage focused = c.grid->viewport()->grab().toImage();
        c.grid->clearFocus();
        const QImage unfocused = c.grid->viewport()->grab().toImage();
        // The mark is what the focus adds: inside the card of the keyboard's tile, its border whole.
        QRect mark;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x)
                mark |= focused.pixel(x, y) != unfocused.pixel(x, y) ? QRect(x, y, 1, 1) : QRect();
        }
        QVERIFY(marked < 0 ? mark.isEmpty() : !mark.isEmpty() && c.card(marked).adjusted(1, 1, -1, -1).contains(mark));
    }

    void codeTable_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("hasImage");
        QTest::newRow("paytm") << "paytm" << "4007" << true;
        QTest::newRow("airtel") << "airtel" << "4006" << true;
        QTest::newRow("freecharge") << "freecharge" << "4001" << true;
        QTest::newRow("jio shares airtel's code") << "jio" << "4006" << true;
        QTest::newRow("mobikwik") << "mobikwik" << "4002" << true;
        QTest::newRow("ola") << "ola" << "4003" << true;
        QTest::newRow("capitals are another key") << "PAYTM" << "3333" << false;
        QTest::newRow("unknown") << "amazonpay" << "3333" << false;
        QTest::newRow("empty key") << "" << "3333" << false;
        QTest::newRow("into another set") << "../upiHighlight.bundle/tez_h" << "3333" << false;
        QTest::newRow("back into its own set") << "x/../paytm" << "3333" << false;
        QTest::newRow("parent alone") << ".." << "3333" << false;
        QTest::newRow("backslash") << "..\\paytm" << "3333" << false;
    }
    void codeTable()
    {
        QFETCH(QString, key);
        QFETCH(QString, code);
        QFETCH(bool, hasImage);
        configure(QStringLiteral("tok"), {key});
        Checkout c;
        QCOMPARE(c.grid->model()->rowCount(), 1);
        QCOMPARE(c.hasLogos(0), hasImage);
        LogCapture log;
        c.tap(0);
        QCOMPARE(log.lines(), QStringList{key});
        QCOMPARE(c.screen->wallet_code(), std::optional<QString>(code));
        QVERIFY(c.chosen(0));
    }

    void payChecks_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QStringList>("wallets");
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("no token, no wallet") << "" << SixWallets << false << QStringList{TokenLine};
        QTest::newRow("no token") << "" << SixWallets << true << QStringList{"paytm", TokenLine};
        QTest::newRow("no wallet") << "tok" << SixWallets << false << QStringList{"Select a Wallet"};
        QTest::newRow("empty list") << "tok" << QStringList{} << false << QStringList{"Select a Wallet"};
        QTest::newRow("chosen") << "tok" << SixWallets << true << QStringList{"paytm", "It is TEST environment"};
    }
    void payChecks()
    {
        QFETCH(QString, token);
        QFETCH(QStringList, wallets);
        QFETCH(bool, choose);
        QFETCH(QStringList, log);
        configure(token, wallets);
        Checkout c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.container));
        QCOMPARE(c.grid->model()->rowCount(), wallets.size());
        LogCapture capture;
        if (choose)
            c.tap(0);
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(capture.lines(), log);
        const bool starts = log.last().startsWith(QLatin1String("It is"));
        QCOMPARE(c.overlayShown(), starts);
        QCOMPARE(c.webView()->isVisible(), starts);
        QCOMPARE(c.grid->isVisible(), !starts);
        QCOMPARE(c.container.isTabBarHidden(), starts);
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("merchNameLabel"))->isVisible(), !starts);
        QVERIFY(c.root()->findChild<QLabel *>(QStringLiteral("userMessageLabel"))->isVisible());
        // What the buyer touches where the pay button was: the page while paying, else the button.
        const QPoint payCentre = inRoot(c.pay, c.root()).center();
        QWidget *top = c.root()->childAt(payCentre);
        if (starts)
            QVERIFY(top == c.webView() || c.webView()->isAncestorOf(top) || c.root()->findChild<QWidget *>(QStringLiteral("containerView"))->isAncestorOf(top));
        else
            QCOMPARE(top, c.pay);
        // Nothing changes once the screen has settled.
        QTest::qWait(50);
        QCOMPARE(c.webView()->isVisible(), starts);
        QCOMPARE(c.grid->isVisible(), !starts);
    }

    void showingAgainRestoresTheInputs()
    {
        configure(QStringLiteral("tok"), SixWallets, QStringLiteral("NOWHERE"));
        Checkout c;
        c.tap(3);
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QVERIFY(c.webView()->isVisible());
        c.container.setSelectedIndex(tabIndex(c.container, QStringLiteral("Cards")));
        c.container.setSelectedIndex(tabIndex(c.container, QStringLiteral("Wallets")));
        // Once the screen has been shown.
        QTRY_VERIFY(c.webView()->isHidden());
        QVERIFY(!c.container.isTabBarHidden());
        QVERIFY(c.grid->isVisible());
        QVERIFY(c.pay->isVisible());
        QVERIFY(c.chosen(3));
        QCOMPARE(c.screen->wallet_code(), std::optional<QString>(QStringLiteral("4006")));
        // The bars went opaque white when the screen was shown.
        QVERIFY(!c.container.isTranslucent());
        QCOMPARE(c.container.barTintColor(), QColor(Qt::white));
        QVERIFY(!c.screen->navigationController()->isTranslucent());
    }

    void longListScrollsInsideTheGrid()
    {
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << SixWallets.at(i % SixWallets.size());
        configure(QStringLiteral("tok"), many);
        Checkout c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.container));
        QCOMPARE(c.grid->model()->rowCount(), 40);
        QVERIFY(c.grid->verticalScrollBar()->maximum() > 0);
        QWidget *root = c.root();
        QVERIFY(root->rect().contains(inRoot(c.pay, root)));
        QCOMPARE(root->childAt(inRoot(c.pay, root).center() - QPoint(0, 24)), c.pay);
        // The grid lies above the browser view and the summary: a tile takes its own clicks.
        QCOMPARE(root->childAt(c.grid->viewport()->mapTo(root, c.grid->visualRect(c.item(0)).center())), c.grid->viewport());
        // A finger drags the list along.
        QPointingDevice *finger = QTest::createTouchDevice();
        QWidget *viewport = c.grid->viewport();
        const QPoint start = viewport->rect().center() + QPoint(0, 60);
        QTest::touchEvent(viewport, finger).press(0, start, viewport);
        for (int step = 1; step <= 10; ++step) {
            QTest::qWait(16);
            QTest::touchEvent(viewport, finger).move(0, start - QPoint(0, step * 12), viewport);
        }
        QTest::touchEvent(viewport, finger).release(0, start - QPoint(0, 120), viewport);
        QTRY_VERIFY(c.grid->verticalScrollBar()->value() > 0);
        // The last wallet is reachable: the keyboard scrolls it into view.
        c.grid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.grid, Qt::Key_End);
        QVERIFY(c.grid->viewport()->rect().contains(c.grid->visualRect(c.item(39))));
    }

    void wholePaymentThroughThePublicInterface()
    {
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints();
        configure(sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00")), {"paytm", "airtel", "ola"});
        Checkout c;
        auto delegate = std::make_shared<CountingDelegate>();
        c.container.setResultDelegate(delegate);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        c.tap(2);
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);

        QCOMPARE(delegate->results.size(), 1);
        const QString result = c.container.getResult();
        QCOMPARE(delegate->results.first(), result);
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.first().first().toString(), result);
        QCOMPARE(QJsonDocument::fromJson(result.toUtf8()).object().value(QStringLiteral("status")).toString(), QStringLiteral("SUCCESS"));
        QVERIFY(!c.overlayShown());
        QVERIFY(!c.container.isVisible());

        const QList<QPair<QString, QString>> form = sandbox.lastForm();
        QStringList names;
        for (const auto &[name, value] : form)
            names << name;
        QCOMPARE(names.count(QStringLiteral("customerName")), 2);
        QCOMPARE(names.count(QStringLiteral("orderNote")), 2);
        QCOMPARE(formValue(form, QStringLiteral("wallet_code")), QStringLiteral("4003"));
        QCOMPARE(formValue(form, QStringLiteral("paymentOption")), QStringLiteral("wallet"));
        QCOMPARE(form.size(), 15);
    }
};

QTEST_MAIN(WalletTest)
#include "tst_wallet.moc"
