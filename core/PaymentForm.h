#pragma once

#include <QList>
#include <QString>
#include <QUrl>

namespace pelbrook {

/// One hidden field of the method's details.
struct FormField {
    QString name;
    QString value;
};

/// The values a payment page carries, as one screen holds them.
struct PaymentPageValues {
    QString endpoint;
    QString appId;
    QString orderId;
    QString orderAmount;
    QString customerName;
    QString orderNote;
    QString customerPhone;
    QString customerEmail;
    QString paymentOption;
    QList<FormField> methodFields;
    QString orderCurrency;
    QString paymentToken;
    QString notifyUrl;
    /// The UPI and wallet pages carry the name and note fields twice.
    bool repeatNameAndNote = false;
};

/// The gateway's host for @p env ("TEST" or "PROD"), as configured in the endpoints; empty for
/// any other. Logs nothing.
QUrl gatewayOrigin(const QString &env);

/// The gateway's checkout address for an environment ("TEST" or "PROD", exact); empty for any
/// other value. Writes the environment line to the debug log.
QString gatewayEndpoint(const QString &env);

/**
 * Escapes a value for an HTML attribute, so the browser posts exactly that value. Two
 * characters no page can carry arrive as U+FFFD instead: NUL, which the browser's parser
 * replaces, and a lone UTF-16 surrogate, which this function replaces since the page is
 * UTF-8. (Form submission itself sends every line break as CR LF.)
 */
QString escapeAttribute(const QString &value);

/// The auto-submitting page that posts the payment form to the endpoint.
QString buildPaymentPage(const PaymentPageValues &values);

} // namespace pelbrook
