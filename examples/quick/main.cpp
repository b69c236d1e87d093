// A Qt Quick application that takes one payment with the checkout's QML type.
//
//   pelbrook-quick-example --gateway https://127.0.0.1:8443 --pin <sha256> --token <token>
//
// Against the sandbox: start pelbrook-sandbox, take the pin it prints, and a token from its
// token endpoint (the README shows how).
#include <pelbrook/Endpoints.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QQmlApplicationEngine>

int main(int argc, char **argv)
{
    // The browser the checkout shows its payment pages in shares Qt Quick's graphics context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // A QApplication, not a QGuiApplication: the checkout is made of widgets.
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    options.addOption({"gateway", "The test gateway (scheme, host and port).", "url", "https://127.0.0.1:8443"});
    options.addOption({"pin", "SHA-256 of the gateway's certificate, when it is self-signed.", "sha256"});
    options.addOption({"token", "The payment token your server got for the order.", "token"});
    options.addOption({"order", "The order id the token was issued for.", "id", "ORD1"});
    options.process(app);

    // Before any checkout is presented.
    pelbrook::Endpoints endpoints;
    endpoints.testGateway = QUrl(options.value("gateway"));
    endpoints.bankList = QUrl(options.value("gateway") + "/pg/iosbanks.json");
    endpoints.pinnedCertificateSha256 = options.value("pin");
    pelbrook::setEndpoints(endpoints);

    QQmlApplicationEngine engine;
    engine.setInitialProperties({{"token", options.value("token")}, {"orderId", options.value("order")}});
    engine.load(QUrl("qrc:/Main.qml"));
    if (engine.rootObjects().isEmpty())
        return 1;
    return app.exec();
}
