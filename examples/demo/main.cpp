// The demo: a small merchant application, a cart with a "Checkout" button, that takes payments
// through the checkout against the local sandbox gateway.
//
// It starts pelbrook-sandbox (which ends with the demo, however the demo ends), gets a payment
// token from the sandbox's token endpoint with initPayment(), as a merchant's server would,
// configures the checkout and presents it over the cart. With --autopilot NAME (card, nb, wallet
// or upi, or one of the sandbox's scenarios such as card-otp, card-decline or upi-expire; card
// is the default when there is no display) it pays by itself through the real widgets, answers
// the gateway's pages as a buyer would, writes screenshots of each, and exits 0 when the payment
// succeeded, 1 when it did not, 2 for a usage error and 3 when it could not pay at all.

#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/cardViewController.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCommandLineParser>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString Amount = QStringLiteral("499.00");

struct Sandbox {
    QProcess process;
    QUrl base;
    QString fingerprint;
};

bool startSandbox(Sandbox &sandbox, const QString &program, const QStringList &arguments)
{
    sandbox.process.setProgram(program);
    // Standard input stays a pipe from the demo: when the demo ends, however it ends, the pipe
    // closes and the sandbox stops. Its certificate and key stay in the sandbox's own folder,
    // made on the first run and kept, so a demo ended by a signal leaves no temporary files.
    sandbox.process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--exit-with-stdin")} + arguments);
    // Its errors are shown; its request log is read and dropped below.
    sandbox.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sandbox.process.start();
    if (!sandbox.process.waitForStarted(10000))
        return false;
    QByteArray output;
    const QRegularExpression listening(QStringLiteral("listening on (https://127\\.0\\.0\\.1:\\d+)"));
    const QRegularExpression certificate(QStringLiteral("certificate sha256 ([0-9a-f]{64})"));
    while (sandbox.base.isEmpty() && sandbox.process.waitForReadyRead(10000)) {
        output += sandbox.process.readAllStandardOutput();
        const QString text = QString::fromUtf8(output);
        if (auto m = certificate.match(text); m.hasMatch())
            sandbox.fingerprint = m.captured(1);
        if (auto m = listening.match(text); m.hasMatch())
            sandbox.base = QUrl(m.captured(1));
    }
    QObject::connect(&sandbox.process, &QProcess::readyReadStandardOutput, &sandbox.process,
                     [&sandbox] { sandbox.process.readAllStandardOutput(); });
    return !sandbox.base.isEmpty();
}

// The browser engine's own chatter (its start-up report, graphics back-end notes) is not ours
// to show; everything else, warnings and errors included, goes through.
void quietEngineNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QStringList noise{QStringLiteral("No suitable graphics backend found"),
                                   QStringLiteral("This plugin does not support raise()"),
                                   QStringLiteral("This plugin does not support propagateSizeHints()"),
                                   QStringLiteral("Sandboxing disabled by user."),
                                   // Qt 6.4's network access manager, on a system without a
                                   // network-information back end; nothing is wrong.
                                   QStringLiteral("QObject::connect(QObject, Unknown): invalid nullptr parameter")};
    if (QByteArray(context.category ? context.category : "").startsWith("qt.webenginecontext") || noise.contains(message.trimmed()))
        return;
    const char *prefix = type == QtDebugMsg || type == QtInfoMsg ? "" : type == QtWarningMsg ? "warning: " : "error: ";
    std::fprintf(stderr, "%s%s\n", prefix, qPrintable(message));
}

