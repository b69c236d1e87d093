#include <pelbrook/DebugLog.h>
#include <pelbrook/Endpoints.h>
#include <pelbrook/PGTabBarViewController.h>
#include <pelbrook/ResultDelegate.h>

#include <QCoreApplication>
#include <cstdio>

int main()
{
    pelbrook::Endpoints endpoints;
    endpoints.testGateway = QUrl(QStringLiteral("https://127.0.0.1:1"));
    pelbrook::setEndpoints(endpoints);
    pelbrook::setDebugLogSink({});
    // Linking is the point: no application object is needed for these calls.
    std::printf("class=%s\n", pelbrook::PGTabBarViewController::staticMetaObject.className());
    std::printf("result=[%s]\n", qPrintable(pelbrook::endpoints().testGateway.host() == QLatin1String("127.0.0.1") ? QString() : QStringLiteral("bad")));
    return 0;
}
