#include "platform/TrustPolicy.h"

#include <pelbrook/Endpoints.h>

#include <QCryptographicHash>
#include <QRegularExpression>

namespace pelbrook::TrustPolicy {

QString normalisedFingerprint(const QString &text)
{
    QString hex = text;
    hex.remove(QLatin1Char(':'));
    hex = hex.simplified().remove(QLatin1Char(' ')).toLower();
    static const QRegularExpression sha256(QStringLiteral("^[0-9a-f]{64}$"));
    return sha256.match(hex).hasMatch() ? hex : QString();
}

bool isPinned(const QSslCertificate &certificate)
{
    const QString pin = normalisedFingerprint(endpoints().pinnedCertificateSha256);
    if (pin.isEmpty() || certificate.isNull())
        return false;
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex()) == pin;
}

bool mayOverride(const QList<QSslError> &errors, const QList<QSslCertificate> &chain)
{
    if (errors.isEmpty() || chain.isEmpty() || !isPinned(chain.first()))
        return false;
    for (const QSslError &error : errors) {
        switch (error.error()) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace pelbrook::TrustPolicy
