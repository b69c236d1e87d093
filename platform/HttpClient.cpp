#include "platform/HttpClient.h"

#include "platform/TrustPolicy.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>

namespace pelbrook {

QNetworkAccessManager *HttpClient::manager()
{
    // Parented to the application so it goes away with it; callers are on the main thread.
    static QPointer<QNetworkAccessManager> instance;
    if (!instance) {
        instance = new QNetworkAccessManager(QCoreApplication::instance());
        instance->setTransferTimeout(DefaultTimeoutMs);
    }
    return instance;
}

void HttpClient::send(const QByteArray &verb, const QNetworkRequest &request, const QByteArray &body,
                      QObject *context, Completion done, qint64 maximumBody)
{
    QNetworkReply *reply = manager()->sendCustomRequest(request, verb, body);
    auto tooLarge = std::make_shared<bool>(false);
    auto contextGone = std::make_shared<bool>(false);

    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply](const QList<QSslError> &errors) {
        if (TrustPolicy::mayOverride(errors, reply->sslConfiguration().peerCertificateChain()))
            reply->ignoreSslErrors(errors);
    });
    // A broken or hostile server must not make us hold an unbounded body in memory.
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, tooLarge, maximumBody](qint64 received, qint64 total) {
                         if (received > maximumBody || total > maximumBody) {
                             *tooLarge = true;
                             reply->abort();
                         }
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    // The context is the receiver: if it is destroyed, the completion never runs.
    QObject::connect(reply, &QNetworkReply::finished, context ? context : reply,
                     [reply, tooLarge, contextGone, done = std::move(done)]() {
                         if (*contextGone)
                             return;
                         // An HTTP status, even an error one, comes with a body worth reading; a
                         // transport failure after the headers (a reset, a time-out) leaves a
                         // body cut short, which is no answer.
                         const QNetworkReply::NetworkError error = reply->error();
                         const bool transportFailed = (error > QNetworkReply::NoError && error < QNetworkReply::ContentAccessDenied)
                                                      || (error >= QNetworkReply::ProtocolUnknownError && error < QNetworkReply::InternalServerError);
                         const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
                         if (*tooLarge || !answered || transportFailed) {
                             done(std::nullopt);
                             return;
                         }
                         done(reply->readAll());
                     });
    // Nobody is left to read the answer once the context is gone. The context is still
    // connected while it announces its destruction, so the abort must not reach it.
    if (context) {
        QObject::connect(context, &QObject::destroyed, reply, [reply, contextGone]() {
            *contextGone = true;
            reply->abort();
        });
    }
}

} // namespace pelbrook
