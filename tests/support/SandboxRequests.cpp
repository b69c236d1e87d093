// Requests to the sandbox through the library's own HTTP client, which trusts the pinned
// certificate: the tests' token endpoint and development aids.

#include "SandboxProcess.h"

#include "platform/net/HttpClient.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

QByteArray SandboxProcess::fetch(const QByteArray &verb, const QString &path, const QByteArray &body) const
{
    QNetworkRequest request(QUrl(baseUrl().toString() + path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    QEventLoop loop;
    QByteArray answer;
    pelbrook::HttpClient::send(verb, request, body, &loop, [&](std::optional<QByteArray> reply) {
        answer = reply.value_or(QByteArray());
        loop.quit();
    }, 64 * 1024 * 1024); // a last form may hold values of a megabyte
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
    return answer;
}

QString SandboxProcess::token(const QString &appId, const QString &orderId, const QString &amount) const
{
    const QJsonObject body{{QStringLiteral("appId"), appId}, {QStringLiteral("orderId"), orderId},
                           {QStringLiteral("orderAmount"), amount}};
    const QByteArray reply = fetch("POST", QStringLiteral("/token"), QJsonDocument(body).toJson(QJsonDocument::Compact));
    return QJsonDocument::fromJson(reply).object().value(QStringLiteral("checksum")).toString();
}

QList<QPair<QString, QString>> SandboxProcess::lastForm() const
{
    QList<QPair<QString, QString>> form;
    const QJsonArray fields = QJsonDocument::fromJson(fetch("GET", QStringLiteral("/sandbox/last-form"), {})).array();
    for (const QJsonValue &field : fields)
        form.append({field[QStringLiteral("name")].toString(), field[QStringLiteral("value")].toString()});
    return form;
}

QJsonObject SandboxProcess::orderStatus(const QString &orderId) const
{
    const QString path = QStringLiteral("/sandbox/orders/") + QString::fromLatin1(QUrl::toPercentEncoding(orderId));
    return QJsonDocument::fromJson(fetch("GET", path, {})).object();
}

qint64 SandboxProcess::lastCheckoutArrival() const
{
    return fetch("GET", QStringLiteral("/sandbox/last-checkout-arrival"), {}).toLongLong();
}
