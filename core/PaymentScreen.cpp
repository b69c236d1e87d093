#include <pelbrook/PaymentScreen.h>

#include "core/CheckoutContext.h"
#include "core/HandBack.h"
#include "core/PaymentForm.h"
#include "platform/BrowserProfile_p.h"
#include "platform/BrowserView.h"
#include "platform/DebugLog_p.h"
#include "platform/HttpClient.h"
#include "shell/BusyOverlay.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

namespace pelbrook {

class PaymentScreenPrivate : public NavigationDelegate
{
public:
    explicit PaymentScreenPrivate(PaymentScreen *screen)
        : q(screen)
    {
    }

    bool shouldStartLoad(BrowserView *, const QUrl &url, QWebEnginePage::NavigationType) override
    {
        return q->webViewShouldStartLoad(url);
    }

    PaymentScreen *q;
    std::shared_ptr<ResultDelegate> resultDelegate;
    QString appId, merchantName, orderId, orderAmount, customerEmail, customerPhone, customerName,
        orderNote, orderCurrency, notifyUrl, color1Hex, color2Hex, env, paymentToken;
    QString paymentOption;
    bool repeatsNameAndNote = false;
    BusyOverlay overlay;
};

PaymentScreen::PaymentScreen(const QString &paymentOption, bool repeatsNameAndNote, QObject *parent)
    : ViewController(parent)
    , d(std::make_unique<PaymentScreenPrivate>(this))
{
    // The screen works with a copy of the checkout taken now; later orders do not reach it.
    const CheckoutContext &context = CheckoutContext::shared();
    d->appId = context.appId_global;
    d->merchantName = context.merchantName_global;
    d->orderId = context.orderId_global;
    d->orderAmount = context.orderAmount_global;
    d->customerEmail = context.customerEmail_global;
    d->customerPhone = context.customerPhone_global;
    d->customerName = context.customerName_global;
    d->orderNote = context.orderNote_global;
    d->orderCurrency = context.orderCurrency_global;
    d->notifyUrl = context.notifyUrl_global;
    d->color1Hex = context.color1Hex_global;
    d->color2Hex = context.color2Hex_global;
    d->env = context.env_global;
    d->paymentToken = context.paymentReady_global;
    d->paymentOption = paymentOption;
    d->repeatsNameAndNote = repeatsNameAndNote;
}

PaymentScreen::~PaymentScreen() = default;

std::shared_ptr<ResultDelegate> PaymentScreen::resultDelegate() const { return d->resultDelegate; }
void PaymentScreen::setResultDelegate(std::shared_ptr<ResultDelegate> delegate) { d->resultDelegate = std::move(delegate); }
QString PaymentScreen::appId() const { return d->appId; }
QString PaymentScreen::merchantName() const { return d->merchantName; }
QString PaymentScreen::orderId() const { return d->orderId; }
QString PaymentScreen::orderAmount() const { return d->orderAmount; }
QString PaymentScreen::customerEmail() const { return d->customerEmail; }
QString PaymentScreen::customerPhone() const { return d->customerPhone; }
QString PaymentScreen::customerName() const { return d->customerName; }
QString PaymentScreen::orderNote() const { return d->orderNote; }
QString PaymentScreen::orderCurrency() const { return d->orderCurrency; }
QString PaymentScreen::notifyUrl() const { return d->notifyUrl; }
QString PaymentScreen::color1Hex() const { return d->color1Hex; }
QString PaymentScreen::color2Hex() const { return d->color2Hex; }
QString PaymentScreen::env() const { return d->env; }
QString PaymentScreen::paymentOption() const { return d->paymentOption; }
QString PaymentScreen::paymentToken() const { return d->paymentToken; }
void PaymentScreen::setPaymentToken(const QString &token) { d->paymentToken = token; }
void PaymentScreen::setOrderCurrency(const QString &currency) { d->orderCurrency = currency; }

void PaymentScreen::waitLoading()
{
    d->overlay.waitLoading(view(), Color(d->color1Hex));
}

void PaymentScreen::hideWaitLoading()
{
    d->overlay.hideWaitLoading();
}

BusyOverlay *PaymentScreen::busyOverlay() const
{
    return &d->overlay;
}

bool PaymentScreen::hasPaymentToken() const
{
    if (!d->paymentToken.isEmpty())
        return true;
    debugLog(QStringLiteral("Error: No payment token received. Please try again sending new request for token (initPayment)."));
    return false;
}

void PaymentScreen::initPayment(const QString &url, const QString &appId, const QString &orderId,
                                const QString &orderAmount, const QString &customerEmail,
                                const QString &customerPhone, const QString &orderCurrency,
                                std::function<void(const QString &token)> completion)
{
    d->appId = appId;
    d->orderId = orderId;
    d->orderAmount = orderAmount;
    d->customerEmail = customerEmail;
    d->customerPhone = customerPhone;
    d->orderCurrency = orderCurrency.isEmpty() ? QStringLiteral("INR") : orderCurrency;
    debugLog(d->orderCurrency);

    QJsonObject body;
    body.insert(QStringLiteral("appId"), appId);
    body.insert(QStringLiteral("orderId"), orderId);
    body.insert(QStringLiteral("orderAmount"), orderAmount);
    body.insert(QStringLiteral("customerEmail"), customerEmail);
    body.insert(QStringLiteral("customerPhone"), customerPhone);
    body.insert(QStringLiteral("orderCurrency"), orderCurrency);

    const QUrl address(url, QUrl::StrictMode);
    if (url.isEmpty() || !address.isValid())
        return;
    debugLog(address.toString());

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    const QByteArray json = QJsonDocument(body).toJson(QJsonDocument::Compact);

    // Answers are handled here, on the main thread, so the token never changes under a pay
    // action; a screen that is gone by then simply never hears of it.
    HttpClient::send("POST", request, json, this, [this, completion = std::move(completion)](std::optional<QByteArray> reply) {
        if (!reply)
            return;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(*reply, &error);
        if (error.error != QJsonParseError::NoError) {
            debugLog(error.errorString());
            return;
        }
        const QJsonValue checksum = document.object().value(QStringLiteral("checksum"));
        if (!document.isObject() || !checksum.isString()) {
            debugLog(QStringLiteral("The token reply has no \"checksum\" text."));
            return;
        }
        d->paymentToken = checksum.toString();
        if (completion)
            completion(d->paymentToken);
    });
}

void PaymentScreen::paySecurely_request()
{
    PaymentPageValues page;
    page.endpoint = gatewayEndpoint(d->env);
    if (d->orderCurrency.isEmpty())
        d->orderCurrency = QStringLiteral("INR");
    prepareMethodFields();
    page.appId = d->appId;
    page.orderId = d->orderId;
    page.orderAmount = d->orderAmount;
    page.customerName = d->customerName;
    page.orderNote = d->orderNote;
    page.customerPhone = d->customerPhone;
    page.customerEmail = d->customerEmail;
    page.paymentOption = d->paymentOption;
    page.methodFields = methodFields();
    page.orderCurrency = d->orderCurrency;
    page.paymentToken = d->paymentToken;
    page.notifyUrl = d->notifyUrl;
    page.repeatNameAndNote = d->repeatsNameAndNote;
    if (BrowserView *view = paymentWebView())
        view->loadHTMLString(buildPaymentPage(page));
}

void PaymentScreen::attachWebView(BrowserView *view)
{
    view->setNavigationDelegate(d.get());
}

bool PaymentScreen::webViewShouldStartLoad(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (url.isEmpty() || scheme.isEmpty())
        return true;
    if (scheme == QLatin1String("https")) {
        hideWaitLoading();
        return true;
    }
    if (scheme != QLatin1String(HandBackScheme))
        return true;

    if (BrowserView *view = paymentWebView())
        view->hide();
    handBackArrived();
    if (const std::optional<QString> result = handBackResult(url)) {
        keepResult(*result);
        CheckoutContext::shared().result_global = *result;
        // The host may drop the delegate, or close and delete the checkout, from inside the call.
        const std::shared_ptr<ResultDelegate> delegate = d->resultDelegate;
        const QPointer<PaymentScreen> self(this);
        if (delegate)
            delegate->onPaymentResult(*result);
        if (!self)
            return true;
        Q_EMIT paymentResultCaptured(*result);
        if (!self)
            return true;
    }
    dismiss();
    return true;
}

} // namespace pelbrook
