#include <pelbrook/PGTabBarViewController.h>

#include <pelbrook/PaymentScreen.h>

#include "core/CheckoutContext.h"
#include "core/ScreenControl.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController_p.h"
#include "platform/Resources.h"
#include "platform/Translations_p.h"

#include <pelbrook/cardViewController.h>
#include <pelbrook/netBankingViewController.h>
#include <pelbrook/upiViewController.h>
#include <pelbrook/walletViewController.h>

#include <functional>

namespace pelbrook {

namespace {

// The payment screen of each tab, in tab order.
QList<PaymentScreen *> screensOf(const TabBarController &container)
{
    QList<PaymentScreen *> result;
    for (NavigationController *navigation : containerTabs::viewControllers(container)) {
        if (auto *screen = qobject_cast<PaymentScreen *>(navigation->rootViewController()))
            result.append(screen);
    }
    return result;
}

} // namespace

class PGTabBarViewControllerPrivate
{
public:
    std::shared_ptr<ResultDelegate> resultDelegate;
    bool showsInputHints = false;
};

PGTabBarViewController::PGTabBarViewController(QWidget *parent)
    : TabBarController(parent)
    , d(std::make_unique<PGTabBarViewControllerPrivate>())
{
    setObjectName(QStringLiteral("PGTabBarViewController"));
    loadTranslations();
    setWindowTitle(tr("Checkout"));
}

PGTabBarViewController::~PGTabBarViewController() = default;

void PGTabBarViewController::setConfig(const QString &env, const QString &appId, const QString &url,
                                       const QString &merchantName, const QStringList &walletArray,
                                       const QString &tezOption, const QString &color1Hex,
                                       const QString &color2Hex)
{
    CheckoutContext &context = CheckoutContext::shared();
    context.env_global = env;
    context.appId_global = appId;
    context.url_global = url;
    context.merchantName_global = merchantName;
    context.walletArray_global = walletArray;
    context.tezOption_global = tezOption;
    context.color1Hex_global = color1Hex;
    context.color2Hex_global = color2Hex;
}

void PGTabBarViewController::createOrder(const QString &orderId, const QString &orderAmount,
                                         const QString &customerEmail, const QString &customerPhone,
                                         const QString &paymentReady, const QString &orderNote,
                                         const QString &customerName, const QString &orderCurrency,
                                         const QString &notifyUrl)
{
    CheckoutContext &context = CheckoutContext::shared();
    context.orderId_global = orderId;
    context.orderAmount_global = orderAmount;
    context.orderNote_global = orderNote;
    context.customerName_global = customerName;
    context.customerPhone_global = customerPhone;
    context.customerEmail_global = customerEmail;
    context.orderCurrency_global = orderCurrency;
    context.notifyUrl_global = notifyUrl;
    context.paymentReady_global = paymentReady;
    // A host that reads the result after an abandoned checkout must not see the previous
    // order's payment.
    context.result_global.clear();
}

QString PGTabBarViewController::getResult() const
{
    return CheckoutContext::shared().result_global;
}

std::shared_ptr<ResultDelegate> PGTabBarViewController::resultDelegate() const
{
    return d->resultDelegate;
}

void PGTabBarViewController::setResultDelegate(std::shared_ptr<ResultDelegate> delegate)
{
    d->resultDelegate = std::move(delegate);
    for (PaymentScreen *screen : screensOf(*this))
        screen->setResultDelegate(d->resultDelegate);
}

bool PGTabBarViewController::showsInputHints() const
{
    return d->showsInputHints;
}

void PGTabBarViewController::setShowsInputHints(bool shows)
{
    if (shows == d->showsInputHints)
        return;
    d->showsInputHints = shows;
    for (PaymentScreen *screen : screensOf(*this))
        screenControl::setShowsInputHints(screen, shows);
    Q_EMIT showsInputHintsChanged(shows);
}


void PGTabBarViewController::viewControllersChanged()
{
    // A host that sets only the container's delegate, or listens to its signal, hears of
    // every screen's result.
    for (PaymentScreen *screen : screensOf(*this)) {
        screen->setResultDelegate(d->resultDelegate);
        screenControl::setShowsInputHints(screen, d->showsInputHints);
        connect(screen, &PaymentScreen::paymentResultCaptured, this, &PGTabBarViewController::paymentResult,
                Qt::UniqueConnection);
    }
}

void PGTabBarViewController::aboutToDismiss()
{
    // Once closed, the checkout's pages are no longer listened to: a payment page that hands
    // back later (an approval in the buyer's UPI app, say) reports nothing, not even while the
    // host handles the news below.
    bool outcomeUnknown = false;
    for (PaymentScreen *screen : screensOf(*this))
        outcomeUnknown = screenControl::abandonPaymentPage(screen) || outcomeUnknown;
    if (outcomeUnknown)
        Q_EMIT paymentInterrupted();
}

void PGTabBarViewController::cancelTapped(QAbstractButton *)
{
    dismiss();
}

namespace {

// One row per tab, in tab order.
struct TabRow {
    const char *title;
    const char *icon;
    const char *selectedIcon;
    bool iconUntinted;
    std::function<PaymentScreen *()> create;
};

const QList<TabRow> &tabTable()
{
    static const QList<TabRow> rows = {
        {QT_TRANSLATE_NOOP("pelbrook::PGTabBarViewController", "Cards"), "cards_grey", "cards", true, [] { return new cardViewController; }},
        {QT_TRANSLATE_NOOP("pelbrook::PGTabBarViewController", "Net Banking"), "nb_grey", "nb", false, [] { return new netBankingViewController; }},
        {QT_TRANSLATE_NOOP("pelbrook::PGTabBarViewController", "Wallets"), "wallets_grey", "wallets", false, [] { return new walletViewController; }},
        {QT_TRANSLATE_NOOP("pelbrook::PGTabBarViewController", "UPI"), "upi_grey", "upi", false, [] { return new upiViewController; }},
    };
    return rows;
}

} // namespace

void PGTabBarViewController::viewDidLoad()
{
    const std::optional<ResourceBundle> bundle = ResourceBundle::withIdentifier(ResourceBundle::libraryIdentifier());
    // One image, shared by every close button; a missing one leaves a working button.
    const QImage backArrow = imageNamed(QStringLiteral("backArrow"), bundle);

    QList<NavigationController *> wrappers;
    for (const TabRow &row : tabTable()) {
        PaymentScreen *screen = row.create();
        screen->setTitle(tr(row.title));
        screen->setLeftBarButtonItem({backArrow, tr("Close"), QStringLiteral("closeButton"),
                                      [this](QAbstractButton *sender) { cancelTapped(sender); }});
        screen->setTabBarItem({imageNamed(QLatin1String(row.icon), bundle), imageNamed(QLatin1String(row.selectedIcon), bundle),
                               row.iconUntinted});
        wrappers.append(new NavigationController(screen));
    }
    containerTabs::setViewControllers(*this, wrappers);
}

} // namespace pelbrook
