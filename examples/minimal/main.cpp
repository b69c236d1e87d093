#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    pelbrook::Endpoints endpoints;                    // your Pelbrook hosts and bank list
    endpoints.testGateway = QUrl("https://test-gateway.example");
    endpoints.bankList = QUrl("https://objects.example/pg/iosbanks.json");
    pelbrook::setEndpoints(endpoints);
    const QString token = app.arguments().value(1);   // from your own server
    pelbrook::PGTabBarViewController checkout;
    checkout.setConfig("TEST", "your-app-id", {}, "Acme Books", {"paytm"}, "YES", "2f6fde", "6a3fd0");
    checkout.createOrder("ORD1", "499.00", "buyer@example.com", "9876543210", token, "", "Asha Rao", "INR", {});
    QObject::connect(&checkout, &pelbrook::PGTabBarViewController::paymentResult, [](const QString &result) { qInfo("%s", qPrintable(result)); });
    QObject::connect(&checkout, &pelbrook::PGTabBarViewController::dismissed, &app, &QApplication::quit);
    checkout.present();
    return app.exec();
}
