#pragma once

#include <pelbrook/ResultDelegate.h>
#include <pelbrook/ViewController.h>

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace pelbrook {

class BrowserView;
class BusyOverlay;
struct FormField;
class PaymentScreenPrivate;

/**
 * What the four payment screens share: the checkout values copied at construction, the
 * payment token, the token request, the payment form, the navigation check that captures the
 * gateway's hand-back, and the busy overlay hooks.
 *
 * A screen supplies its payment mode and method fields; everything else is here once.
 * Main thread only.
 */
class PELBROOK_EXPORT PaymentScreen : public ViewController
{
    Q_OBJECT
public:
    ~PaymentScreen() override;

    /// The delegate the result capture calls; none at first.
    std::shared_ptr<ResultDelegate> resultDelegate() const;
    void setResultDelegate(std::shared_ptr<ResultDelegate> delegate);

    QString appId() const;
    QString merchantName() const;
    QString orderId() const;
    QString orderAmount() const;
    QString customerEmail() const;
    QString customerPhone() const;
    QString customerName() const;
    QString orderNote() const;
    QString orderCurrency() const;
    QString notifyUrl() const;
    QString color1Hex() const;
    QString color2Hex() const;
    QString env() const;
    /// "card", "upi", "wallet" or "nb".
    QString paymentOption() const;

    /**
     * Asks a merchant server for a payment token: posts the order as JSON to @p url and, when
     * the reply is a JSON object with a string "checksum", stores it as this screen's token and
     * calls @p completion with it, on the main thread. No failure is reported: the completion
     * simply never runs. If the screen is destroyed first, the reply is dropped.
     */
    void initPayment(const QString &url, const QString &appId, const QString &orderId,
                     const QString &orderAmount, const QString &customerEmail,
                     const QString &customerPhone, const QString &orderCurrency,
                     std::function<void(const QString &token)> completion);

    /// The navigation check of the screen's browser view; always allows the navigation.
    bool webViewShouldStartLoad(const QUrl &url);

    /// Shows and hides the screen's busy overlay.
    virtual void waitLoading();
    virtual void hideWaitLoading();
    /// The overlay's views (`containerView`, `progressView`, `activityIndicator`).
    BusyOverlay *busyOverlay() const;

Q_SIGNALS:
    /// A result was captured and stored, after the delegate has run; the checkout closes next.
    void paymentResultCaptured(const QString &result);

protected:
    /// @p paymentOption is the screen's payment mode; @p repeatsNameAndNote whether its form
    /// carries the name and note fields twice.
    PaymentScreen(const QString &paymentOption, bool repeatsNameAndNote, QObject *parent = nullptr);

    QString paymentToken() const;
    void setPaymentToken(const QString &token);
    void setOrderCurrency(const QString &currency);

    /// The token check of every pay action: false (and the log line) when there is no token.
    bool hasPaymentToken() const;

    /// Builds the payment page and loads it into the screen's browser view.
    void paySecurely_request();

    /// The screen's method fields, in form order; called while the page is built.
    virtual QList<FormField> methodFields() = 0;
    /// Runs while the page is built, before the method fields are read (the UPI address).
    virtual void prepareMethodFields() {}
    /// The browser view that runs the payment pages.
    virtual BrowserView *paymentWebView() const = 0;
    /// Runs on the hand-back, after the browser view is hidden and before the result is read.
    virtual void handBackArrived() {}
    /// Stores the result in the screen's own result property, if it has one.
    virtual void keepResult(const QString &result) { Q_UNUSED(result) }

    /// Makes the screen the navigation delegate of @p view.
    void attachWebView(BrowserView *view);

private:
    std::unique_ptr<PaymentScreenPrivate> d;
};

} // namespace pelbrook
