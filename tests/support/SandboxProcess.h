#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

/**
 * Runs pelbrook-sandbox on a free loopback port for the length of a test, and points the
 * library's endpoints at it (with its certificate pinned unless asked otherwise).
 */
class SandboxProcess
{
public:
    explicit SandboxProcess(const QStringList &extraArguments = {});
    ~SandboxProcess();

    bool isRunning() const { return m_port > 0; }
    QUrl baseUrl() const;
    QString fingerprint() const { return m_fingerprint; }
    /// Points the library at this sandbox, as it is from the start; with @p pin false, its
    /// certificate is not trusted.
    void useAsEndpoints(bool pin = true) const;

    /// A token from the sandbox's token endpoint, fetched synchronously (empty on failure).
    QString token(const QString &appId, const QString &orderId, const QString &amount) const;
    /// The last checkout form the sandbox received, as (name, value) pairs in order.
    QList<QPair<QString, QString>> lastForm() const;
    /// The order's status as the sandbox tells a merchant's server (GET /sandbox/orders/<id>).
    QJsonObject orderStatus(const QString &orderId) const;
    /// When the last checkout form began to arrive, in nanoseconds of std::chrono::steady_clock
    /// (the machine's monotonic clock, shared with this process); 0 before the first or on failure.
    qint64 lastCheckoutArrival() const;

private:
    QByteArray fetch(const QByteArray &verb, const QString &path, const QByteArray &body) const;

    QTemporaryDir m_stateDir;
    QProcess m_process;
    int m_port = 0;
    QString m_fingerprint;
    mutable QByteArray m_output;
};
