// The platform layer: debug log, resources, trust, HTTP client, browser view and containers.

#include "CheckoutHelpers.h"

#include "core/PaymentForm.h"
#include "platform/web/BrowserProfile_p.h"
#include "platform/DebugLog_p.h"
#include "platform/Resources.h"
#include "platform/net/TrustPolicy.h"

#include <QLoggingCategory>
#include <QPaintEvent>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>

#include <algorithm>

using namespace pelbrook;

namespace {

struct Navigation {
    QUrl url;
    QWebEnginePage::NavigationType type;
};

class RecordingDelegate : public NavigationDelegate
{
public:
    bool shouldStartLoad(BrowserView *, const QUrl &url, QWebEnginePage::NavigationType type) override
    {
        navigations.append({url, type});
        return true;
    }
    bool reached(const QString &scheme) const
    {
        return std::any_of(navigations.cbegin(), navigations.cend(), [&](const Navigation &n) { return n.url.scheme() == scheme; });
    }
    QList<Navigation> navigations;
};

class RecordingScreen : public ViewController
{
    Q_OBJECT
public:
    QStringList events;
    QSize sizeAtLoad;

protected:
    void viewDidLoad() override
    {
        sizeAtLoad = view()->size();
        events << QStringLiteral("load");
    }
    void viewWillAppear() override { events << QStringLiteral("willAppear"); }
    void viewDidAppear() override { events << QStringLiteral("didAppear"); }
    void viewWillDisappear() override { events << QStringLiteral("willDisappear"); }
};

} // namespace

class PlatformTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void debugLogGoesToTheSinkOneLineEach()
    {
        LogCapture capture;
        debugLog(QStringLiteral("first"));
        debugLog(QStringLiteral("second"));
        // Whatever a message holds, it stays one line.
        debugLog(QStringLiteral("paytm\nFAKE LINE\r\u2028end"));
        QCOMPARE(capture.lines(), (QStringList{QStringLiteral("first"), QStringLiteral("second"),
                                               QStringLiteral("paytm\\u000aFAKE LINE\\u000d\\u2028end")}));
    }

    // Without a sink, lines are debug messages of one category, off unless the host's rules
    // turn it on; a sink takes every line instead. Also run without QT_LOGGING_RULES, where
    // the default holds.
    void debugLogGoesThroughQtLogging()
    {
        static QList<std::tuple<QtMsgType, QString, QString>> heard;
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            heard.append({type, QString::fromLatin1(context.category), text});
        });
        const auto restore = qScopeGuard([previous] {
            QLoggingCategory::setFilterRules(QString());
            qInstallMessageHandler(previous);
        });
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) {
            debugLog(QStringLiteral("quiet by default"));
            QCOMPARE(heard.size(), 0);
            QLoggingCategory::setFilterRules(QStringLiteral("pelbrook.checkout.debug=true"));
        }
        debugLog(QStringLiteral("UPI VPA is empty."));
        {
            LogCapture capture;
            QLoggingCategory::setFilterRules(QStringLiteral("pelbrook.checkout.debug=false"));
            debugLog(QStringLiteral("to the sink"));
            QCOMPARE(capture.lines(), QStringList{QStringLiteral("to the sink")});
        }
        QCOMPARE(heard, (QList<std::tuple<QtMsgType, QString, QString>>{
                            {QtDebugMsg, QStringLiteral("pelbrook.checkout"), QStringLiteral("UPI VPA is empty.")}}));
    }

    void libraryImages_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("points"); // empty: there is no such image
        QTest::newRow("by name") << QString() << "secureLock" << QSize(18, 18);
        QTest::newRow("tab icon") << QString() << "cards_grey" << QSize(25, 25);
        QTest::newRow("bank logo by code") << QString() << "3014" << QSize(40, 40);
        QTest::newRow("UPI app set") << "upiDeSelected" << "tez.png" << QSize(130, 50);
        QTest::newRow("highlighted wallet set") << "walletsHighlight" << "ola.png" << QSize(130, 50);
        QTest::newRow("handle set") << "upibankLogo" << "oksbi.png" << QSize(140, 40);
        QTest::newRow("unknown name") << QString() << "noSuchImage" << QSize();
        QTest::newRow("empty name") << QString() << "" << QSize();
        QTest::newRow("unknown file in a set") << "upiDeSelected" << "nope.png" << QSize();
        QTest::newRow("unknown set") << "noSuchSet" << "tez.png" << QSize();
        QTest::newRow("wallet key outside the table") << "walletDeSelected" << "acme.png" << QSize();
    }
    void libraryImages()
    {
        QFETCH(QString, set);
        QFETCH(QString, name);
        QFETCH(QSize, points);
        const QImage image = set.isEmpty() ? libraryImage(name) : imageFromSet(set, name);
        QCOMPARE(image.isNull(), points.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.devicePixelRatio(), 2.0);
        QCOMPARE(image.deviceIndependentSize().toSize(), points);
    }

    // The host's images come from its own bundle, and a bundle that is absent falls back to it.
    void hostImagesComeFromTheMainBundle()
    {
        const QImage logo = ResourceBundle::mainBundle().imageNamed(QStringLiteral("merchantLogo"));
        QVERIFY(!logo.isNull());
        QCOMPARE(logo.deviceIndependentSize().height(), 29.0);
        // The library's bundle does not serve the host's images, and the other way round.
        QVERIFY(libraryImage(QStringLiteral("merchantLogo")).isNull());
        QVERIFY(ResourceBundle::mainBundle().imageNamed(QStringLiteral("PelbrookLogo")).isNull());
        const std::optional<ResourceBundle> absent = ResourceBundle::withIdentifier(QStringLiteral("com.example.absent"));
        QVERIFY(!absent);
        QVERIFY(!imageNamed(QStringLiteral("merchantLogo"), absent).isNull());
        QVERIFY(imageNamed(QStringLiteral("cards"), absent).isNull());
        QVERIFY(ResourceBundle::withIdentifier(ResourceBundle::libraryIdentifier()));
    }

    void fingerprintsAreNormalised_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const QString hex = QStringLiteral("ab").repeated(32);
        QTest::newRow("lower case") << hex << true;
        QTest::newRow("upper case") << hex.toUpper() << true;
        QTest::newRow("colons") << QStringLiteral("AB:").repeated(31) + QStringLiteral("AB") << true;
        QTest::newRow("too short") << hex.left(62) << false;
        QTest::newRow("not hex") << QStringLiteral("zz").repeated(32) << false;
        QTest::newRow("empty") << QString() << false;
    }
    void fingerprintsAreNormalised()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(TrustPolicy::normalisedFingerprint(text), valid ? QStringLiteral("ab").repeated(32) : QString());
    }

    // A view is got ready out of sight while the buyer types; the payment may come before, while
    // or after it has loaded its empty document, and the delegate hears only the payment's
    // navigations, the hand-back among them.
    void preparedBrowserViewStillReportsThePayment_data()
    {
        QTest::addColumn<int>("payWhen");
        QTest::newRow("before the warm-up starts") << 0;
        QTest::newRow("while the warm-up document loads") << 1;
        QTest::newRow("after the warm-up document has loaded") << 2;
    }
    void preparedBrowserViewStillReportsThePayment()
    {
        QFETCH(int, payWhen);
        SandboxProcess sandbox({QStringLiteral("--auto-approve")});
        QVERIFY(sandbox.isRunning());
        const QString token = sandbox.token(QStringLiteral("sandbox-app"), QStringLiteral("P1"), QStringLiteral("10.00"));

        QWidget window;
        window.resize(390, 700);
        auto *view = new BrowserView(&window);
        view->setGeometry(window.rect());
        view->hide();
        RecordingDelegate delegate;
        view->setNavigationDelegate(&delegate);
        qsizetype starts = 0;
        connect(view, &BrowserView::loadingChanged, this, [&](const QWebEngineLoadingInfo &info) {
            starts += info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
        });
        QSignalSpy finished(view, &BrowserView::loadFinished);
        const auto started = [&] { return starts; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view->prepare();
        window.update();
        if (payWhen >= 1)
            QTRY_VERIFY_WITH_TIMEOUT(started() > 0, 15000);
        if (payWhen == 2) {
            QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 15000);
            QVERIFY(finished.first().first().toBool());
        }
        QVERIFY(delegate.navigations.isEmpty());
        // Its own profile, off the record, and the engine's view shows that page.
        QVERIFY(view->page()->profile()->isOffTheRecord());
        QCOMPARE(view->engineView()->page(), view->page());

        view->show();
        view->loadHTMLString(buildPaymentPage({sandbox.baseUrl().toString() + QStringLiteral("/checkout/post/submit-transparent"),
                                               "sandbox-app", "P1", "10.00", {}, {}, {}, {}, "nb", {{"nb_code", "3005"}}, "INR", token, {}}));
        QTRY_VERIFY_WITH_TIMEOUT(delegate.reached(QStringLiteral("ios-sdk")), 30000);
        QVERIFY(delegate.reached(QStringLiteral("https")));
        // One page from a string: the payment's, never the warm-up document.
        const auto fromStrings = std::count_if(delegate.navigations.cbegin(), delegate.navigations.cend(),
                                               [](const Navigation &n) { return n.url.scheme() == QLatin1String("data"); });
        QCOMPARE(fromStrings, 1);
        QCOMPARE(formValue(sandbox.lastForm(), QStringLiteral("orderId")), QStringLiteral("P1"));
        // Once a page has been loaded, a later warm-up leaves the view alone. It would start
        // from the next paint of the view's parent (here covered by the view, so one is sent).
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), started(), 15000);
        const qsizetype loads = started();
        view->prepare();
        QPaintEvent paint(window.rect());
        QApplication::sendEvent(&window, &paint);
        QVERIFY(eventLoopRoundTrip());
        QCOMPARE(started(), loads);
        view->setNavigationDelegate(nullptr);
    }

    // However the view is shown or reached, there is no engine view without the library's own
    // page: shown first, it has none; once made, its page is the library's, on a profile of
    // its own, never the default one.
    void browserViewHasNoPageButItsOwn()
    {
        BrowserView view;
        view.resize(200, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.hide();
        view.show();
        QCOMPARE(view.findChild<QWebEngineView *>(), nullptr);
        QWebEnginePage *page = view.page();
        QWebEngineView *engine = view.findChild<QWebEngineView *>();
        QVERIFY(engine);
        QCOMPARE(engine->page(), page);
        BrowserView other;
        QVERIFY(other.page()->profile() != page->profile());
    }

    // A certificate that is not pinned is refused. (The pinned one is accepted in every payment
    // against the sandbox, this file's among them.)
    void browserViewRefusesAnUnpinnedCertificate()
    {
        SandboxProcess sandbox;
        QVERIFY(sandbox.isRunning());
        sandbox.useAsEndpoints(false);
        BrowserView view;
        QSignalSpy finished(&view, &BrowserView::loadFinished);
        view.page()->load(endpoints().bankList);
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(!pageText(&view).contains(QStringLiteral("Northwind Bank")));
    }

    void screensLoadLazilyAndHearAboutAppearance()
    {
        TabBarController tabs;
        auto *first = new RecordingScreen;
        first->setTitle(QStringLiteral("First"));
        auto *second = new RecordingScreen;
        second->setTitle(QStringLiteral("Second"));
        containerTabs::setViewControllers(tabs, {new NavigationController(first), new NavigationController(second)});
        tabs.resize(390, 844);
        QCOMPARE(tabs.tabBar()->tabText(1), QStringLiteral("Second"));
        tabs.present();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        QTRY_COMPARE(first->events, (QStringList{"load", "willAppear", "didAppear"}));
        QVERIFY(!second->isViewLoaded());
        // The root view fills the space between the navigation bar and the tab bar.
        QCOMPARE(first->sizeAtLoad, QSize(390, 844 - NavigationController::BarHeight - TabBarHeight));
        QCOMPARE(first->view()->objectName(), QStringLiteral("RecordingScreen"));

        tabs.setSelectedIndex(1);
        QTRY_COMPARE(second->events, (QStringList{"load", "willAppear", "didAppear"}));
        QCOMPARE(first->events.last(), QStringLiteral("willDisappear"));
        tabs.setSelectedIndex(0);
        QCOMPARE(first->events.count(QStringLiteral("load")), 1);
        QCOMPARE(first->events.count(QStringLiteral("willAppear")), 2);

        containerTabs::setTabBarHidden(tabs, true);
        QVERIFY(tabs.tabBar()->isHidden());
        QCOMPARE(first->tabBarController(), &tabs);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