bool waitFor(const std::function<bool()> &ready, int milliseconds = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!ready()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void pause(int milliseconds)
{
    waitFor([] { return false; }, milliseconds);
}

// A click or a tap, as the window system would deliver it.
void click(QWidget *widget, QPoint at = {})
{
    if (!widget)
        return;
    if (at.isNull())
        at = widget->rect().center();
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// Typing into a field: the screen's editing handlers run as for a buyer.
void type(QWidget *root, const char *name, const QString &text)
{
    if (auto *field = root->findChild<QLineEdit *>(QLatin1String(name))) {
        field->setFocus();
        field->insert(text);
    }
}

// Clicks the item of the grid @p gridName that a screen reader calls @p name, where it is drawn.
bool clickItem(QWidget *root, const char *gridName, const QString &name)
{
    auto *grid = root->findChild<QAbstractItemView *>(QLatin1String(gridName));
    if (!grid || !grid->isVisible())
        return false;
    const QModelIndexList found = grid->model()->match(grid->model()->index(0, 0), Qt::AccessibleTextRole, name, 1, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    click(grid->viewport(), grid->visualRect(found.first()).center());
    return true;
}

class CartWindow : public QWidget
{
public:
    CartWindow(const Sandbox &sandbox, const QString &screenshots)
        : m_sandbox(sandbox)
        , m_screenshots(screenshots)
    {
        setWindowTitle(QStringLiteral("Acme Books"));
        auto *layout = new QVBoxLayout(this);
        auto *title = new QLabel(QStringLiteral("<h2>Your cart</h2>"));
        auto *items = new QLabel(QStringLiteral("The Quiet River (paperback) — INR 249.00<br>"
                                                "Letters from Kochi (paperback) — INR 250.00"));
        auto *total = new QLabel(QStringLiteral("<b>Total: INR %1</b>").arg(Amount));
        m_checkoutButton = new QPushButton(QStringLiteral("Checkout"));
        m_checkoutButton->setObjectName(QStringLiteral("checkoutButton"));
        m_status = new QLabel(QStringLiteral("Press Checkout to pay."));
        m_status->setWordWrap(true);
        // It shows the gateway's words: never read as markup.
        m_status->setTextFormat(Qt::PlainText);
        for (QWidget *w : std::initializer_list<QWidget *>{title, items, total, m_checkoutButton, m_status})
            layout->addWidget(w);
        layout->addStretch();
        resize(480, 360);
        connect(m_checkoutButton, &QPushButton::clicked, this, [this] { startCheckout(); });
    }

    pelbrook::PGTabBarViewController *checkout() const { return m_checkout; }
    bool hasResult() const { return !m_result.isEmpty(); }
    /// Asking the gateway about an interrupted payment.
    bool checkingOrder() const { return m_checkingOrder; }
    QString result() const { return m_result; }

    void save(QWidget *window, const QString &name) const
    {
        if (m_screenshots.isEmpty() || !window)
            return;
        QDir().mkpath(m_screenshots);
        const QString path = m_screenshots + QLatin1Char('/') + name;
        window->grab().save(path);
        std::printf("screenshot %s\n", qPrintable(path));
    }

private:
    // What the merchant's server does for each order: get a token for it. Here the sandbox's
    // token endpoint answers, through the checkout's own token request.
    void startCheckout()
    {
        m_checkoutButton->setEnabled(false);
        m_status->setText(QStringLiteral("Getting a payment token…"));
        const QString orderId = QStringLiteral("DEMO-%1").arg(QDateTime::currentMSecsSinceEpoch());
        if (!m_tokenClient)
            m_tokenClient = std::make_unique<pelbrook::cardViewController>();
        // No answer is reported as none at all: after a while the cart says so.
        auto *waiting = new QTimer(this);
        waiting->setSingleShot(true);
        connect(waiting, &QTimer::timeout, this, [this, waiting] {
            waiting->deleteLater();
            std::fprintf(stderr, "pelbrook-demo: the sandbox gave no payment token\n");
            m_status->setText(QStringLiteral("No payment token came back; try again."));
            m_checkoutButton->setEnabled(true);
        });
        waiting->start(15000);
        m_tokenClient->initPayment(m_sandbox.base.toString() + QStringLiteral("/token"), QStringLiteral("sandbox-app"), orderId,
                                   Amount, QStringLiteral("buyer@example.com"), QStringLiteral("9876543210"), QStringLiteral("INR"),
                                   [this, orderId, waiting = QPointer<QTimer>(waiting)](const QString &token) {
                                       if (!waiting)
                                           return;
                                       waiting->stop();
                                       waiting->deleteLater();
                                       present(orderId, token);
                                   });
    }

    void present(const QString &orderId, const QString &token)
    {
        m_result.clear();
        m_orderId = orderId;
        m_checkout = new pelbrook::PGTabBarViewController(this);
        m_checkout->setAttribute(Qt::WA_DeleteOnClose);
        m_checkout->setConfig(QStringLiteral("TEST"), QStringLiteral("sandbox-app"), QString(), QStringLiteral("Acme Books"),
                              {QStringLiteral("paytm"), QStringLiteral("mobikwik"), QStringLiteral("ola")}, QStringLiteral("YES"),
                              QStringLiteral("2f6fde"), QStringLiteral("6a3fd0"));
        m_checkout->createOrder(orderId, Amount, QStringLiteral("buyer@example.com"), QStringLiteral("9876543210"), token,
                                QStringLiteral("Two paperbacks"), QStringLiteral("Asha Rao"), QStringLiteral("INR"),
                                QStringLiteral("https://merchant.example/notify"));
        connect(m_checkout, &pelbrook::PGTabBarViewController::paymentResult, this, [this](const QString &result) {
            m_result = result;
            std::printf("payment result %s\n", qPrintable(result));
            const QJsonObject outcome = QJsonDocument::fromJson(result.toUtf8()).object();
            const QString status = outcome.value(QStringLiteral("status")).toString();
            // The gateway says why ("Card declined", "UPI request expired"); the status alone
            // when it does not.
            const QString why = outcome.value(QStringLiteral("message")).toString().trimmed();
            m_status->setText(status == QLatin1String("SUCCESS")
                                  ? QStringLiteral("Payment successful. Thank you!")
                                  : QStringLiteral("The payment did not go through: %1. Please try again.")
                                        .arg(!why.isEmpty() ? why : status.isEmpty() ? QStringLiteral("no status") : status.toLower()));
        });
        // Closed on the gateway's pages before they answered: only the shop's server can find out
        // from the gateway whether the buyer paid.
        connect(m_checkout, &pelbrook::PGTabBarViewController::paymentInterrupted, this, [this] { m_interrupted = true; });
        connect(m_checkout, &pelbrook::PGTabBarViewController::dismissed, this, [this] {
            if (m_interrupted)
                checkOrder();
            else if (m_result.isEmpty())
                m_status->setText(QStringLiteral("Checkout closed without a payment."));
            m_interrupted = false;
            m_checkoutButton->setEnabled(true);
        });
        m_status->setText(QStringLiteral("Paying…"));
        m_checkout->present();
    }

    // What the shop's server does when the checkout closed before the gateway answered: it asks
    // the gateway for the order's status. Only the sandbox's own certificate is trusted beyond
    // the system's.
    void checkOrder()
    {
        m_status->setText(QStringLiteral("Checkout closed before the gateway answered; asking the gateway about the payment…"));
        m_checkingOrder = true;
        const QUrl url(m_sandbox.base.toString() + QStringLiteral("/sandbox/orders/")
                       + QString::fromLatin1(QUrl::toPercentEncoding(m_orderId)));
        QNetworkReply *reply = m_network.get(QNetworkRequest(url));
        connect(reply, &QNetworkReply::sslErrors, reply, [this, reply](const QList<QSslError> &errors) {
            const QByteArray seen = reply->sslConfiguration().peerCertificate().digest(QCryptographicHash::Sha256).toHex();
            if (!m_sandbox.fingerprint.isEmpty() && seen == m_sandbox.fingerprint.toLatin1())
                reply->ignoreSslErrors(errors);
        });
        connect(reply, &QNetworkReply::finished, this, [this, reply] {
            reply->deleteLater();
            m_checkingOrder = false;
            const QJsonObject order = QJsonDocument::fromJson(reply->readAll()).object();
            const QString status = order.value(QStringLiteral("status")).toString();
            const QString message = order.value(QStringLiteral("message")).toString().trimmed();
            std::printf("order status %s\n", qPrintable(status.isEmpty() ? QStringLiteral("unknown") : status));
            if (reply->error() != QNetworkReply::NoError || status.isEmpty())
                m_status->setText(QStringLiteral("Checkout closed before the gateway answered, and the gateway could not be asked. "
                                                 "Please check your bank statement before paying again."));
            else if (status == QLatin1String("SUCCESS"))
                m_status->setText(QStringLiteral("Checkout closed early, but the gateway says the payment went through. Thank you!"));
            else
                m_status->setText(QStringLiteral("Checkout closed early. The gateway says: %1 (%2).")
                                      .arg(message.isEmpty() ? QStringLiteral("no payment") : message, status.toLower()));
        });
    }

    const Sandbox &m_sandbox;
    QString m_screenshots;
    QPushButton *m_checkoutButton;
    QLabel *m_status;
    std::unique_ptr<pelbrook::cardViewController> m_tokenClient;
    QPointer<pelbrook::PGTabBarViewController> m_checkout;
    QString m_result;
    QString m_orderId;
    QNetworkAccessManager m_network;
    bool m_interrupted = false;
    bool m_checkingOrder = false;
};

// A payment the demo makes by itself: the tab, what the buyer enters, and what the buyer does on
// the gateway's pages. What is entered chooses the sandbox's scenario.
struct Autopilot {
    const char *name;
    int tab;
    // A card number; a bank's row; a wallet's name; a UPI address, or a name that takes Tez's
    // second handle.
    const char *entry;
    bool approves; // presses Approve on the "Confirm payment" page
    bool closes = false; // closes the checkout on the "Confirm payment" page instead
};

const Autopilot Autopilots[] = {
    {"card", 0, "4111111111111111", true},
    {"card-otp", 0, "4000000000003063", false},
    {"card-decline", 0, "4000000000000002", false},
    {"card-processing", 0, "4000000000000077", false},
    {"card-error", 0, "4000000000000119", false},
    {"card-interrupt", 0, "4111111111111111", false, true},
    {"nb", 1, "2", true},
    {"nb-otp", 1, "0", false},
    {"wallet", 2, "MobiKwik", true},
    {"wallet-decline", 2, "Ola Money", false},
    {"upi", 3, "asha.rao", true},
    {"upi-approve", 3, "approve@sandbox", false},
    {"upi-expire", 3, "expire@sandbox", false},
};

const char *const WebViews[] = {"cardWebView", "nb_webView", "wallet_webView", "upi_webView"};
const char *const PayButtons[] = {"cardPayButton", "nb_paySecurelyBtn", "wallet_paySecurelyBtn", "upiPayButton"};

// Keys pressed in the browser view, as the buyer's keyboard would send them ("\r" is Return).
void typeIntoPage(QWebEngineView *web, const QString &text)
{
    QWidget *target = web->focusProxy() ? web->focusProxy() : web;
    target->setFocus();
    for (const QChar ch : text) {
        const int key = ch == QLatin1Char('\r') ? int(Qt::Key_Return) : int(ch.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

// Each gateway page is photographed, then answered as the buyer would: Approve (or, for a
// buyer who gives up, the checkout's close button) on the confirmation page, the one-time
// password on the bank's page, the close button on an error page; any other page waits for the
// gateway.
void answerGatewayPages(CartWindow &cart, pelbrook::PGTabBarViewController *checkout, QWebEngineView *web, bool approves, bool closes)
{
    auto pages = std::make_shared<int>(0);
    QObject::connect(web, &QWebEngineView::loadFinished, checkout, [&cart, checkout, web, approves, closes, pages] {
        // The checkout's own form page is not the gateway's.
        if (web->url().host() != QLatin1String("127.0.0.1"))
            return;
        const int page = ++*pages;
        QTimer::singleShot(300, checkout, [&cart, checkout, web, approves, closes, page] {
            const QString title = web->title();
            const QString slug = title.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
            cart.save(checkout, QStringLiteral("gateway-%1-%2.png").arg(page).arg(slug));
            if (title == QLatin1String("Confirm payment") && approves)
                web->page()->runJavaScript(QStringLiteral("document.getElementById('approve').click();"));
            else if (title == QLatin1String("Enter the one-time password"))
                web->page()->runJavaScript(QStringLiteral("document.getElementById('otp').focus();"), [&cart, checkout, web, page](const QVariant &) {
                    typeIntoPage(web, QStringLiteral("123456"));
                    QTimer::singleShot(300, checkout, [&cart, checkout, web, page] {
                        cart.save(checkout, QStringLiteral("gateway-%1-code-typed.png").arg(page));
                        typeIntoPage(web, QStringLiteral("\r"));
                    });
                });
            else if (title == QLatin1String("Internal server error") || (title == QLatin1String("Confirm payment") && closes))
                for (auto *close : checkout->findChildren<QAbstractButton *>(QStringLiteral("closeButton"))) {
                    if (close->isVisible()) {
                        click(close);
                        break;
                    }
                }
        });
    });
}

// One payment by the chosen autopilot, as a buyer would make it. Returns false when a step
// could not be done.
bool autopilot(CartWindow &cart, const Autopilot &pilot)
{
    click(cart.findChild<QPushButton *>(QStringLiteral("checkoutButton")));
    if (!waitFor([&] { return cart.checkout() && cart.checkout()->isVisible(); }))
        return false;
    pelbrook::PGTabBarViewController *checkout = cart.checkout();
    static const char *const tabFiles[] = {"tab-cards.png", "tab-netbanking.png", "tab-wallets.png", "tab-upi.png"};
    for (int tab = 0; tab < 4; ++tab) {
        checkout->setSelectedIndex(tab);
        if (tab == 1) {
            auto *banks = checkout->findChild<QAbstractItemView *>(QStringLiteral("netbankingTable"));
            waitFor([&] { return banks && banks->model()->rowCount() > 0; });
        }
        pause(150);
        cart.save(checkout, QLatin1String(tabFiles[tab]));
    }
    checkout->setSelectedIndex(pilot.tab);
    pause(150);

    const QString entry = QLatin1String(pilot.entry);
    switch (pilot.tab) {
    case 0:
        type(checkout, "cardHolderNameTextField", QStringLiteral("Asha Rao"));
        type(checkout, "cardExpiryMonthTextField", QStringLiteral("12"));
        type(checkout, "cardExpiryYearTextField", QStringLiteral("30"));
        type(checkout, "cardCvcTextField", QStringLiteral("123"));
        break;
    case 1: {
        auto *banks = checkout->findChild<QAbstractItemView *>(QStringLiteral("netbankingTable"));
        if (!banks || banks->model()->rowCount() <= entry.toInt())
            return false;
        click(banks->viewport(), banks->visualRect(banks->model()->index(entry.toInt(), 0)).center());
        break;
    }
    case 2:
        if (!clickItem(checkout, "walletCollection", entry))
            return false;
        break;
    default:
        if (entry.contains(QLatin1Char('@'))) {
            if (!clickItem(checkout, "upiCollection", QStringLiteral("Other UPI apps")))
                return false;
            type(checkout, "upiVpaTextField", entry);
            break;
        }
        if (!clickItem(checkout, "upiCollection", QStringLiteral("Tez")))
            return false;
        click(checkout->findChild<QLineEdit *>(QStringLiteral("upiPostFixTextField")));
        auto *handles = checkout->findChild<QAbstractItemView *>(QStringLiteral("bankPicker"));
        if (!handles || handles->model()->rowCount() < 2)
            return false;
        click(handles->viewport(), handles->visualRect(handles->model()->index(1, 0)).center());
        pause(150);
        cart.save(checkout, QStringLiteral("upi-handles.png"));
        click(checkout->findChild<QAbstractButton *>(QStringLiteral("doneButton")));
        type(checkout, "upiVpaTextField", entry);
    }
    pause(150);
    cart.save(checkout, QLatin1String(pilot.name) + QStringLiteral("-chosen.png"));
    // Typed after the picture: the pictures the demo leaves behind never show a card number.
    if (pilot.tab == 0)
        type(checkout, "cardNumberTextField", entry);

    click(checkout->findChild<QAbstractButton *>(QLatin1String(PayButtons[pilot.tab])));
    // The browser's view exists once its page does: by the pay press at the latest.
    auto *web = checkout->findChild<QWebEngineView *>(QLatin1String(WebViews[pilot.tab]));
    if (!web)
        return false;
    answerGatewayPages(cart, checkout, web, pilot.approves, pilot.closes);
    // It ends with a result, or with the checkout closed on an error page.
    return waitFor([&] { return cart.hasResult() || !cart.checkout(); }, 90000);
}

} // namespace

int main(int argc, char **argv)
{
    // Only the engine's fatal errors reach the console: its error level is mostly certificate
    // retries and graphics back-end notes. Pages that fail to load are reported by the demo.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--log-level"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --log-level=3");
    qInstallMessageHandler(quietEngineNoise);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("pelbrook-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A merchant's cart that pays through the Pelbrook checkout and the local sandbox."));
    parser.addHelpOption();
    const QCommandLineOption sandboxOption(QStringLiteral("sandbox"), QStringLiteral("Path of pelbrook-sandbox."), QStringLiteral("path"),
                                           QStringLiteral(PELBROOK_SANDBOX_BINARY));
    QStringList pilots;
    for (const Autopilot &pilot : Autopilots)
        pilots << QLatin1String(pilot.name);
    const QCommandLineOption autopilotOption(QStringLiteral("autopilot"),
                                             QStringLiteral("Pay by itself, one of: %1. Exits 0 when the payment succeeded, "
                                                            "1 when it did not, 3 when it could not pay at all.").arg(pilots.join(QStringLiteral(", "))),
                                             QStringLiteral("name"));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshots"), QStringLiteral("Write screenshots to this directory."),
                                              QStringLiteral("directory"));
    parser.addOptions({sandboxOption, autopilotOption, screenshotOption});
    // A wrong command line is a usage error (2), told apart from a payment that failed (1).
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "pelbrook-demo: %s\n%s", qPrintable(parser.errorText()), qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    QString name = parser.value(autopilotOption);
    if (name.isEmpty() && headless)
        name = QStringLiteral("card");
    const Autopilot *chosen = nullptr;
    for (const Autopilot &pilot : Autopilots) {
        if (name == QLatin1String(pilot.name))
            chosen = &pilot;
    }
    if (!name.isEmpty() && !chosen) {
        std::fprintf(stderr, "pelbrook-demo: unknown autopilot \"%s\" (%s)\n", qPrintable(name), qPrintable(pilots.join(QStringLiteral(", "))));
        return 2;
    }

    Sandbox sandbox;
    // The UPI request expires in seconds, not the sandbox's half a minute, when it is watched.
    const QStringList sandboxArguments = chosen && name == QLatin1String("upi-expire")
        ? QStringList{QStringLiteral("--upi-expiry"), QStringLiteral("8")} : QStringList{};
    if (!startSandbox(sandbox, parser.value(sandboxOption), sandboxArguments)) {
        std::fprintf(stderr, "pelbrook-demo: cannot start the sandbox (%s)\n", qPrintable(parser.value(sandboxOption)));
        return 3;
    }
    std::printf("sandbox at %s (pid %lld)\n", qPrintable(sandbox.base.toString()), qlonglong(sandbox.process.processId()));

    pelbrook::Endpoints endpoints;
    endpoints.testGateway = sandbox.base;
    endpoints.productionGateway = sandbox.base;
    endpoints.bankList = QUrl(sandbox.base.toString() + QStringLiteral("/pg/iosbanks.json"));
    endpoints.pinnedCertificateSha256 = sandbox.fingerprint;
    pelbrook::setEndpoints(endpoints);

    CartWindow cart(sandbox, parser.value(screenshotOption));
    cart.show();

    int exitCode = 0;
    if (chosen) {
        QTimer::singleShot(200, &cart, [&] {
            const bool paid = autopilot(cart, *chosen);
            const QString status = QJsonDocument::fromJson(cart.result().toUtf8()).object().value(QStringLiteral("status")).toString();
            if (!paid)
                std::fprintf(stderr, "pelbrook-demo: the %s payment could not be made\n", chosen->name);
            // 3 when the autopilot could not play the payment through: not an answer from the
            // gateway, so neither a success nor a failure.
            exitCode = !paid ? 3 : status == QLatin1String("SUCCESS") ? 0 : 1;
            waitFor([&] { return !cart.checkout(); }, 5000);
            waitFor([&] { return !cart.checkingOrder(); }, 10000);
            cart.save(&cart, QStringLiteral("cart-after.png"));
            app.quit();
        });
    }
    app.exec();
    sandbox.process.closeWriteChannel();
    sandbox.process.waitForFinished(3000);
    return exitCode;
}
