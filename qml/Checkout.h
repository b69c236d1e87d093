#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace pelbrook {

class PGTabBarViewController;

/**
 * The checkout for Qt Quick applications: the same container a Qt Widgets host presents,
 * configured through properties and shown in a window of its own.
 *
 * The properties are the arguments of PGTabBarViewController::setConfig() and createOrder(),
 * under the same names; present() hands them to a new container, which copies them then, so a
 * change afterwards applies to the next present(). The application must create a QApplication
 * (the checkout is made of widgets) and set the endpoints from C++ before it presents.
 *
 * @code
 * import Pelbrook.Checkout
 *
 * Checkout {
 *     id: checkout
 *     env: "TEST"; appId: "your-app-id"; merchantName: "Acme Books"
 *     orderId: "ORD1"; orderAmount: "499.00"; paymentReady: token
 *     color1Hex: "2f6fde"; color2Hex: "6a3fd0"; orderCurrency: "INR"
 *     onPaymentResult: (result) => console.log(result)
 *     onPaymentInterrupted: console.log("ask the server how order ORD1 ended")
 * }
 * @endcode
 */
class Checkout : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QString env MEMBER m_env NOTIFY configChanged)
    Q_PROPERTY(QString appId MEMBER m_appId NOTIFY configChanged)
    Q_PROPERTY(QString url MEMBER m_url NOTIFY configChanged)
    Q_PROPERTY(QString merchantName MEMBER m_merchantName NOTIFY configChanged)
    Q_PROPERTY(QStringList walletArray MEMBER m_walletArray NOTIFY configChanged)
    Q_PROPERTY(QString tezOption MEMBER m_tezOption NOTIFY configChanged)
    Q_PROPERTY(QString color1Hex MEMBER m_color1Hex NOTIFY configChanged)
    Q_PROPERTY(QString color2Hex MEMBER m_color2Hex NOTIFY configChanged)

    Q_PROPERTY(QString orderId MEMBER m_orderId NOTIFY orderChanged)
    Q_PROPERTY(QString orderAmount MEMBER m_orderAmount NOTIFY orderChanged)
    Q_PROPERTY(QString customerEmail MEMBER m_customerEmail NOTIFY orderChanged)
    Q_PROPERTY(QString customerPhone MEMBER m_customerPhone NOTIFY orderChanged)
    Q_PROPERTY(QString paymentReady MEMBER m_paymentReady NOTIFY orderChanged)
    Q_PROPERTY(QString orderNote MEMBER m_orderNote NOTIFY orderChanged)
    Q_PROPERTY(QString customerName MEMBER m_customerName NOTIFY orderChanged)
    Q_PROPERTY(QString orderCurrency MEMBER m_orderCurrency NOTIFY orderChanged)
    Q_PROPERTY(QString notifyUrl MEMBER m_notifyUrl NOTIFY orderChanged)

    /// The tab shown: 0 Cards, 1 Net Banking, 2 Wallets, 3 UPI. Set before present() to open
    /// on that tab; while the checkout is shown, it follows the buyer, so the next present()
    /// opens where the buyer left off.
    Q_PROPERTY(int selectedIndex READ selectedIndex WRITE setSelectedIndex NOTIFY selectedIndexChanged)
    /// The result captured for the order last presented; empty until one is captured.
    Q_PROPERTY(QString result READ result NOTIFY resultChanged)
    /// Whether a refused pay press tells the buyer why (PGTabBarViewController::showsInputHints);
    /// false by default. Applies at once to a checkout on screen.
    Q_PROPERTY(bool showsInputHints READ showsInputHints WRITE setShowsInputHints NOTIFY showsInputHintsChanged)
    /// Whether the checkout is on screen.
    Q_PROPERTY(bool presented READ isPresented NOTIFY presentedChanged)

public:
    explicit Checkout(QObject *parent = nullptr);
    ~Checkout() override;

    int selectedIndex() const;
    void setSelectedIndex(int index);
    QString result() const { return m_result; }
    bool isPresented() const;
    bool showsInputHints() const { return m_showsInputHints; }
    void setShowsInputHints(bool shows);

    /// Shows the checkout for the current properties, over the window this object belongs to
    /// when there is one. While it is shown, it is only raised.
    Q_INVOKABLE void present();
    /// Closes the checkout as its close button does; the result is kept.
    Q_INVOKABLE void close();

Q_SIGNALS:
    void configChanged();
    void orderChanged();
    void selectedIndexChanged();
    void resultChanged();
    void presentedChanged();
    void showsInputHintsChanged();
    /// Once per captured result.
    void paymentResult(const QString &result);
    /// The checkout is closing with a payment sent to the gateway and no result back: the app
    /// cannot tell whether the buyer paid, and should ask its own server. Just before dismissed().
    void paymentInterrupted();
    /// After the checkout has closed, by any path.
    void dismissed();

private:
    void showOverOwnersWindow();
    /// Disconnects the container from this object and forgets it; returns it.
    PGTabBarViewController *releaseContainer();

    QString m_env, m_appId, m_url, m_merchantName, m_tezOption, m_color1Hex, m_color2Hex;
    QStringList m_walletArray;
    QString m_orderId, m_orderAmount, m_customerEmail, m_customerPhone, m_paymentReady, m_orderNote,
        m_customerName, m_orderCurrency, m_notifyUrl;
    int m_selectedIndex = 0;
    bool m_showsInputHints = false;
    QString m_result;
    QPointer<PGTabBarViewController> m_container;
};

} // namespace pelbrook
