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
 * The card payment screen, the first tab of the checkout: the order summary on a coloured
 * header, the card number (grouped as it is typed), the holder's name, expiry month and year,
 * and the CVV; "Pay Securely" posts them to the gateway, whose pages then run in the screen's
 * own browser view.
 *
 * A host normally meets it only inside PGTabBarViewController; holding one directly is useful
 * to call initPayment(). Construct it after the checkout is configured: it copies the
 * configuration and the order at construction. Main thread only.
 */
class PELBROOK_EXPORT cardViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString paymentToken_config READ paymentToken_config)
    Q_PROPERTY(QString cardNumberWithoutSpaces READ cardNumberWithoutSpaces)
public:
    cardViewController();
    ~cardViewController() override;

    /// The payment token the pay action sends.
    QString paymentToken_config() const;
    /// The result the gateway handed back to this screen, if any.
    std::optional<QString> transactionResultCard() const;
    /// The digits of the card number field after the last accepted edit.
    QString cardNumberWithoutSpaces() const;
    /// The text of the card field being edited, as it was before the latest change.
    std::optional<QString> previousTextFieldContent() const;
    /// The selection of that field before the latest change, as (start, length) in UTF-16 units.
    std::optional<std::pair<int, int>> previousSelection() const;

    /// Rewrites the card number field: digits only, at most 19, grouped, cursor kept in place.
    void reformatAsCardNumber(QLineEdit *textField);
    /// Moves on to the year field at two characters; empties the field beyond two.
    void textFieldDidChangeToExpiry(QLineEdit *textField);
    /// Moves on to the CVV field at two characters; empties the field beyond two.
    void textFieldDidChangeToCvc(QLineEdit *textField);
    /// The return key: accepted, nothing moves.
    bool textFieldShouldReturn(QLineEdit *textField);

    /// Switches to the payment page (inputs, logo and tab bar hidden) and back.
    void hideCardPaymentInputs();
    void showCardPaymentInputs();

public Q_SLOTS:
    /// The pay button's action: token check, card length check, then the payment form.
    void payAction(QAbstractButton *sender = nullptr);

private:
    Q_DECLARE_PRIVATE(cardViewController)
};

} // namespace pelbrook
