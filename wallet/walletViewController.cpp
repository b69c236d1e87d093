#include <pelbrook/walletViewController.h>

#include "platform/DebugLog_p.h"
#include "platform/Resources.h"
#include "platform/ui/ViewController_p.h"
#include "wallet/walletViewController_p.h"

namespace pelbrook {

namespace {

struct WalletEntry {
    const char *key;
    const char *code;
    const char *name;
};

// Tried in this order; the match is exact, case included.
constexpr WalletEntry WalletTable[] = {
    {"paytm", "4007", "Paytm"},
    {"airtel", "4006", "Airtel Money"},
    {"freecharge", "4001", "FreeCharge"},
    // JioMoney is sent with the same code as Airtel Money; it has none of its own here.
    {"jio", "4006", "JioMoney"},
    {"mobikwik", "4002", "MobiKwik"},
    {"ola", "4003", "Ola Money"},
};

const WalletEntry *findWallet(const QString &key)
{
    for (const WalletEntry &entry : WalletTable) {
        if (key == QLatin1String(entry.key))
            return &entry;
    }
    return nullptr;
}

// What a screen reader says for a wallet's tile; one the library has no name for, its key.
QString walletName(const QString &key)
{
    const WalletEntry *entry = findWallet(key);
    return entry ? QString::fromLatin1(entry->name) : key;
}

const ScreenTraits &walletTraits()
{
    static const ScreenTraits traits = [] {
        ScreenTraits t;
        t.paymentOption = QStringLiteral("wallet");
        t.repeatsNameAndNote = true;
        t.webViewName = "wallet_webView";
        t.payButtonName = "wallet_paySecurelyBtn";
        t.header.nameBelowSafeTop = true;
        t.header.nameFrame = QRectF(10, 25, 269, 47);
        t.header.idStaticFrame = QRectF(17, 76, 67, 21);
        t.header.amountStaticFrame = QRectF(17, 76, 121, 24);
        t.header.idFrame = QRectF(238, 77, 201, 22);
        t.header.amountFrame = QRectF(329, 100, 130, 38);
        t.header.idTop = 34;
        t.header.amountTop = 64;
        // The grid lies in the layout area above the scroll view.
        t.buildOrder = {BuildStep::Inputs, BuildStep::Logos, BuildStep::Lists, BuildStep::PayButton};
        t.opaqueWhiteBars = true;
        t.inputsOnEveryAppearance = true;
        return t;
    }();
    return traits;
}

} // namespace

walletViewControllerPrivate::walletViewControllerPrivate()
    : PaymentScreenPrivate(walletTraits())
    , walletArray(checkout.walletArray_global)
    , walletArrayHighlighted(checkout.walletArray_global)
{
}

void walletViewControllerPrivate::makeInputs()
{
    userMessageLabel = makeLabel("userMessageLabel", walletViewController::tr("Please select a Wallet to proceed"), 13);
    walletCollection = new LogoTileGrid(returnImage, returnImageHighlighted, walletName, inAreaOrPending());
    walletCollection->setObjectName(QStringLiteral("walletCollection"));
    walletCollection->setAccessibleName(walletViewController::tr("Wallets"));
}

QString walletViewControllerPrivate::walletCode(const QString &key)
{
    const WalletEntry *entry = findWallet(key);
    return QLatin1String(entry ? entry->code : "3333");
}

QImage walletViewControllerPrivate::returnImage(const QString &name)
{
    return imageFromSet(QStringLiteral("walletDeSelected"), name);
}

QImage walletViewControllerPrivate::returnImageHighlighted(const QString &name)
{
    return imageFromSet(QStringLiteral("walletsHighlight"), name);
}

// --- The grid ---

void walletViewControllerPrivate::didSelectItem(int item)
{
    const QString &key = walletArray.at(item);
    debugLog(key);
    update(wallet_code, std::optional<QString>(walletCode(key)), q_func(), &walletViewController::wallet_codeChanged);
    inputHint.clear();
}

// --- The shared flow ---

QList<QWidget *> walletViewControllerPrivate::paymentInputs() const
{
    // The heading and the merchant logo stay, beneath the page.
    return {orderIdLabel, orderIdStaticLabel, orderAmountLabel, orderAmountStaticLabel, merchNameLabel,
            walletCollection, payButton, pelbrookLogo, orderBg};
}

bool walletViewControllerPrivate::acceptPay()
{
    if (!wallet_code) {
        debugLog(QStringLiteral("Select a Wallet"));
        inputHint.show(walletViewController::tr("Select a Wallet"));
        return false;
    }
    return true;
}

QList<FormField> walletViewControllerPrivate::methodFields() const
{
    return {{QStringLiteral("wallet_code"), wallet_code.value_or(QString())}};
}

// --- The public class ---

walletViewController::walletViewController()
    : PaymentScreen(*new walletViewControllerPrivate)
{
}

walletViewController::~walletViewController() = default;

QString walletViewController::wallet_paymentToken_config() const { return d_func()->checkout.paymentReady_global; }
QStringList walletViewController::walletArray() const { return d_func()->walletArray; }
QStringList walletViewController::walletArrayHighlighted() const { return d_func()->walletArrayHighlighted; }
std::optional<QString> walletViewController::wallet_code() const { return d_func()->wallet_code; }
QString walletViewController::walletCodeOrEmpty() const { return d_func()->wallet_code.value_or(QString()); }
QString walletViewController::walletCellId() const { return walletViewControllerPrivate::walletCellId; }

void walletViewController::hideWalletPaymentInputs()
{
    // What these make (the views of a screen not shown yet, a hint) reads in its language.
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(true);
}

void walletViewController::showWalletPaymentInputs()
{
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(false);
}

void walletViewController::payAction(QAbstractButton *)
{
    const LanguageScope language(screenLanguage(this));
    d_func()->payAction();
}

} // namespace pelbrook
