// The UPI screen: the app grid, the handle list and the address composition.

#include "CheckoutHelpers.h"

#include "theme/LogoTileModel.h"

#include <QClipboard>
#include <QListWidget>

using namespace pelbrook;

namespace {

// The shared checkout on the UPI tab, with handles on its widgets.
struct UpiCheckout : Checkout {
    UpiCheckout() : Checkout(UpiTab) {}
    // The list joins the window when it first opens.
    QListView *picker() { return container.findChild<QListView *>(QStringLiteral("bankPicker")); }
    QWidget *panel() { return container.findChild<QWidget *>(QStringLiteral("inputPanel")); }
    bool panelOpen() { return panel() && panel()->isVisible(); }
    bool chosen(int item) { return grid->selectionModel()->isSelected(grid->model()->index(item, 0)); }
    void chooseApp(const QString &name)
    {
        const int item = int(itemNames(grid).indexOf(name));
        QVERIFY2(item >= 0, qPrintable(name));
        clickItem(grid, item);
    }
    void clickHandle(int row)
    {
        QTest::mouseClick(handle, Qt::LeftButton);
        QVERIFY(panelOpen());
        clickItem(picker(), row);
    }

    upiViewController *upi = static_cast<upiViewController *>(screen);
    QListView *grid = find<QListView>("upiCollection");
    QLineEdit *address = field("upiVpaTextField"), *handle = field("upiPostFixTextField");
    QAbstractButton *pay = find<QAbstractButton>("upiPayButton");
};

} // namespace

class UpiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { configureOffline(); }

    void appGrid_data()
    {
        QTest::addColumn<QString>("tezOption");
        QTest::addColumn<QStringList>("apps");
        QTest::addColumn<QStringList>("log");
        const QStringList both{"Tez", "Other UPI apps"};
        QTest::newRow("YES") << "YES" << both << QStringList{"MESSAGE: Tez is enabled in your project's info.plist"};
        QTest::newRow("NO") << "NO" << QStringList{"Other UPI apps"} << QStringList{"MESSAGE: Tez is not enabled in your project's info.plist"};
        QTest::newRow("yes") << "yes" << both << QStringList{};
    }
    void appGrid()
    {
        QFETCH(QString, tezOption);
        QFETCH(QStringList, apps);
        QFETCH(QStringList, log);
        configure({.tezOption = tezOption});
        LogCapture capture;
        UpiCheckout c;
        QCOMPARE(capture.lines(), log);
        QCOMPARE(itemNames(c.grid), apps);
        for (int i = 0; i < apps.size(); ++i) {
            const QModelIndex item = c.grid->model()->index(i, 0);
            QVERIFY(!item.data(Qt::DecorationRole).value<QImage>().isNull() && !item.data(LogoTileModel::HighlightedImageRole).value<QImage>().isNull());
        }
        QVERIFY(c.handle->isHidden());
        QVERIFY(!c.upi->upi_code());
    }

    void choosingAnAppShowsOrHidesTheHandle()
    {
        UpiCheckout c;
        LogCapture log;
        c.chooseApp(QStringLiteral("Tez"));
        QVERIFY(c.handle->isVisible());
        QCOMPARE(c.upi->upi_code(), std::optional<QString>(QStringLiteral("tez")));
        QVERIFY(c.chosen(0));
        // The address field makes room for the handle beside it, and takes the row back without it.
        QVERIFY(!inRoot(c.address, c.root()).intersects(inRoot(c.handle, c.root())));
        const int narrow = c.address->width();
        c.chooseApp(QStringLiteral("Other UPI apps"));
        QVERIFY(c.handle->isHidden());
        QVERIFY(!c.chosen(0) && c.chosen(1));
        QCOMPARE(c.upi->upi_code(), std::optional<QString>(QStringLiteral("others")));
        QVERIFY(c.address->width() > narrow);
        // Each choice is written, the same app again too.
        c.chooseApp(QStringLiteral("Other UPI apps"));
        QCOMPARE(log.lines(), (QStringList{"tez", "others", "others"}));
    }

    void listOpensBesideTheFieldOnTopOfEverything()
    {
        UpiCheckout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.chooseApp(QStringLiteral("Tez"));
        QTest::mouseClick(c.handle, Qt::LeftButton);
        QVERIFY(c.panelOpen());
        QWidget *window = c.container.window();
        const QRect panel(c.panel()->mapTo(window, QPoint(0, 0)), c.panel()->size());
        QVERIFY(window->rect().contains(panel));
        QVERIFY(!panel.intersects(QRect(c.handle->mapTo(window, QPoint(0, 0)), c.handle->size())));
        QWidget *top = window->childAt(panel.center());
        QVERIFY(top == c.panel() || c.panel()->isAncestorOf(top));
        // Each row shows its handle's logo, where the row is.
        for (int row = 0; row < c.picker()->model()->rowCount(); ++row) {
            const QModelIndex item = c.picker()->model()->index(row, 0);
            QVERIFY(!item.data(Qt::DecorationRole).value<QImage>().isNull());
            QCOMPARE(c.picker()->visualRect(item).width(), c.picker()->viewport()->width());
        }
        // A tap elsewhere on the screen ends editing and closes it.
        QTest::mouseClick(c.root()->findChild<QLabel *>(QStringLiteral("upiLabel")), Qt::LeftButton);
        QVERIFY(!c.panelOpen());
        // So does its Done button, once a handle is picked.
        c.clickHandle(3);
        QTest::mouseClick(c.panel()->findChild<QToolButton *>(QStringLiteral("doneButton")), Qt::LeftButton);
        QVERIFY(!c.panelOpen());
        QVERIFY(c.focused() != c.handle);
        QCOMPARE(c.handle->text(), QStringLiteral("@oksbi"));
        QCOMPARE(c.upi->selectedBank(), std::optional<QString>(QStringLiteral("oksbi")));
        // The handle comes from the list only: typing, pasting, deleting and cutting leave it.
        c.handle->setFocus();
        QTest::keyClicks(c.handle, QStringLiteral("abc@x"));
        QGuiApplication::clipboard()->setText(QStringLiteral("@evil"));
        QTest::keyClick(c.handle, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(c.handle, Qt::Key_Backspace);
        QTest::keyClick(c.handle, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(c.handle->text(), QStringLiteral("@oksbi"));
    }

    void returnKeyAndTapsEndEditing()
    {
        UpiCheckout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.address->setFocus();
        QTest::keyClick(c.address, Qt::Key_Return);
        QVERIFY(c.focused() != c.address);
        c.address->setFocus();
        QTest::mouseClick(c.root()->findChild<QLabel *>(QStringLiteral("upiChooseLabel")), Qt::LeftButton);
        QVERIFY(c.focused() != c.address);
    }

    // --- paying ---

    void composedAddress_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("steps"); // app names and "#row" handle picks, in order
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QStringList>("log");
        const QString env = QStringLiteral("It is TEST environment");
        QTest::newRow("tez with the first handle") << "asha" << QStringList{"Tez", "#0"} << "asha@okaxis"
                                                   << QStringList{env, "It is TEZ", "asha@okaxis"};
        QTest::newRow("tez without a handle") << "asha" << QStringList{"Tez"} << "asha" << QStringList{env, "It is TEZ", "asha"};
        QTest::newRow("others after a handle") << "asha@ybl" << QStringList{"Tez", "#3", "Other UPI apps"} << "asha@ybl"
                                               << QStringList{env, "It is OTHERS", "asha@ybl"};
        QTest::newRow("tez again keeps the handle") << "asha" << QStringList{"Tez", "#3", "Other UPI apps", "Tez"} << "asha@oksbi"
                                                    << QStringList{env, "It is TEZ", "asha@oksbi"};
        QTest::newRow("a typed handle is not removed") << "asha@okaxis" << QStringList{"Tez", "#0"} << "asha@okaxis@okaxis"
                                                       << QStringList{env, "It is TEZ", "asha@okaxis@okaxis"};
        QTest::newRow("no app chosen") << "asha@ybl" << QStringList{} << "asha@ybl" << QStringList{env};
    }
    void composedAddress()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, steps);
        QFETCH(QString, sent);
        QFETCH(QStringList, log);
        UpiCheckout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        for (const QString &step : steps) {
            if (step.startsWith(QLatin1Char('#')))
                c.clickHandle(step.mid(1).toInt());
            else
                c.chooseApp(step);
        }
        QTest::keyClicks(c.address, typed);
        LogCapture capture;
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(capture.lines(), log);
        QCOMPARE(c.upi->upi_vpa(), sent);
        QVERIFY(c.overlayShown());
        // A second payment from the same screen starts again from the typed address.
        c.upi->showUpiPaymentInputs();
        c.upi->hideWaitLoading();
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(c.upi->upi_vpa(), sent);
    }

    // A screen can go while its window stays (a host that embeds it, say): its open list goes too.
    void listGoesWithItsScreen()
    {
        QWidget host;
        host.resize(390, 844);
        auto *screen = new upiViewController;
        screen->view()->setParent(&host);
        screen->view()->setGeometry(host.rect());
        host.show();
        auto *handle = screen->view()->findChild<QLineEdit *>(QStringLiteral("upiPostFixTextField"));
        handle->show();
        QTest::mouseClick(handle, Qt::LeftButton);
        QPointer<QWidget> panel = host.findChild<QWidget *>(QStringLiteral("inputPanel"));
        QVERIFY(panel && panel->isVisible());
        delete screen;
        QVERIFY(!panel);
    }
};

QTEST_MAIN(UpiTest)
#include "tst_upi.moc"
