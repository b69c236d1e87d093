#include "SandboxProcess.h"

#include "platform/HttpClient.h"

#include <pelbrook/Endpoints.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimer>

SandboxProcess::SandboxProcess(const QStringList &extraArguments)
{
    m_process.setProgram(QStringLiteral(PELBROOK_SANDBOX_BINARY));
    m_process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--state-dir"),
                                       m_stateDir.path(), QStringLiteral("--exit-with-stdin")} + extraArguments);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return;
    static const QRegularExpression listening(QStringLiteral("listening on https://127\\.0\\.0\\.1:(\\d+)"));
    static const QRegularExpression certificate(QStringLiteral("certificate sha256 ([0-9a-f]{64})"));
    QElapsedTimer timer;
    timer.start();
    while (m_port == 0 && timer.elapsed() < 20000 && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(500);
        m_output += m_process.readAll();
        const QString text = QString::fromUtf8(m_output);
        if (auto match = certificate.match(text); match.hasMatch())
            m_fingerprint = match.captured(1);
        if (auto match = listening.match(text); match.hasMatch())
            m_port = match.captured(1).toInt();
    }
}

SandboxProcess::~SandboxProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
}

QUrl SandboxProcess::baseUrl() const
{
    return QUrl(QStringLiteral("https://127.0.0.1:%1").arg(m_port));
}

void SandboxProcess::useAsEndpoints(bool pin) const
{
    pelbrook::Endpoints endpoints;
    endpoints.testGateway = baseUrl();
    endpoints.productionGateway = baseUrl();
    endpoints.bankList = QUrl(baseUrl().toString() + QStringLiteral("/pg/iosbanks.json"));
    endpoints.pinnedCertificateSha256 = pin ? m_fingerprint : QString();
    pelbrook::setEndpoints(endpoints);
}

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

qint64 SandboxProcess::lastCheckoutArrival() const
{
    return fetch("GET", QStringLiteral("/sandbox/last-checkout-arrival"), {}).toLongLong();
}

QStringList SandboxProcess::output() const
{
    return QString::fromUtf8(m_output).split(QLatin1Char('\n'));
}
