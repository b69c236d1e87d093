#include "platform/net/TrustPolicy.h"

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

QByteArray pinnedDigest()
{
    return QByteArray::fromHex(normalisedFingerprint(endpoints().pinnedCertificateSha256).toLatin1());
}

bool isPinned(const QSslCertificate &certificate)
{
    const QByteArray pin = pinnedDigest();
    return !pin.isEmpty() && !certificate.isNull() && certificate.digest(QCryptographicHash::Sha256) == pin;
}

} // namespace pelbrook::TrustPolicy
