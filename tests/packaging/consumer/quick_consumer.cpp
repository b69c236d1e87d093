// A Qt Quick application's side of the installed module: import it, configure a checkout,
// present it and close it.
#include <QApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    // The browser the checkout shows its payment pages in shares Qt Quick's graphics context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import Pelbrook.Checkout\n"
                      "Checkout { property bool wasDismissed: false; orderId: \"ORD9\"; onDismissed: wasDismissed = true }",
                      QUrl("qrc:/consumer.qml"));
    QObject *checkout = component.create();
    if (!checkout) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    QMetaObject::invokeMethod(checkout, "present");
    const bool presented = checkout->property("presented").toBool();
    QMetaObject::invokeMethod(checkout, "close");
    QTimer::singleShot(500, &app, &QApplication::quit);
    app.exec();
    std::printf("orderId=%s presented=%s dismissed=%s\n", qPrintable(checkout->property("orderId").toString()),
                presented ? "true" : "false", checkout->property("wasDismissed").toBool() ? "true" : "false");
    delete checkout;
    return 0;
}
