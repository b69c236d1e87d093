#pragma once

#include <pelbrook/PaymentScreen.h>

#include <QList>
#include <QString>

#include <optional>

class QAbstractButton;

namespace pelbrook {

class netBankingViewControllerPrivate;

/// One bank of the net banking list.
struct PELBROOK_EXPORT MyStruct {
    MyStruct() = default;
    MyStruct(const QString &name, const QString &code)
        : name(name)
        , code(code)
    {
    }
    /// The name the buyer sees.
    QString name;
    /// The bank's net banking code, sent to the gateway; also names the bank's logo.
    QString code;

    friend bool operator==(const MyStruct &, const MyStruct &) = default;
};

/**
 * The net banking payment screen: the order summary on a coloured header and the list of
 * banks, downloaded from the bank list document (Endpoints::bankList) when the screen is
 * first shown. "Pay Securely" sends the chosen bank's code to the gateway, whose pages (the
 * bank's login) then run in the screen's own browser view.
 *
 * Without a choice the payment carries the code "3333" in the "TEST" environment and an empty
 * code otherwise. A list that cannot be downloaded, or is not a JSON array of objects with the
 * strings "code" and "bankName", leaves the list empty; the buyer is not told.
 *
 * A host normally meets it only inside PGTabBarViewController. Construct it after the
 * checkout is configured: it copies the configuration and the order at construction. Main
 * thread only.
 */
class PELBROOK_EXPORT netBankingViewController : public PaymentScreen
{
    Q_OBJECT
    Q_PROPERTY(QString nb_paymentToken_config READ nb_paymentToken_config)
public:
    netBankingViewController();
    ~netBankingViewController() override;

    /// The payment token the pay action sends.
    QString nb_paymentToken_config() const;
    /// The code the payment sends: none until the view is built, then "3333" in the "TEST"
    /// environment or empty, then the code of the bank last chosen.
    std::optional<QString> nb_code() const;
    /// The banks downloaded so far, in the document's order.
    QList<MyStruct> list() const;

    /// Switches to the payment page (list, logo and tab bar hidden) and back.
    void hideNetbankingPaymentInputs();
    void showNetbankingPaymentInputs();

public Q_SLOTS:
    /// The pay button's action: token check, then the payment form.
    void payAction(QAbstractButton *sender = nullptr);

private:
    Q_DECLARE_PRIVATE(netBankingViewController)
};

} // namespace pelbrook
