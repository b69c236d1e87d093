#pragma once

#include <pelbrook/PaymentScreen.h>

#include <QList>
#include <QString>

#include <optional>

class QAbstractButton;

namespace pelbrook {

class netBankingViewControllerPrivate;

/**
 * @headerfile netBankingViewController.h <pelbrook/netBankingViewController.h>
 * One bank of the net banking list, as netBankingViewController::list() returns it.
 *
 * Its members and their order are frozen within a minor release: a member is added only in a
 * new minor release, for which hosts are rebuilt (see Version.h).
 */
struct PELBROOK_EXPORT MyStruct {
    /// A bank with an empty name and code.
    MyStruct() = default;
    /// A bank named @p name, with the net banking code @p code.
    MyStruct(const QString &name, const QString &code)
        : name(name)
        , code(code)
    {
    }
    /// The name the buyer sees.
    QString name;
    /// The bank's net banking code, sent to the gateway; also names the bank's logo.
    QString code;

    /// Equal when both the name and the code are.
    friend bool operator==(const MyStruct &, const MyStruct &) = default;
};

/**
 * @headerfile netBankingViewController.h <pelbrook/netBankingViewController.h>
 * The net banking payment screen, the second tab of the checkout.
 *
 * It shows the order summary on a coloured header and the list of banks, downloaded from the
 * bank list document (Endpoints::bankList) when the screen is first shown. "Pay Securely"
 * sends the chosen bank's code to the gateway, whose pages (the bank's login) then run in the
 * screen's own browser view.
 *
 * Without a choice the payment carries the code "3333" in the "TEST" environment and an empty
 * code otherwise. The document must be a JSON array of objects with the strings "code" and
 * "bankName", of at most 8 MiB; other elements are skipped. A list that cannot be downloaded
 * within a minute, or read, leaves the list empty; the buyer is not told. The list is read on a worker thread, so
 * the screen stays responsive.
 *
 * A host normally meets it only inside PGTabBarViewController. Construct it after the
 * checkout is configured: it copies the configuration and the order at construction. Each
 * time it is shown again it returns from the payment page to its list. GUI thread only.
 */
class PELBROOK_EXPORT netBankingViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString nb_paymentToken_config READ nb_paymentToken_config NOTIFY paymentTokenChanged)
    /// The bank code sent, as nb_code(); an empty string for none.
    Q_PROPERTY(QString nb_code READ nbCodeOrEmpty NOTIFY nb_codeChanged)
public:
    /// Creates the screen, copying the checkout's configuration and order; its view is built,
    /// and the bank list requested, when it is first shown.
    netBankingViewController();
    /// Destroys the screen and its views; a list still downloading is dropped.
    ~netBankingViewController() override;

    /// The payment token the pay action sends.
    QString nb_paymentToken_config() const;
    /// The code the payment sends: none until the view is built, then "3333" in the "TEST"
    /// environment or empty, then the code of the bank last chosen.
    std::optional<QString> nb_code() const;
    /// nb_code() as text, an empty string for none: what the `nb_code` property reads.
    QString nbCodeOrEmpty() const;
    /// The banks downloaded so far, in the document's order.
    QList<MyStruct> list() const;

    /// Switches to the payment page: the list, the logo and the tab bar are hidden and the
    /// browser view shows the gateway's pages.
    void hideNetbankingPaymentInputs();
    /// Switches back from the payment page to the list and the tab bar.
    void showNetbankingPaymentInputs();

public Q_SLOTS:
    /// The pay button's action. Without a payment token it only writes a debug log line;
    /// otherwise it switches to the payment page, shows the busy overlay and sends the bank's
    /// code (see nb_code()) to the gateway. @p sender is not used.
    void payAction(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// The bank code changed: a bank was chosen, or the view was built with the test bank's.
    void nb_codeChanged();

private:
    Q_DECLARE_PRIVATE(netBankingViewController)
};

} // namespace pelbrook
