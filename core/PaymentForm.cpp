#include "core/PaymentForm.h"

#include "platform/DebugLog_p.h"

#include <pelbrook/Endpoints.h>

namespace pelbrook {

QUrl gatewayOrigin(const QString &env)
{
    if (env == QLatin1String("TEST"))
        return endpoints().testGateway;
    if (env == QLatin1String("PROD"))
        return endpoints().productionGateway;
    return QUrl();
}

QString gatewayEndpoint(const QString &env)
{
    QUrl endpoint = gatewayOrigin(env);
    if (env == QLatin1String("TEST")) {
        debugLog(QStringLiteral("It is TEST environment"));
        endpoint.setPath(QStringLiteral("/billpay/checkout/post/submit-transparent"));
    } else if (env == QLatin1String("PROD")) {
        debugLog(QStringLiteral("It is PROD environment"));
        endpoint.setPath(QStringLiteral("/checkout/post/submit-transparent"));
    } else {
        return QString();
    }
    return endpoint.toString(QUrl::FullyEncoded);
}

QString escapeAttribute(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        switch (c.unicode()) {
        case '&': escaped += QLatin1String("&amp;"); break;
        case '<': escaped += QLatin1String("&lt;"); break;
        case '>': escaped += QLatin1String("&gt;"); break;
        case '"': escaped += QLatin1String("&quot;"); break;
        case '\'': escaped += QLatin1String("&#39;"); break;
        // The parser reads a bare carriage return as a line feed; a reference keeps it.
        case '\r': escaped += QLatin1String("&#13;"); break;
        default:
            if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
                escaped += c;
                escaped += value.at(++i);
            } else if (c.isSurrogate()) {
                // The page goes to the browser as UTF-8, which cannot hold a lone surrogate; the
                // encoder would write "?", which the gateway could not tell from a real one.
                escaped += QChar(QChar::ReplacementCharacter);
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

namespace {

QString hiddenField(const QString &name, const QString &value)
{
    // Names are escaped too: a field a screen adds later must not be able to break the page.
    return QStringLiteral("<input type='hidden' name='") + escapeAttribute(name) + QStringLiteral("' value='")
        + escapeAttribute(value) + QStringLiteral("'/>");
}

} // namespace

QString buildPaymentPage(const PaymentPageValues &v)
{
    // The gateway expects this exact shape: single-quoted attributes, except the double-quoted
    // appId followed by " />", and no white space between the pieces.
    QString page = QStringLiteral("<html><body onload='document.order.submit()'>");
    page += QStringLiteral("<form name='order' action='") + escapeAttribute(v.endpoint) + QStringLiteral("' method='post'>");
    page += QStringLiteral("<input type='hidden' name='appId' value=\"") + escapeAttribute(v.appId) + QStringLiteral("\" />");
    page += hiddenField(QStringLiteral("orderId"), v.orderId);
    page += hiddenField(QStringLiteral("orderAmount"), v.orderAmount);
    const QString nameAndNote = hiddenField(QStringLiteral("customerName"), v.customerName)
        + hiddenField(QStringLiteral("orderNote"), v.orderNote);
    page += nameAndNote;
    if (v.repeatNameAndNote)
        page += nameAndNote;
    page += hiddenField(QStringLiteral("customerPhone"), v.customerPhone);
    page += hiddenField(QStringLiteral("customerEmail"), v.customerEmail);
    page += hiddenField(QStringLiteral("paymentOption"), v.paymentOption);
    for (const FormField &field : v.methodFields)
        page += hiddenField(field.name, field.value);
    page += hiddenField(QStringLiteral("orderCurrency"), v.orderCurrency);
    page += hiddenField(QStringLiteral("paymentToken"), v.paymentToken);
    page += QStringLiteral("<input type='hidden' name='source' value='iossdk'/>");
    page += hiddenField(QStringLiteral("notifyUrl"), v.notifyUrl);
    page += QStringLiteral("</form></body></html>");
    return page;
}

} // namespace pelbrook
