#pragma once

#include <pelbrook/PaymentScreen.h>

#include <QString>

#include <optional>
#include <utility>

class QAbstractButton;
class QLineEdit;

namespace pelbrook {

class cardViewControllerPrivate;

/**
 * @headerfile cardViewController.h <pelbrook/cardViewController.h>
 * The card payment screen, the first tab of the checkout.
 *
 * It shows the order summary on a coloured header, the card number (grouped as it is typed),
 * the holder's name, expiry month and year, and the CVV; "Pay Securely" posts them to the
 * gateway, whose pages then run in the screen's own browser view.
 *
 * A host normally meets it only inside PGTabBarViewController; holding one directly is useful
 * to call initPayment(). Construct it after the checkout is configured: it copies the
 * configuration and the order at construction. GUI thread only.
 *
 * @code
 * auto *tokens = new pelbrook::cardViewController;   // only for its token request
 * tokens->setParent(window);                          // alive until the answer arrives
 * tokens->initPayment("https://merchant.example/token", appId, orderId, "499.00",
 *                     "buyer@example.com", "9876543210", "INR",
 *                     [window, orderId, tokens](const QString &token) {
 *                         tokens->deleteLater();
 *                         presentCheckout(window, orderId, token);
 *                     });
 * @endcode
 */
class PELBROOK_EXPORT cardViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString paymentToken_config READ paymentToken_config NOTIFY paymentTokenChanged)
    Q_PROPERTY(QString cardNumberWithoutSpaces READ cardNumberWithoutSpaces NOTIFY cardNumberWithoutSpacesChanged)
public:
    /// Creates the screen, copying the checkout's configuration and order; its view is built
    /// when it is first shown.
    cardViewController();
    /// Destroys the screen and its views.
    ~cardViewController() override;

    /// The payment token the pay action sends: the order's, or the one initPayment() fetched.
    QString paymentToken_config() const;
    /// The result the gateway handed back to this screen, if any.
    std::optional<QString> transactionResultCard() const;
    /// The digits of the card number field after the last accepted edit.
    QString cardNumberWithoutSpaces() const;
    /// The text of the card field being edited, as it was before the latest change.
    std::optional<QString> previousTextFieldContent() const;
    /// The selection of that field before the latest change, as (start, length) in UTF-16 units.
    std::optional<std::pair<int, int>> previousSelection() const;

    /// Rewrites the card number field @p textField after an edit: digits only, grouped (4-4-4-4,
    /// or 4-6-5 and 4-5-6 by prefix), cursor kept after the same digits; an edit that would
    /// make more than 19 digits is undone. The screen calls it as the buyer types.
    void reformatAsCardNumber(QLineEdit *textField);
    /// The expiry month field @p textField changed: at two characters the focus moves on to
    /// the year field; beyond two the field is emptied. A Tab or Shift+Tab pressed right after
    /// such a move, before anything is typed in the new field, is swallowed: the buyer who tabs
    /// on by habit stays where the focus has already gone.
    void textFieldDidChangeToExpiry(QLineEdit *textField);
    /// The expiry year field @p textField changed: at two characters the focus moves on to the
    /// CVV field, with the same Tab rule; beyond two the field is emptied.
    void textFieldDidChangeToCvc(QLineEdit *textField);
    /// The return key: accepted, nothing moves.
    bool textFieldShouldReturn(QLineEdit *textField);

    /// Switches to the payment page: the inputs, the logo and the tab bar are hidden and the
    /// browser view covers the screen.
    void hideCardPaymentInputs();
    /// Switches back from the payment page to the inputs and the tab bar.
    void showCardPaymentInputs();

public Q_SLOTS:
    /// The pay button's action. Without a payment token, or with a card number of fewer than
    /// 16 digits, it only writes a debug log line. Otherwise it shows the busy overlay,
    /// switches to the payment page and posts the card to the gateway. @p sender is not used.
    void payAction(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// The card number field's digits changed.
    void cardNumberWithoutSpacesChanged();

private:
    Q_DECLARE_PRIVATE(cardViewController)
};

} // namespace pelbrook
