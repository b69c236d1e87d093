#include "SandboxProcess.h"

// Starting the sandbox and pointing the library at it use the library's public interface only,
// so a test linked like an application (to the shared library) can use them; the requests to
// the sandbox are in SandboxRequests.cpp.

#include <pelbrook/Endpoints.h>

#include <QElapsedTimer>
#include <QRegularExpression>

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
    if (isRunning())
        useAsEndpoints();
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
