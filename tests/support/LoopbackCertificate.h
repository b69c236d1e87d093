#pragma once

#include "Certificate.h"
#include "ScriptedHttpServer.h"

#include <QFile>

/// A self-signed certificate, made in @p directory as @p name (for 127.0.0.1 unless @p request
/// asks otherwise), for a loopback HTTPS server; its SHA-256 fingerprint, to pin, goes to @p pin.
inline ScriptedHttpServer::Tls loopbackCertificate(const QString &directory, QString *pin, const std::string &name = "loopback",
                                                   const sandbox::CertificateRequest &request = {})
{
    std::string error;
    const sandbox::CertificateFiles files = sandbox::createSelfSignedCertificate(directory.toStdString(), name, request, error);
    QFile certificate(QString::fromStdString(files.certificatePath));
    QFile key(QString::fromStdString(files.keyPath));
    if (files.sha256.empty() || !certificate.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly))
        qFatal("no loopback certificate: %s", error.c_str());
    *pin = QString::fromStdString(files.sha256);
    return {QSslCertificate(certificate.readAll()), QSslKey(key.readAll(), QSsl::Ec)};
}
