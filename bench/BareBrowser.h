#pragma once

// What the benchmarks' browser views share: the checkout's payment page, the sandbox's
// certificate trusted by its fingerprint (as any Qt application would trust it), and a watch
// for the gateway's answer.

#include "BenchOrder.h"
#include "SandboxProcess.h"

#include "core/PaymentForm.h"
#include "platform/web/BrowserView.h"

#include <QCryptographicHash>
#include <QSslCertificate>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace bench {

/// The page the card screen writes for the benchmarks' test card and order @p orderId.
inline QString cardPaymentPage(const SandboxProcess &sandbox, const QString &orderId)
{
    pelbrook::PaymentPageValues page;
    page.endpoint = pelbrook::gatewayEndpoint(QStringLiteral("TEST"));
    page.appId = AppId;
    page.orderId = orderId;
    page.orderAmount = Amount;
    page.customerName = BuyerName;
    page.orderNote = OrderNote;
    page.customerPhone = QStringLiteral("9999999999");
    page.customerEmail = QStringLiteral("buyer@example.com");
    page.paymentOption = QStringLiteral("card");
    page.methodFields = {{QStringLiteral("card_number"), QStringLiteral("4111111111111111")},
                         {QStringLiteral("card_holder"), QStringLiteral("Asha Rao")},
                         {QStringLiteral("card_expiryMonth"), QStringLiteral("12")},
                         {QStringLiteral("card_expiryYear"), QStringLiteral("2030")},
                         {QStringLiteral("card_cvv"), QStringLiteral("123")}};
    page.orderCurrency = QStringLiteral("INR");
    page.paymentToken = sandbox.token(page.appId, orderId, page.orderAmount);
    return pelbrook::buildPaymentPage(page);
}

/// The empty document a browser gets ready with.
inline const QString EmptyPage = QStringLiteral("<html></html>");

/// Whether @p view has shown the gateway's answer to a form (a page of its own, over https)
/// since this was called; the connection lives as long as the view.
inline std::shared_ptr<bool> watchForGatewayPage(QWebEngineView *view)
{
    auto loaded = std::make_shared<bool>(false);
    QObject::connect(view, &QWebEngineView::loadFinished, view, [loaded, view](bool ok) {
        *loaded = *loaded || (ok && view->url().scheme() == QLatin1String("https"));
    });
    return loaded;
}

/// The same for the checkout's browser view, whose engine view exists only with its page.
inline std::shared_ptr<bool> watchForGatewayPage(pelbrook::BrowserView *view)
{
    auto loaded = std::make_shared<bool>(false);
    QObject::connect(view, &pelbrook::BrowserView::loadFinished, view, [loaded, view](bool ok) {
        *loaded = *loaded || (ok && view->url().scheme() == QLatin1String("https"));
    });
    return loaded;
}

/// Lets @p page accept the sandbox's self-signed certificate, and no other.
inline void trustSandbox(QWebEnginePage *page, const SandboxProcess &sandbox)
{
    const QByteArray fingerprint = sandbox.fingerprint().toLatin1();
    QObject::connect(page, &QWebEnginePage::certificateError, page, [fingerprint](QWebEngineCertificateError error) {
        const QList<QSslCertificate> chain = error.certificateChain();
        if (!chain.isEmpty() && chain.first().digest(QCryptographicHash::Sha256).toHex() == fingerprint)
            error.acceptCertificate();
        else
            error.rejectCertificate();
    });
}

} // namespace bench
