#pragma once

#include <pelbrook/ResultDelegate.h>
#include <pelbrook/TabBarController.h>

#include <QAbstractButton>
#include <QStringList>

#include <memory>

/// Pelbrook Checkout: everything the library exports lives in this namespace.
namespace pelbrook {

class PGTabBarViewControllerPrivate;

/**
 * @headerfile PGTabBarViewController.h <pelbrook/PGTabBarViewController.h>
 * The checkout the host presents: one tab per payment method (Cards, Net Banking, Wallets,
 * UPI), each screen with a close button. The buyer picks a method, enters the details and
 * presses pay; the gateway's own pages then run inside the checkout, and when the gateway hands
 * back, the result reaches the host and the checkout closes.
 *
 * Configure it with setConfig() and createOrder() (with the payment token the host got from its
 * own server), then call present(). The screens are built when the checkout is first shown,
 * and again each time it is shown after closing; they copy the configuration and the order
 * then, so changes made while it is shown apply to its next showing.
 *
 * @code
 * auto *checkout = new pelbrook::PGTabBarViewController(window);   // window: the host's own
 * checkout->setAttribute(Qt::WA_DeleteOnClose);
 * checkout->setConfig("TEST", appId, QString(), "Acme Books", {"paytm", "mobikwik"}, "YES",
 *                     "2f6fde", "6a3fd0");
 * checkout->createOrder("ORD1", "499.00", "buyer@example.com", "9876543210", token,
 *                       "Two paperbacks", "Asha Rao", "INR", notifyUrl);
 * QObject::connect(checkout, &pelbrook::PGTabBarViewController::paymentResult, window,
 *                  [](const QString &result) { qInfo("%s", qPrintable(result)); });
 * checkout->present();
 * @endcode
 *
 * Instead of presenting it, a host may embed it as a child widget, for instance as one page of
 * a kiosk's QStackedWidget: add it to the stack and show its page. Hidden by the stack, it keeps
 * the chosen tab and what the buyer typed; it closes only by its close buttons, the payment's
 * end, Escape, dismiss() or close(). Shown again after closing, it starts afresh.
 *
 * The result arrives once per payment: ResultDelegate::onPaymentResult() first, then the
 * paymentResult() signal; getResult() returns it until the next createOrder(). However the
 * checkout closes (a close button, the payment's end, the window's close button, Escape,
 * dismiss()), it is hidden and dismissed() is emitted once; with Qt::WA_DeleteOnClose it is
 * then deleted. Closed after the payment form went to the gateway but before a result came
 * back, it emits paymentInterrupted() just before dismissed(). Once shown, selectedIndex() and
 * setSelectedIndex() read and choose the tab (0 Cards, 1 Net Banking, 2 Wallets, 3 UPI); every
 * showing after a close starts on Cards.
 *
 * The configuration, the order and the last result are the process's, not the object's: they
 * are shared by every checkout, so configure each one just before presenting it. All calls on
 * the GUI thread.
 *
 * The buyer reads the checkout in the language of the default QLocale when it is created,
 * where the library has a translation (Hindi), and in English otherwise; see
 * setTranslationsEnabled().
 */
class PELBROOK_EXPORT PGTabBarViewController : public TabBarController
{
    Q_OBJECT
    /**
     * Whether a refused pay press tells the buyer why, in a red line just above the pay
     * button; off by default, when a refused press changes nothing on screen and only the
     * debug log says why.
     *
     * When on, the line names the buyer's mistake ("Enter a 16 Digit Card Number", "Select a
     * Wallet", "Select a Bank", "UPI VPA is empty.") or, without a payment token, asks the
     * buyer to try again later; screen readers announce it, and the next edit or choice on
     * that screen clears it. The card screen then also checks the card number's check digit,
     * an expiry month of 01 to 12 with a two-digit year, an expiry that has not passed and a
     * CVV of 3 or 4 digits, and net banking refuses to pay without a bank code; each of these
     * adds its own debug log line, and the other lines stay as they are.
     *
     * Kept across showings, and applied at once while the checkout is shown.
     */
    Q_PROPERTY(bool showsInputHints READ showsInputHints WRITE setShowsInputHints NOTIFY showsInputHintsChanged)
public:
    /// Creates the checkout, hidden and without screens. With a @p parent (the host's window),
    /// the parent owns it and present() shows it as a window-modal dialog over that window.
    explicit PGTabBarViewController(QWidget *parent = nullptr);
    /// Destroys the checkout and its screens; a payment in progress is abandoned unreported.
    ~PGTabBarViewController() override;

