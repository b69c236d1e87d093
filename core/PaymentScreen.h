#pragma once

#include <pelbrook/ResultDelegate.h>
#include <pelbrook/ViewController.h>

#include <QString>

#include <functional>
#include <memory>

namespace pelbrook {

class PaymentScreenPrivate;

/**
 * What the four payment screens share: the checkout values copied at construction, the
 * payment token and the token request, the order header, the pay button and its pay sequence,
 * the browser view that runs the gateway's pages, the capture of the gateway's hand-back, and
 * the busy overlay.
 *
 * Not constructed directly: each payment screen (cardViewController, upiViewController,
 * walletViewController, netBankingViewController) derives from it. A screen copies the
 * checkout's configuration and order when it is constructed and never reads them again, so
 * construct it after PGTabBarViewController::setConfig() and createOrder(). Main thread only.
 */
class PELBROOK_EXPORT PaymentScreen : public ViewController
{
    Q_OBJECT
    Q_PROPERTY(QString appId READ appId)
    Q_PROPERTY(QString merchantName READ merchantName)
    Q_PROPERTY(QString orderId READ orderId)
    Q_PROPERTY(QString orderAmount READ orderAmount)
    Q_PROPERTY(QString customerEmail READ customerEmail)
    Q_PROPERTY(QString customerPhone READ customerPhone)
    Q_PROPERTY(QString customerName READ customerName)
    Q_PROPERTY(QString orderNote READ orderNote)
    Q_PROPERTY(QString orderCurrency READ orderCurrency)
    Q_PROPERTY(QString notifyUrl READ notifyUrl)
    Q_PROPERTY(QString color1Hex READ color1Hex)
    Q_PROPERTY(QString color2Hex READ color2Hex)
    Q_PROPERTY(QString env READ env)
    Q_PROPERTY(QString paymentOption READ paymentOption CONSTANT)
public:
    ~PaymentScreen() override;

    /// The delegate the result capture calls; none at first. Held by a strong reference.
    std::shared_ptr<ResultDelegate> resultDelegate() const;
    void setResultDelegate(std::shared_ptr<ResultDelegate> delegate);

    /// The screen's copies of the checkout values, as they were when it was constructed
    /// (initPayment() replaces some of them).
    QString appId() const;
    QString merchantName() const;
    QString orderId() const;
    QString orderAmount() const;
    QString customerEmail() const;
    QString customerPhone() const;
    QString customerName() const;
    QString orderNote() const;
    /// As the host gave it; becomes "INR" when a form is built with an empty currency.
    QString orderCurrency() const;
    QString notifyUrl() const;
    QString color1Hex() const;
    QString color2Hex() const;
    /// "TEST" or "PROD" chooses the gateway; anything else posts nowhere.
    QString env() const;
    /// The payment mode the screen sends: "card", "upi", "wallet" or "nb".
    QString paymentOption() const;

    /**
     * Asks a merchant server for a payment token: posts the order as JSON to @p url and, when
     * the reply is a JSON object with a string "checksum", stores it as this screen's token and
     * calls @p completion with it, on the main thread. Returns at once. No failure is reported:
     * the completion simply never runs. If the screen is destroyed first, the reply is dropped.
     */
    void initPayment(const QString &url, const QString &appId, const QString &orderId,
                     const QString &orderAmount, const QString &customerEmail,
                     const QString &customerPhone, const QString &orderCurrency,
                     std::function<void(const QString &token)> completion);

    /// Shows the busy overlay over the screen: dimmed, a white spinner in a box of the first
    /// theme colour, input swallowed. The screen hides it itself when the gateway's first secure page starts.
    void waitLoading();
    /// Hides the busy overlay; harmless when it is not shown.
    void hideWaitLoading();

Q_SIGNALS:
    /// A result was captured and stored, after the delegate has run; the checkout closes next.
    void paymentResultCaptured(const QString &result);

protected:
    /// For the payment screens: @p dd holds the screen's own parts and its differences.
    explicit PaymentScreen(PaymentScreenPrivate &dd);

    void viewDidLoad() override;
    void viewWillAppear() override;
    void viewDidAppear() override;

    std::unique_ptr<PaymentScreenPrivate> const d_ptr;

private:
    Q_DECLARE_PRIVATE(PaymentScreen)
};

} // namespace pelbrook
