#pragma once

#include <pelbrook/PaymentScreen.h>

#include <QString>
#include <QStringList>

#include <optional>

class QAbstractButton;
class QLineEdit;

namespace pelbrook {

class upiViewControllerPrivate;

/**
 * @headerfile upiViewController.h <pelbrook/upiViewController.h>
 * The UPI payment screen, the fourth tab of the checkout.
 *
 * It shows the order summary on a coloured header, a choice of UPI app ("tez", whose addresses
 * take a bank handle, or any other app), the buyer's virtual payment address and, for "tez",
 * one of four bank handles chosen from a list. "Pay Securely" sends the address to the
 * gateway, whose pages then run in the screen's own browser view while the buyer approves the
 * request in their UPI app.
 *
 * A host normally meets it only inside PGTabBarViewController. Construct it after the
 * checkout is configured: it copies the configuration and the order (the `tezOption` and the
 * payment token included) at construction. When the gateway hands back, the screen returns to
 * its inputs before the checkout closes. GUI thread only.
 */
class PELBROOK_EXPORT upiViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString upi_paymentToken_config READ upi_paymentToken_config NOTIFY paymentTokenChanged)
    Q_PROPERTY(QString tezOption READ tezOption CONSTANT)
    Q_PROPERTY(QStringList upiArray READ upiArray NOTIFY upiArrayChanged)
    Q_PROPERTY(QStringList upiArrayHighlighted READ upiArrayHighlighted NOTIFY upiArrayChanged)
    /// The app chosen, as upi_code(); an empty string until the buyer chooses.
    Q_PROPERTY(QString upi_code READ upiCodeOrEmpty NOTIFY upi_codeChanged)
    Q_PROPERTY(QStringList bankPostfix READ bankPostfix CONSTANT)
    Q_PROPERTY(QString upi_vpa READ upi_vpa NOTIFY upiAddressChanged)
    Q_PROPERTY(QString upi_postfix READ upi_postfix NOTIFY upiAddressChanged)
    Q_PROPERTY(QString upiCellId READ upiCellId CONSTANT)
public:
    /// Creates the screen, copying the checkout's configuration and order; its view is built
    /// when it is first shown.
    upiViewController();
    /// Destroys the screen and its views.
    ~upiViewController() override;

    /// The payment token the pay action sends.
    QString upi_paymentToken_config() const;
    /// "YES" offers the app "tez" and "NO" withholds it; any other value leaves both apps.
    QString tezOption() const;
    /// The app keys of the grid, in display order, once the view is built ("tez", "others").
    QStringList upiArray() const;
    /// The highlighted image names, one per app key.
    QStringList upiArrayHighlighted() const;
    /// The app the buyer chose: "tez" or "others"; none until the first choice.
    std::optional<QString> upi_code() const;
    /// upi_code() as text, an empty string for none: what the `upi_code` property reads.
    QString upiCodeOrEmpty() const;
    /// The four bank handles offered for "tez": "okaxis", "okicici", "okhdfcbank", "oksbi".
    QStringList bankPostfix() const;
    /// The handle last chosen, without its "@".
    std::optional<QString> selectedBank() const;
    /// The address: as typed at the last pay press, then as sent (with the handle for "tez").
    QString upi_vpa() const;
    /// The handle field's text at the last pay press ("@" and the handle, or empty).
    QString upi_postfix() const;
    /// The grid cells' reuse identifier, "upiCell".
    QString upiCellId() const;
    /// Never set: the UPI screen keeps no result of its own (read it from the container).
    std::optional<QString> transactionResultUpi() const;

    /// The return key in the address field: the field gives up the keyboard.
    bool textFieldShouldReturn(QLineEdit *textField);
    /// Ends all editing on the screen, closing the handle list.
    void dismissKeyboard();

    /// Switches to the payment page: the inputs, the logo and the tab bar are hidden and the
    /// browser view shows the gateway's pages.
    void hideUpiPaymentInputs();
    /// Switches back from the payment page to the inputs and the tab bar. Coming back shows
    /// the handle field whichever app is chosen.
    void showUpiPaymentInputs();

public Q_SLOTS:
    /// The pay button's action. Without a payment token, or with an empty address, it only
    /// writes a debug log line. Otherwise it switches to the payment page, shows the busy
    /// overlay and sends the address (for "tez", with the chosen handle) to the gateway.
    /// @p sender is not used.
    void payAction(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// The app list was set from the tez option, as the view was built.
    void upiArrayChanged();
    /// The buyer chose an app.
    void upi_codeChanged();
    /// A pay press read the address and the handle, or the address was completed for sending.
    void upiAddressChanged();

private:
    Q_DECLARE_PRIVATE(upiViewController)
};

} // namespace pelbrook
