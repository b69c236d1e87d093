// The demo: a small merchant application that takes one card payment through the checkout,
// against the local sandbox gateway.
//
// It starts pelbrook-sandbox, asks it for a payment token (as a merchant's server would),
// configures the checkout and presents it. With --autopilot (the default when there is no
// display) it fills in a test card, pays, approves on the sandbox's payment page, writes
// screenshots and exits with the result.

#include <pelbrook/DebugLog.h>
#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

namespace {

struct Sandbox {
    QProcess process;
    QUrl base;
    QString fingerprint;
    QString stateDir;
};

bool startSandbox(Sandbox &sandbox, const QString &program, const QStringList &extra)
{
    sandbox.stateDir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/sandbox");
    QDir().mkpath(sandbox.stateDir);
    sandbox.process.setProgram(program);
    sandbox.process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--state-dir"),
                                             sandbox.stateDir} + extra);
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
    return !sandbox.base.isEmpty();
}

// What the merchant's own server does: obtain a token for the order. Trusts exactly the
// sandbox's certificate.
QString fetchToken(const Sandbox &sandbox, const QJsonObject &order)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(sandbox.base.toString() + QStringLiteral("/token")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QNetworkReply *reply = network.post(request, QJsonDocument(order).toJson(QJsonDocument::Compact));
    const QList<QSslCertificate> pinned = QSslCertificate::fromPath(sandbox.stateDir + QStringLiteral("/sandbox-cert.pem"));
    if (!pinned.isEmpty())
        reply->ignoreSslErrors({QSslError(QSslError::SelfSignedCertificate, pinned.first())});
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    return QJsonDocument::fromJson(reply->readAll()).object().value(QStringLiteral("checksum")).toString();
}

