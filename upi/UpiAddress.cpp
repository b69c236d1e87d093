#include "upi/UpiAddress.h"

#include "platform/DebugLog_p.h"

namespace pelbrook {

QString composeUpiAddress(const std::optional<QString> &upiCode, const QString &upiVpa, const QString &upiPostfix)
{
    if (upiCode == QLatin1String("tez")) {
        debugLog(QStringLiteral("It is TEZ"));
        // The handle text already starts with "@" when it came from the handle picker.
        const QString joined = upiVpa + upiPostfix;
        debugLog(joined);
        return joined;
    }
    if (upiCode == QLatin1String("others")) {
        debugLog(QStringLiteral("It is OTHERS"));
        debugLog(upiVpa);
    }
    return upiVpa;
}

} // namespace pelbrook
