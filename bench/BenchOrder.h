#pragma once

// The merchant's settings and the order every benchmark's checkout gets.

#include "Measure.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QString>

namespace bench {

inline const QString AppId = QStringLiteral("sandbox-app");
inline const QString Amount = QStringLiteral("100.00");
inline const QString BuyerName = QStringLiteral("Asha Rao");
inline const QString OrderNote = QStringLiteral("Bench");

/// The merchant's settings: the test gateway, the sandbox's app id, two wallets and colours.
inline void configureCheckout(pelbrook::PGTabBarViewController &container)
{
    container.setConfig(QStringLiteral("TEST"), AppId, QString(), QStringLiteral("Acme Books"),
                        {QStringLiteral("paytm"), QStringLiteral("mobikwik")}, QStringLiteral("YES"),
                        QStringLiteral("2f6fde"), QStringLiteral("6a3fd0"));
}

/// An order of 100.00 INR from the test buyer, paid with @p token (any text where the gateway
/// is never reached).
inline void orderCheckout(pelbrook::PGTabBarViewController &container, const QString &orderId,
                          const QString &token = QStringLiteral("token"))
{
    container.createOrder(orderId, Amount, QStringLiteral("buyer@example.com"), QStringLiteral("9999999999"), token,
                          OrderNote, BuyerName, QStringLiteral("INR"), QString());
}

/// Configures @p container, gives it an order and shows it at phone size, waiting until it is
/// on screen.
inline void presentCheckout(pelbrook::PGTabBarViewController &container, const QString &orderId)
{
    configureCheckout(container);
    orderCheckout(container, orderId);
    container.resize(390, 844);
    container.present();
    waitUntilExposed(&container);
}

} // namespace bench