void save(QWidget *window, const QString &directory, const QString &name)
{
    if (directory.isEmpty())
        return;
    QDir().mkpath(directory);
    const QString path = directory + QLatin1Char('/') + name;
    window->grab().save(path);
    std::printf("screenshot %s\n", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("pelbrook-demo"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Takes one payment through the Pelbrook checkout and the local sandbox."));
    parser.addHelpOption();
    const QCommandLineOption sandboxOption(QStringLiteral("sandbox"), QStringLiteral("Path of pelbrook-sandbox."), QStringLiteral("path"),
                                           QStringLiteral(PELBROOK_SANDBOX_BINARY));
    const QCommandLineOption autopilotOption(QStringLiteral("autopilot"), QStringLiteral("Fill in a test card and pay."));
    const QCommandLineOption screenshotOption(QStringLiteral("screenshots"), QStringLiteral("Write screenshots to this directory."),
                                              QStringLiteral("directory"));
    const QCommandLineOption sizeOption(QStringLiteral("size"), QStringLiteral("Window size, WxH."), QStringLiteral("size"),
                                        QStringLiteral("390x844"));
    parser.addOptions({sandboxOption, autopilotOption, screenshotOption, sizeOption});
    parser.process(app);
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    const bool autopilot = parser.isSet(autopilotOption) || headless;
    const QString screenshots = parser.value(screenshotOption);

    Sandbox sandbox;
    if (!startSandbox(sandbox, parser.value(sandboxOption), {})) {
        std::fprintf(stderr, "pelbrook-demo: cannot start the sandbox (%s)\n", qPrintable(parser.value(sandboxOption)));
        return 1;
    }
    std::printf("sandbox at %s\n", qPrintable(sandbox.base.toString()));

    pelbrook::Endpoints endpoints;
    endpoints.testGateway = sandbox.base;
    endpoints.productionGateway = sandbox.base;
    endpoints.bankList = QUrl(sandbox.base.toString() + QStringLiteral("/pg/iosbanks.json"));
    endpoints.pinnedCertificateSha256 = sandbox.fingerprint;
    pelbrook::setEndpoints(endpoints);

    const QString orderId = QStringLiteral("DEMO-%1").arg(QDateTime::currentSecsSinceEpoch());
    const QString token = fetchToken(sandbox, {{QStringLiteral("appId"), QStringLiteral("sandbox-app")},
                                               {QStringLiteral("orderId"), orderId},
                                               {QStringLiteral("orderAmount"), QStringLiteral("499.00")},
                                               {QStringLiteral("orderCurrency"), QStringLiteral("INR")}});
    if (token.isEmpty()) {
        std::fprintf(stderr, "pelbrook-demo: the sandbox issued no token\n");
        return 1;
    }

    auto *checkout = new pelbrook::PGTabBarViewController;
    checkout->setAttribute(Qt::WA_DeleteOnClose);
    checkout->setConfig(QStringLiteral("TEST"), QStringLiteral("sandbox-app"), QString(), QStringLiteral("Acme Books"),
                        {QStringLiteral("paytm"), QStringLiteral("mobikwik")}, QStringLiteral("YES"), QStringLiteral("2f6fde"),
                        QStringLiteral("6a3fd0"));
    checkout->createOrder(orderId, QStringLiteral("499.00"), QStringLiteral("buyer@example.com"), QStringLiteral("9876543210"), token,
                          QStringLiteral("Two paperbacks"), QStringLiteral("Asha Rao"), QStringLiteral("INR"),
                          QStringLiteral("https://merchant.example/notify"));
    const QStringList size = parser.value(sizeOption).split(QLatin1Char('x'));
    checkout->resize(size.value(0).toInt() > 0 ? size.value(0).toInt() : 390, size.value(1).toInt() > 0 ? size.value(1).toInt() : 844);

    int exitCode = 1;
    QObject::connect(checkout, &pelbrook::PGTabBarViewController::paymentResult, [&](const QString &result) {
        std::printf("payment result %s\n", qPrintable(result));
        exitCode = QJsonDocument::fromJson(result.toUtf8()).object().value(QStringLiteral("status")) == QLatin1String("SUCCESS") ? 0 : 2;
    });
    QObject::connect(checkout, &pelbrook::PGTabBarViewController::dismissed, &app, [&]() {
        std::printf("checkout closed; getResult() = %s\n", qPrintable(checkout->getResult()));
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    checkout->present();
    save(checkout, screenshots, QStringLiteral("checkout-open.png"));

    if (autopilot) {
        QTimer::singleShot(500, checkout, [&, checkout]() {
            const auto fill = [checkout](const char *name, const QString &text) {
                if (auto *field = checkout->findChild<QLineEdit *>(QLatin1String(name))) {
                    field->setFocus();
                    field->insert(text); // as typed: the screen's editing handlers run
                }
            };
            fill("cardNumberTextField", QStringLiteral("4111111111111111"));
            fill("cardHolderNameTextField", QStringLiteral("Asha Rao"));
            fill("cardExpiryMonthTextField", QStringLiteral("12"));
            fill("cardExpiryYearTextField", QStringLiteral("30"));
            fill("cardCvcTextField", QStringLiteral("123"));
            save(checkout, screenshots, QStringLiteral("checkout-filled.png"));
            // On the gateway's page, the buyer approves.
            if (auto *web = checkout->findChild<QWebEngineView *>(QStringLiteral("cardWebView"))) {
                QObject::connect(web, &QWebEngineView::loadFinished, checkout, [=](bool ok) {
                    if (!ok || !web->url().path().endsWith(QLatin1String("submit-transparent")))
                        return;
                    QTimer::singleShot(300, checkout, [=]() {
                        save(checkout, screenshots, QStringLiteral("gateway-page.png"));
                        web->page()->runJavaScript(QStringLiteral("document.getElementById('approve').click();"));
                    });
                });
            }
            if (auto *pay = checkout->findChild<QAbstractButton *>(QStringLiteral("cardPayButton")))
                pay->click();
        });
        QTimer::singleShot(60000, &app, [&]() {
            std::fprintf(stderr, "pelbrook-demo: no result within a minute\n");
            app.exit(1);
        });
    } else {
        exitCode = 0;
    }
    app.exec();
    sandbox.process.terminate();
    sandbox.process.waitForFinished(3000);
    return exitCode;
}
