#pragma once

#include <pelbrook/PaymentScreen.h>

#include <QString>
#include <QStringList>

#include <optional>

class QAbstractButton;

namespace pelbrook {

class walletViewControllerPrivate;

/**
 * @headerfile walletViewController.h <pelbrook/walletViewController.h>
 * The wallet payment screen, the third tab of the checkout.
 *
 * It shows the order summary on a coloured header and a grid of the wallets the merchant
 * enabled (the `walletArray` given to PGTabBarViewController::setConfig(), in its order, one
 * tile per entry). "Pay Securely" sends the gateway's code for the chosen wallet, whose pages
 * then run in the screen's own browser view.
 *
 * Known wallet keys and their codes: "paytm" 4007, "airtel" 4006, "freecharge" 4001, "jio"
 * 4006, "mobikwik" 4002, "ola" 4003; any other key pays with 3333. A key also names the tile's
 * images ("<key>.png").
 *
 * A host normally meets it only inside PGTabBarViewController. Construct it after the
 * checkout is configured: it copies the configuration, the wallet list and the order at
 * construction. Each time it is shown again it returns from the payment page to its grid. GUI
 * thread only.
 */
class PELBROOK_EXPORT walletViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString wallet_paymentToken_config READ wallet_paymentToken_config NOTIFY paymentTokenChanged)
    Q_PROPERTY(QStringList walletArray READ walletArray CONSTANT)
    Q_PROPERTY(QStringList walletArrayHighlighted READ walletArrayHighlighted CONSTANT)
    /// The chosen wallet's code, as wallet_code(); an empty string until the buyer chooses.
    Q_PROPERTY(QString wallet_code READ walletCodeOrEmpty NOTIFY wallet_codeChanged)
    Q_PROPERTY(QString walletCellId READ walletCellId CONSTANT)
public:
    /// Creates the screen, copying the checkout's configuration, wallet list and order; its
    /// view is built when it is first shown.
    walletViewController();
    /// Destroys the screen and its views.
    ~walletViewController() override;

    /// The payment token the pay action sends.
    QString wallet_paymentToken_config() const;
    /// The host's wallet keys, as given: the grid's tiles in order.
    QStringList walletArray() const;
    /// The same list again, naming the highlighted images.
    QStringList walletArrayHighlighted() const;
    /// The gateway code of the wallet last chosen; none until the buyer chooses one.
    std::optional<QString> wallet_code() const;
    /// wallet_code() as text, an empty string for none: what the `wallet_code` property reads.
    QString walletCodeOrEmpty() const;
    /// The grid cells' reuse identifier, "walletCell".
    QString walletCellId() const;

    /// Switches to the payment page: the summary, the grid, the logo and the tab bar are
    /// hidden and the browser view shows the gateway's pages.
    void hideWalletPaymentInputs();
    /// Switches back from the payment page to the summary, the grid and the tab bar.
    void showWalletPaymentInputs();

public Q_SLOTS:
    /// The pay button's action. Without a payment token, or before a wallet is chosen, it only
    /// writes a debug log line. Otherwise it switches to the payment page, shows the busy
    /// overlay and sends the wallet's code to the gateway. @p sender is not used.
    void payAction(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// The buyer chose a wallet.
    void wallet_codeChanged();

private:
    Q_DECLARE_PRIVATE(walletViewController)
};

} // namespace pelbrook
