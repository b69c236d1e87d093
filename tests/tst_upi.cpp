// The UPI screen: the app grid, the handle list, the address composition, the pay checks, the
// layout at several sizes, and a whole payment against the sandbox through the public API.

#include "CheckoutHelpers.h"
#include "LogCapture.h"
#include "SandboxProcess.h"

#include "platform/BrowserView.h"
#include "platform/ImageView.h"
#include "platform/NavigationController.h"
#include "platform/PickerView.h"
#include "theme/LogoTileModel.h"

#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/upiViewController.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace pelbrook;

namespace {

const QString TokenLine = QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment).");

void configure(const QString &token, const QString &tezOption = QStringLiteral("YES"))
{
    PGTabBarViewController entry;
    entry.setConfig(QStringLiteral("TEST"), QStringLiteral("sandbox-app"), QString(), QStringLiteral("Acme Books"), {},
                    tezOption, QStringLiteral("2f6fde"), QStringLiteral("6a3fd0"));
    entry.createOrder(QStringLiteral("ORD1"), QStringLiteral("100.00"), QStringLiteral("buyer@example.com"), QStringLiteral("9999999999"),
                      token, QStringLiteral("Two books"), QStringLiteral("Asha Rao"), QStringLiteral("INR"), QString());
}

// A checkout on screen with the UPI tab shown, and handles on its widgets.
struct Checkout {
    explicit Checkout(QSize size = Phone)
    {
        container.resize(size);
        container.present();
        container.activateWindow();
        screen = container.findChild<upiViewController *>();
        container.setSelectedIndex(tabIndex(container, QStringLiteral("UPI")));
        grid = container.findChild<QListView *>(QStringLiteral("upiCollection"));
        address = container.findChild<QLineEdit *>(QStringLiteral("upiVpaTextField"));
        handle = container.findChild<QLineEdit *>(QStringLiteral("upiPostFixTextField"));
        pay = container.findChild<QAbstractButton *>(QStringLiteral("upiPayButton"));
    }
    QWidget *root() { return screen->view(); }
    QWidget *focused() { return container.window()->focusWidget(); }
    // The list joins the window when it first opens.
    PickerView *picker() { return container.findChild<PickerView *>(QStringLiteral("bankPicker")); }
    QWidget *panel() { return container.findChild<QWidget *>(QStringLiteral("inputPanel")); }
    bool panelOpen() { return panel() && panel()->isVisible(); }
    bool overlayShown()
    {
        QWidget *overlay = root()->findChild<QWidget *>(QStringLiteral("containerView"));
        return overlay && overlay->isVisible();
    }
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
        QTest::mouseClick(picker()->viewport(), Qt::LeftButton, {}, picker()->visualItemRect(picker()->item(row)).center());
    }

    PGTabBarViewController container;
    upiViewController *screen = nullptr;
    QListView *grid = nullptr;
    QLineEdit *address = nullptr;
    QLineEdit *handle = nullptr;
    QAbstractButton *pay = nullptr;
};

} // namespace

class UpiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        useUnreachableEndpoints();
        configure(QStringLiteral("tok"));
    }

    void appGrid_data()
    {
        QTest::addColumn<QString>("tezOption");
        QTest::addColumn<QStringList>("apps");
        QTest::addColumn<QStringList>("log");
        const QStringList both{"Tez", "Other UPI apps"};
        QTest::newRow("YES") << "YES" << both << QStringList{"MESSAGE: Tez is enabled in your project's info.plist"};
        QTest::newRow("NO") << "NO" << QStringList{"Other UPI apps"} << QStringList{"MESSAGE: Tez is not enabled in your project's info.plist"};
        QTest::newRow("yes") << "yes" << both << QStringList{};
        QTest::newRow("empty") << "" << both << QStringList{};
    }
    void appGrid()
    {
        QFETCH(QString, tezOption);
        QFETCH(QStringList, apps);
        QFETCH(QStringList, log);
        configure(QStringLiteral("tok"), tezOption);
        LogCapture capture;
        Checkout c;
        QCOMPARE(capture.lines(), log);
        QCOMPARE(itemNames(c.grid), apps);
        for (int i = 0; i < apps.size(); ++i) {
            const QModelIndex item = c.grid->model()->index(i, 0);
            QVERIFY(!item.data(Qt::DecorationRole).value<QImage>().isNull() && !item.data(LogoTileModel::HighlightedImageRole).value<QImage>().isNull());
            QCOMPARE(c.grid->visualRect(item).size(), QSize(140, 40));
        }
        QVERIFY(c.handle->isHidden());
        QVERIFY(!c.screen->upi_code());
    }

    void choosingAnAppShowsOrHidesTheHandle()
    {
        Checkout c;
        LogCapture log;
        c.chooseApp(QStringLiteral("Tez"));
        QVERIFY(c.handle->isVisible());
        QCOMPARE(c.screen->upi_code(), std::optional<QString>(QStringLiteral("tez")));
        QVERIFY(c.chosen(0));
        // The address field makes room for the handle beside it, and takes the row back without it.
        QVERIFY(!inRoot(c.address, c.root()).intersects(inRoot(c.handle, c.root())));
        const int narrow = c.address->width();
        c.chooseApp(QStringLiteral("Other UPI apps"));
        QVERIFY(c.handle->isHidden());
        QVERIFY(!c.chosen(0) && c.chosen(1));
        QCOMPARE(c.screen->upi_code(), std::optional<QString>(QStringLiteral("others")));
        QVERIFY(c.address->width() > narrow);
        // Each choice is written, the same app again too.
        c.chooseApp(QStringLiteral("Other UPI apps"));
        QCOMPARE(log.lines(), (QStringList{"tez", "others", "others"}));
    }

    void pickingAHandle_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("byKeyboard");
        const QStringList handles{"okaxis", "okicici", "okhdfcbank", "oksbi"};
        for (int row = 0; row < handles.size(); ++row) {
            QTest::addRow("%s by mouse", qPrintable(handles[row])) << row << false;
            QTest::addRow("%s by keyboard", qPrintable(handles[row])) << row << true;
        }
    }
    void pickingAHandle()
    {
        QFETCH(int, row);
        QFETCH(bool, byKeyboard);
        Checkout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.chooseApp(QStringLiteral("Tez"));
        const QString expected = QStringLiteral("@") + c.screen->bankPostfix().at(row);
        if (byKeyboard) {
            c.address->setFocus(Qt::TabFocusReason);
            QTest::keyClick(c.address, Qt::Key_Tab);
            QCOMPARE(c.focused(), c.handle);
            QVERIFY(c.panelOpen());
            // Nothing is chosen until the buyer moves through the list.
            QCOMPARE(c.handle->text(), QString());
            for (int i = 0; i <= row; ++i)
                QTest::keyClick(c.handle, Qt::Key_Down);
            QCOMPARE(c.handle->text(), expected);
            QTest::keyClick(c.handle, Qt::Key_Return);
            QVERIFY(!c.panelOpen());
            QCOMPARE(c.focused(), c.handle);
            // Escape closes the list without changing the choice; Space opens it again.
            QTest::keyClick(c.handle, Qt::Key_Space);
            QVERIFY(c.panelOpen());
            QTest::keyClick(c.handle, Qt::Key_Escape);
            QVERIFY(!c.panelOpen());
        } else {
            c.clickHandle(row);
            QVERIFY(c.panelOpen());
            QTest::mouseClick(c.panel()->findChild<QToolButton *>(QStringLiteral("doneButton")), Qt::LeftButton);
            QVERIFY(!c.panelOpen());
            QVERIFY(c.focused() != c.handle);
        }
        QCOMPARE(c.handle->text(), expected);
        QCOMPARE(c.screen->selectedBank(), std::optional<QString>(c.screen->bankPostfix().at(row)));
    }

    void handleFieldTakesNoTypedText()
    {
        Checkout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        c.chooseApp(QStringLiteral("Tez"));
        c.clickHandle(1);
        QTest::keyClicks(c.handle, QStringLiteral("abc@x"));
        QGuiApplication::clipboard()->setText(QStringLiteral("@evil"));
        QTest::keyClick(c.handle, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(c.handle, Qt::Key_Backspace);
        QTest::keyClick(c.handle, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(c.handle->text(), QStringLiteral("@okicici"));
    }

    void listOpensBesideTheFieldOnTopOfEverything()
    {
        Checkout c;
        QVERIFY(QTest::qWaitForWindowExposed(&c.container));
        c.chooseApp(QStringLiteral("Tez"));
        QTest::mouseClick(c.handle, Qt::LeftButton);
        QVERIFY(c.panelOpen());
        QWidget *window = c.container.window();
        const QRect panel(c.panel()->mapTo(window, QPoint(0, 0)), c.panel()->size());
        QVERIFY(window->rect().contains(panel));
        QVERIFY(!panel.intersects(QRect(c.handle->mapTo(window, QPoint(0, 0)), c.handle->size())));
        QWidget *top = window->childAt(panel.center());
        QVERIFY(top == c.panel() || c.panel()->isAncestorOf(top));
        // Rows and the toolbar follow the screen's look, not the host's.
        QCOMPARE(c.picker()->count(), 4);
        QCOMPARE(c.picker()->item(2)->data(Qt::AccessibleTextRole).toString(), QStringLiteral("okhdfcbank"));
        for (int row = 0; row < c.picker()->count(); ++row) {
            QListWidgetItem *item = c.picker()->item(row);
            QCOMPARE(c.picker()->visualItemRect(item).height(), 40);
            // Each row shows its handle's logo, where the row is.
            auto *logo = static_cast<ImageView *>(c.picker()->itemWidget(item));
            QVERIFY(!logo->image().isNull());
            QCOMPARE(logo->geometry(), c.picker()->visualItemRect(item));
        }
        // A tap elsewhere on the screen ends editing and closes it.
        QTest::mouseClick(c.root()->findChild<QLabel *>(QStringLiteral("upiLabel")), Qt::LeftButton);
        QVERIFY(!c.panelOpen());
    }

    void returnKeyAndTapsEndEditing()
    {
        Checkout c;
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
        Checkout c;
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
        QCOMPARE(c.screen->upi_vpa(), sent);
        QVERIFY(c.overlayShown());
        // The payment page replaces the inputs; the header's text and the heading stay beneath it.
        QVERIFY(c.container.isTabBarHidden());
        QVERIFY(c.root()->findChild<BrowserView *>(QStringLiteral("upi_webView"))->isVisible());
        for (const char *name : {"upiCollection", "userMessageLabelUpi", "upiLabel", "upiVpaTextField", "upiPostFixTextField",
                                 "upiPayButton", "pelbrookLogo", "orderBg"})
            QVERIFY2(c.root()->findChild<QWidget *>(QLatin1String(name))->isHidden(), name);
        for (const char *name : {"merchNameLabel", "orderIdLabel", "orderAmountLabel", "upiChooseLabel", "merchantLogo"})
            QVERIFY2(!c.root()->findChild<QWidget *>(QLatin1String(name))->isHidden(), name);
        // A second payment from the same screen starts again from the typed address.
        c.screen->showUpiPaymentInputs();
        c.screen->hideWaitLoading();
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(c.screen->upi_vpa(), sent);
    }

    void payChecks_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("no token") << "" << "asha@ybl" << QStringList{TokenLine};
        QTest::newRow("no token, no address") << "" << "" << QStringList{TokenLine};
        QTest::newRow("no address") << "tok" << "" << QStringList{"UPI VPA is empty."};
    }
    void payChecks()
    {
        QFETCH(QString, token);
        QFETCH(QString, typed);
        QFETCH(QStringList, log);
        configure(token);
        Checkout c;
        QVERIFY(QTest::qWaitForWindowActive(&c.container));
        QTest::keyClicks(c.address, typed);
        c.address->setFocus();
        LogCapture capture;
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QCOMPARE(capture.lines(), log);
        QVERIFY(!c.overlayShown());
        QVERIFY(c.address->isVisible());
        QVERIFY(!c.container.isTabBarHidden());
        QCOMPARE(c.focused(), c.address);
    }

    void wholePaymentThroughThePublicInterface_data()
    {
        QTest::addColumn<QStringList>("steps"); // app names and "#row" handle picks
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::newRow("others") << QStringList{"Other UPI apps"} << "asha.rao@ybl" << "asha.rao@ybl";
        QTest::newRow("tez with a handle") << QStringList{"Tez", "#2"} << "asha.rao" << "asha.rao@okhdfcbank";
    }
    void wholePaymentThroughThePublicInterface()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints();
        configure(sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("ORD1"), QStringLiteral("100.00")));

        Checkout c;
        auto delegate = std::make_shared<CountingDelegate>();
        c.container.setResultDelegate(delegate);
        QSignalSpy closed(&c.container, &PGTabBarViewController::dismissed);
        QSignalSpy results(&c.container, &PGTabBarViewController::paymentResult);
        for (const QString &step : steps) {
            if (step.startsWith(QLatin1Char('#')))
                c.clickHandle(step.mid(1).toInt());
            else
                c.chooseApp(step);
        }
        QTest::keyClicks(c.address, typed);
        QTest::mouseClick(c.pay, Qt::LeftButton);
        QVERIFY(c.handle->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 30000);

        QCOMPARE(delegate->results.size(), 1);
        const QString result = c.container.getResult();
        QCOMPARE(delegate->results.first(), result);
        QCOMPARE(results.count(), 1);
        QCOMPARE(results.first().first().toString(), result);
        QCOMPARE(QJsonDocument::fromJson(result.toUtf8()).object().value(QStringLiteral("status")).toString(), QStringLiteral("SUCCESS"));
        // Back in the input state, the handle field shown whichever app was chosen.
        QVERIFY(!c.handle->isHidden());
        QVERIFY(!c.address->isHidden());
        QVERIFY(c.root()->findChild<BrowserView *>(QStringLiteral("upi_webView"))->isHidden());
        QVERIFY(!c.overlayShown());

        const QList<QPair<QString, QString>> form = sandbox.lastForm();
        QStringList names;
        for (const auto &[name, value] : form)
            names << name;
        QCOMPARE(names.count(QStringLiteral("customerName")), 2);
        QCOMPARE(names.count(QStringLiteral("orderNote")), 2);
        QVERIFY(form.contains(qMakePair(QStringLiteral("upi_vpa"), sent)));
        QVERIFY(form.contains(qMakePair(QStringLiteral("paymentOption"), QStringLiteral("upi"))));
        QVERIFY(form.contains(qMakePair(QStringLiteral("customerName"), QStringLiteral("Asha Rao"))));
        QCOMPARE(form.size(), 15);
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

    // --- the screen's content and geometry ---

    void content()
    {
        configure(QStringLiteral("tok"));
        PGTabBarViewController().createOrder(QStringLiteral("ORD1"), QStringLiteral("100"), {}, {}, QStringLiteral("tok"), {}, {},
                                             QString(), {});
        Checkout c;
        QCOMPARE(c.root()->objectName(), QStringLiteral("upiViewController"));
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("orderAmountLabel"))->text(), QStringLiteral("-  100"));
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("upiChooseLabel"))->text(), QStringLiteral("Please select a UPI App to proceed"));
        QCOMPARE(c.address->placeholderText(), QStringLiteral("UPI Id"));
        QCOMPARE(c.handle->placeholderText(), QStringLiteral("@upi"));
        QCOMPARE(c.pay->text(), QStringLiteral("  Pay Securely"));
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("upiLabel"))->text(), QStringLiteral("Enter your Virtual Payment Address"));
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("userMessageLabelUpi"))->text(),
                 QStringLiteral("Note: You will receive a payment request from Pelbrook in your UPI app. Do confirm the request to complete payment."));
        QCOMPARE(c.root()->findChild<QLabel *>(QStringLiteral("orderIdLabel"))->text(), QStringLiteral("- ORD1"));
        c.chooseApp(QStringLiteral("Tez"));
        QTest::mouseClick(c.handle, Qt::LeftButton);
        for (QWidget *w : std::initializer_list<QWidget *>{c.address, c.handle, c.pay, c.grid, static_cast<QWidget *>(c.picker())})
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
};

QTEST_MAIN(UpiTest)
#include "tst_upi.moc"
