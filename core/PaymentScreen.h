#pragma once

#include <pelbrook/ResultDelegate.h>
#include <pelbrook/ViewController.h>

#include <QString>

#include <functional>
#include <memory>

namespace pelbrook {

class PaymentScreenPrivate;

/**
 * @headerfile PaymentScreen.h <pelbrook/PaymentScreen.h>
 * The base of the four payment screens.
 *
 * What they share: the checkout values copied at construction, the payment token and the token
 * request, the order header, the pay button and its pay sequence, the browser view that runs
 * the gateway's pages, the capture of the gateway's hand-back, and the busy overlay.
 *
 * Not constructed directly: each payment screen (cardViewController, upiViewController,
 * walletViewController, netBankingViewController) derives from it. A screen copies the
 * checkout's configuration and order when it is constructed and never reads them again, so
 * construct it after PGTabBarViewController::setConfig() and createOrder(). Those values are
 * the process's, set by whichever checkout was configured last.
 *
 * A host rarely holds a screen: PGTabBarViewController makes its own. One held directly is
 * useful for initPayment(), to fetch a payment token from the merchant's server. GUI thread
 * only.
 */
class PELBROOK_EXPORT PaymentScreen : public ViewController
{
    Q_OBJECT
    // What initPayment() replaces announces it; the rest is fixed when the screen is made.
    Q_PROPERTY(QString appId READ appId NOTIFY orderValuesChanged)
    Q_PROPERTY(QString merchantName READ merchantName CONSTANT)
    Q_PROPERTY(QString orderId READ orderId NOTIFY orderValuesChanged)
    Q_PROPERTY(QString orderAmount READ orderAmount NOTIFY orderValuesChanged)
    Q_PROPERTY(QString customerEmail READ customerEmail NOTIFY orderValuesChanged)
    Q_PROPERTY(QString customerPhone READ customerPhone NOTIFY orderValuesChanged)
    Q_PROPERTY(QString customerName READ customerName CONSTANT)
    Q_PROPERTY(QString orderNote READ orderNote CONSTANT)
    Q_PROPERTY(QString orderCurrency READ orderCurrency NOTIFY orderValuesChanged)
    Q_PROPERTY(QString notifyUrl READ notifyUrl CONSTANT)
    Q_PROPERTY(QString color1Hex READ color1Hex CONSTANT)
    Q_PROPERTY(QString color2Hex READ color2Hex CONSTANT)
    Q_PROPERTY(QString env READ env CONSTANT)
    Q_PROPERTY(QString paymentOption READ paymentOption CONSTANT)
public:
    /// Destroys the screen, its views and its browser view; a token reply still on its way is
    /// dropped.
    ~PaymentScreen() override;

    /// The delegate the result capture calls; none at first. Held by a strong reference.
    std::shared_ptr<ResultDelegate> resultDelegate() const;
    /// Sets the delegate this screen calls with its result. Inside a PGTabBarViewController the
    /// container's delegate replaces it when the screens are built and whenever the container's
    /// is set (see PGTabBarViewController::setResultDelegate()).
    void setResultDelegate(std::shared_ptr<ResultDelegate> delegate);

    /// @name The screen's copies of the checkout values
    /// As they were when the screen was constructed (see PGTabBarViewController::setConfig()
    /// and createOrder()); initPayment() replaces some of them.
    /// @{

    /// The merchant's app id.
    QString appId() const;
    /// The merchant's name, shown in the header.
    QString merchantName() const;
    /// The order id, shown in the header and sent with the payment.
    QString orderId() const;
    /// The amount, as text, shown in the header and sent with the payment.
    QString orderAmount() const;
    /// The buyer's email address, sent with the payment.
    QString customerEmail() const;
    /// The buyer's phone number, sent with the payment.
    QString customerPhone() const;
    /// The buyer's name, sent with the payment.
    QString customerName() const;
    /// The order note, sent with the payment.
    QString orderNote() const;
    /// As the host gave it; becomes "INR" when a form is built with an empty currency.
    QString orderCurrency() const;
    /// The address where the gateway notifies the merchant's server, sent with the payment.
    QString notifyUrl() const;
    /// The first theme colour (header gradient, pay button, busy box), as hex digits.
    QString color1Hex() const;
    /// The second theme colour, where the gradients end, as hex digits.
    QString color2Hex() const;
    /// "TEST" or "PROD" chooses the gateway; anything else leaves the payment form without a
    /// gateway address, so no payment is made.
    QString env() const;
    /// @}

    /// The payment mode the screen sends: "card", "upi", "wallet" or "nb".
    QString paymentOption() const;

    /**
     * Asks a merchant server for a payment token: posts the order as a JSON object (`appId`,
     * `orderId`, `orderAmount`, `customerEmail`, `customerPhone`, `orderCurrency`) to @p url
     * and, when the reply is a JSON object with a string "checksum", stores it as this screen's
     * token and calls @p completion with it, on the GUI thread. Returns at once.
     *
     * The screen's copies of the values passed are replaced at once (an empty currency becomes
     * "INR"). The token is this screen's only: to pay with it in a checkout, pass it to
     * PGTabBarViewController::createOrder() before presenting.
     *
     * No failure is reported: the completion simply never runs, whether @p url is empty or
     * malformed, no whole reply arrives within 30 seconds of the call (the request then gives
     * up, however steadily a slow server is still sending), or the reply, whatever its status,
     * holds no token (that last one is noted in the debug log).
     * If the screen is destroyed first, the reply is dropped.
     */
    void initPayment(const QString &url, const QString &appId, const QString &orderId,
                     const QString &orderAmount, const QString &customerEmail,
                     const QString &customerPhone, const QString &orderCurrency,
                     std::function<void(const QString &token)> completion);

    /// Shows the busy overlay over the screen (building its view if needed): dimmed, a white
    /// spinner in a box of the first theme colour, input swallowed. The screen hides it itself
    /// when the gateway's first secure page starts.
    void waitLoading();
    /// Hides the busy overlay; harmless when it is not shown.
    void hideWaitLoading();

Q_SIGNALS:
    /// A result was captured and stored, after the delegate has run; the checkout closes next.
    void paymentResultCaptured(const QString &result);
    /// initPayment() replaced the order's values, or a payment form made an empty currency
    /// "INR": appId, orderId, orderAmount, customerEmail, customerPhone and orderCurrency.
    void orderValuesChanged();
    /// initPayment() stored a new payment token in the screen's token property.
    void paymentTokenChanged();

protected:
    /// For the payment screens: @p dd holds the screen's own parts and its differences. Not
    /// exported: the four screens are the library's own, and their private parts are internal.
    PELBROOK_NO_EXPORT explicit PaymentScreen(PaymentScreenPrivate &dd);

    /// Builds the header, the screen's inputs, the pay button and the browser view.
    void viewDidLoad() override;
    /// Paints the theme colours on the screen and its pay button.
    void viewWillAppear() override;
    /// Brings some screens back to their inputs after a change of tab, and gets the browser
    /// view ready while the buyer types.
    void viewDidAppear() override;
    /// Notes whether the screen goes with its tab or with the whole checkout.
    void viewWillDisappear() override;

    /// The screen's private part, for the library's screens.
    std::unique_ptr<PaymentScreenPrivate> const d_ptr;

private:
    Q_DECLARE_PRIVATE(PaymentScreen)
};

} // namespace pelbrook