    /**
     * Stores the merchant's settings, unchanged, for the screens built afterwards (at the next
     * present()). The values are shared by every checkout of the process.
     *
     * @param env "TEST" pays through Endpoints::testGateway, "PROD" through
     *        Endpoints::productionGateway; any other value makes no payment.
     * @param appId The merchant's app id at the gateway.
     * @param url Kept with the settings, unused by the checkout itself (a token request takes
     *        its address in PaymentScreen::initPayment()).
     * @param merchantName Shown at the top of every screen.
     * @param walletArray The wallets the Wallets tab offers, one tile per key, in this order:
     *        "paytm", "airtel", "freecharge", "jio", "mobikwik", "ola" are known; any other key
     *        pays with the gateway's code 3333 and has no artwork.
     * @param tezOption "YES" offers the UPI app "tez" beside the others, "NO" withholds it;
     *        any other value offers both.
     * @param color1Hex The first theme colour, as six hex digits without "#" ("2f6fde"): the
     *        start of the header and pay button gradients, and the busy indicator's box.
     * @param color2Hex The second theme colour, where the gradients end. A colour that is not
     *        hex digits shows as black.
     */
    void setConfig(const QString &env, const QString &appId, const QString &url,
                   const QString &merchantName, const QStringList &walletArray,
                   const QString &tezOption, const QString &color1Hex, const QString &color2Hex);
    /**
     * Stores the order, unchanged, for the screens built afterwards (at the next present()),
     * and forgets the previous order's result. The values are shared by every checkout of the
     * process; long values are cut in the header but always sent whole.
     *
     * @param orderId The merchant's order id.
     * @param orderAmount The amount, as text ("499.00").
     * @param customerEmail The buyer's email address.
     * @param customerPhone The buyer's phone number.
     * @param paymentReady The payment token for this order, from the merchant's own server.
     *        Without one, pressing pay does nothing but write a debug log line.
     * @param orderNote A note sent with the order; may be empty.
     * @param customerName The buyer's name.
     * @param orderCurrency The currency code; empty is sent as "INR".
     * @param notifyUrl Where the gateway notifies the merchant's server of the payment; may be
     *        empty.
     */
    void createOrder(const QString &orderId, const QString &orderAmount,
                     const QString &customerEmail, const QString &customerPhone,
                     const QString &paymentReady, const QString &orderNote,
                     const QString &customerName, const QString &orderCurrency,
                     const QString &notifyUrl);
    /// The result of the current order's payment, the gateway's text as it was handed back;
    /// empty when none has been captured since the last createOrder() (by any checkout of the
    /// process). A checkout closed without paying leaves it as it was.
    QString getResult() const;

    /// The host's delegate; none at first.
    std::shared_ptr<ResultDelegate> resultDelegate() const;
    /// Sets the delegate called with each result, before paymentResult() is emitted; nullptr
    /// removes it. Held by a strong reference, and handed to every screen, now and whenever
    /// the screens are built.
    void setResultDelegate(std::shared_ptr<ResultDelegate> delegate);

    /// Whether refused pay presses are explained to the buyer; false at first. See the
    /// showsInputHints property.
    bool showsInputHints() const;

public Q_SLOTS:
    /// Turns the buyer's hints on or off, on every screen, now and whenever the screens are
    /// built; turning them off clears a line being shown.
    void setShowsInputHints(bool shows);

    /// The close buttons' action: closes the checkout, and dismissed() follows. No result is
    /// reported and the stored one is not touched; @p sender, the pressed button, is not used.
    void cancelTapped(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// Once per captured result, after the delegate has been called and before the checkout
    /// closes. @p result is the gateway's text, unchanged (on the sandbox gateway, a JSON
    /// object with `orderId`, `orderAmount`, `status`, `referenceId` and `message`). It is what
    /// the gateway's page reported, taken only from the top-level page, not a proof of payment:
    /// ship once your own server has confirmed the order with the gateway.
    void paymentResult(const QString &result);
    /// The showsInputHints property changed to @p shows.
    void showsInputHintsChanged(bool shows);
    /**
     * The checkout is closing after its payment form went to the gateway, and no result has
     * come back: the buyer gave up on a bank's page, or closed a gateway page that never
     * answered, or the gateway handed back something unreadable. The app cannot tell whether
     * the buyer paid. Ask your own server, which asks the gateway for the order's status.
     * A form that provably never reached the gateway (its connection refused, the certificate
     * not the pinned one) is no such case: the buyer is told no payment was made, and this is
     * not emitted.
     *
     * Emitted at most once per showing, just before dismissed(), whatever closes the checkout.
     */
    void paymentInterrupted();

protected:
    /// Builds the four payment screens, each copying the current configuration and order.
    void viewDidLoad() override;
    /// Hands the delegate to the new screens and passes their results on as paymentResult().
    void viewControllersChanged() override;
    /// Stops listening to the payment pages, and emits paymentInterrupted() when a payment's
    /// outcome is left unknown.
    void aboutToDismiss() override;

private:
    std::unique_ptr<PGTabBarViewControllerPrivate> const d;
};

} // namespace pelbrook
