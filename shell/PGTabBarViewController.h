#pragma once

#include <pelbrook/ResultDelegate.h>
#include <pelbrook/TabBarController.h>

#include <QAbstractButton>
#include <QStringList>

#include <memory>

namespace pelbrook {

class PaymentScreen;
class PGTabBarViewControllerPrivate;

/**
 * The checkout the host presents: one tab per payment method (Cards, Net Banking, Wallets,
 * UPI), each screen with a close button.
 *
 * Configure it before presenting it; each screen copies the configuration and the order when
 * the container's view loads (on the first present()).
 *
 * @code
 * auto *checkout = new pelbrook::PGTabBarViewController;
 * checkout->setAttribute(Qt::WA_DeleteOnClose);
 * checkout->setConfig("TEST", appId, QString(), "Acme Store", {"paytm"}, "YES", "2f6fde", "6a3fd0");
 * checkout->createOrder("ORD1", "100.00", "buyer@example.com", "9999999999", token,
 *                       "Two books", "A. Buyer", "INR", notifyUrl);
 * QObject::connect(checkout, &pelbrook::PGTabBarViewController::paymentResult,
 *                  [](const QString &result) { ... });
 * checkout->present();
 * @endcode
 *
 * present() (inherited) shows it; selectedIndex() and setSelectedIndex() choose the tab. All
 * calls on the main thread.
 */
class PELBROOK_EXPORT PGTabBarViewController : public TabBarController
{
    Q_OBJECT
public:
    explicit PGTabBarViewController(QWidget *parent = nullptr);
    ~PGTabBarViewController() override;

    /// Stores the merchant's settings, unchanged, for screens created afterwards.
    void setConfig(const QString &env, const QString &appId, const QString &url,
                   const QString &merchantName, const QStringList &walletArray,
                   const QString &tezOption, const QString &color1Hex, const QString &color2Hex);
    /// Stores the order, unchanged, for screens created afterwards, and forgets the previous
    /// order's result.
    void createOrder(const QString &orderId, const QString &orderAmount,
                     const QString &customerEmail, const QString &customerPhone,
                     const QString &paymentReady, const QString &orderNote,
                     const QString &customerName, const QString &orderCurrency,
                     const QString &notifyUrl);
    /// The last captured result, empty when none has been captured for the current order.
    QString getResult() const;

    /// The host's delegate; handed to every screen, now and when the screens are built.
    std::shared_ptr<ResultDelegate> resultDelegate() const;
    void setResultDelegate(std::shared_ptr<ResultDelegate> delegate);

public Q_SLOTS:
    /// The close buttons' action: closes the checkout; the stored result is not touched.
    void cancelTapped(QAbstractButton *sender = nullptr);

Q_SIGNALS:
    /// Once per captured result, after the delegate has been called.
    void paymentResult(const QString &result);

protected:
    void viewDidLoad() override;
    void viewControllersChanged() override;

private:
    QList<PaymentScreen *> screens() const;

    std::unique_ptr<PGTabBarViewControllerPrivate> const d;
};

} // namespace pelbrook
