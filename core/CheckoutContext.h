#pragma once

#include <QString>
#include <QStringList>

namespace pelbrook {

/**
 * The process-wide configuration, order and last result. Plain data: written by the
 * container's entry points and by the result capture, read when a screen is constructed and
 * by getResult(). Main thread only.
 */
struct CheckoutContext {
    QString url_global;
    QString appId_global;
    QString merchantName_global;
    QString orderId_global;
    QString orderAmount_global;
    QString customerEmail_global;
    QString customerPhone_global;
    QString paymentReady_global;
    QString env_global;
    QString result_global;
    QString customerName_global;
    QString orderNote_global;
    QString orderCurrency_global;
    QString notifyUrl_global;
    QString color1Hex_global;
    QString color2Hex_global;
    QStringList walletArray_global;
    QString tezOption_global;

    /// The one context, created empty on first use (thread-safe creation).
    static CheckoutContext &shared();
};

} // namespace pelbrook
