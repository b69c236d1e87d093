// The wallet screen: the grid from the host's list, the code table, unsafe keys, the states on
// showing, and a long list.

#include "CheckoutHelpers.h"

#include "theme/LogoTileDelegate.h"
#include "theme/LogoTileModel.h"

#include <QScrollBar>

using namespace pelbrook;

namespace {

const QStringList SixWallets{"paytm", "airtel", "freecharge", "jio", "mobikwik", "ola"};

// The shared checkout on the wallet tab, with handles on its grid.
struct WalletCheckout : Checkout {
    WalletCheckout() : Checkout(WalletsTab) {}
    QModelIndex item(int row) { return grid->model()->index(row, 0); }
    bool hasLogos(int row) { return !LogoTileDelegate::logo(item(row), false).isNull() && !item(row).data(LogoTileModel::HighlightedImageRole).value<QImage>().isNull(); }
    bool chosen(int row) { return grid->selectionModel()->isSelected(item(row)); }
    void tap(int row) { clickItem(grid, row); }
    // Where the grid draws the card of @p row, in its viewport.
    QRect card(int row) { return LogoTileDelegate::cardRect(grid->visualRect(item(row)), LogoTileDelegate::logo(item(row), false)).toRect(); }

    walletViewController *wallet = static_cast<walletViewController *>(screen);
    QListView *grid = find<QListView>("walletCollection");
    QAbstractButton *pay = find<QAbstractButton>("wallet_paySecurelyBtn");
};

} // namespace

class WalletTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline({.wallets = SixWallets}); }

    void gridKeepsTheHostsList()
    {
        configure({.wallets = {"ola", "paytm", "NewPay", "paytm"}});
        WalletCheckout c;
        QCOMPARE(itemNames(c.grid), (QStringList{"Ola Money", "Paytm", "NewPay", "Paytm"}));
        QCOMPARE(c.wallet->walletArray(), (QStringList{"ola", "paytm", "NewPay", "paytm"}));
        QCOMPARE(c.wallet->wallet_code(), std::nullopt);
        QVERIFY(c.hasLogos(1));
        // No artwork for a key the library does not ship: its tile is drawn as theirs, with the key.
        QVERIFY(!c.hasLogos(2));
        QImage cards[2];
        // Chosen; unchosen, a tile without artwork is in the committed look of the wallet tab.
        for (int row : {1, 2}) {
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
        configure({.wallets = {key}});
        WalletCheckout c;
        QCOMPARE(c.grid->model()->rowCount(), 1);
        QCOMPARE(c.hasLogos(0), hasImage);
        LogCapture log;
        c.tap(0);
        QCOMPARE(log.lines(), QStringList{key});
        QCOMPARE(c.wallet->wallet_code(), std::optional<QString>(code));
        QVERIFY(c.chosen(0));
    }

    void showingAgainRestoresTheInputs()
    {
        configure({.env = QStringLiteral("NOWHERE"), .wallets = SixWallets});
        WalletCheckout c;
        c.tap(3);
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QVERIFY(c.webView()->isVisible());
        c.container.setSelectedIndex(CardsTab);
        c.container.setSelectedIndex(WalletsTab);
        // Once the screen has been shown.
        QTRY_VERIFY(c.webView()->isHidden());
        QVERIFY(!containerTabs::isTabBarHidden(c.container));
        QVERIFY(c.grid->isVisible());
        QVERIFY(c.pay->isVisible());
        QVERIFY(c.chosen(3));
        QCOMPARE(c.wallet->wallet_code(), std::optional<QString>(QStringLiteral("4006")));
        // The bars went opaque white when the screen was shown.
        QVERIFY(!containerTabs::isTranslucent(c.container));
        QCOMPARE(containerTabs::barTintColor(c.container), QColor(Qt::white));
        QVERIFY(!c.wallet->navigationController()->isTranslucent());
    }

    void longListScrollsInsideTheGrid()
    {
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << SixWallets.at(i % SixWallets.size());
        configure({.wallets = many});
        WalletCheckout c;
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
        for (int step = 1; step <= 10; ++step)
            QTest::touchEvent(viewport, finger).move(0, start - QPoint(0, step * 12), viewport);
        QTest::touchEvent(viewport, finger).release(0, start - QPoint(0, 120), viewport);
        QTRY_VERIFY(c.grid->verticalScrollBar()->value() > 0);
        // The last wallet is reachable: the keyboard scrolls it into view.
        c.grid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.grid, Qt::Key_End);
        QVERIFY(c.grid->viewport()->rect().contains(c.grid->visualRect(c.item(39))));
    }
};

QTEST_MAIN(WalletTest)
#include "tst_wallet.moc"
