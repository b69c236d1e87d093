#include <pelbrook/upiViewController.h>

#include "platform/DebugLog_p.h"
#include "platform/ImageView.h"
#include "platform/Palette.h"
#include "platform/Resources.h"
#include "platform/TextFieldInputView.h"
#include "platform/Toolbar.h"
#include "platform/ViewController_p.h"
#include "upi/UpiAddress.h"
#include "upi/upiViewController_p.h"

#include <QEvent>

namespace pelbrook {

namespace {

// What a screen reader says for each app tile.
QString appName(const QString &key)
{
    return key == QLatin1String("tez") ? upiViewController::tr("Tez") : upiViewController::tr("Other UPI apps");
}

const ScreenTraits &upiTraits()
{
    static const ScreenTraits traits = [] {
        ScreenTraits t;
        t.paymentOption = QStringLiteral("upi");
        t.repeatsNameAndNote = true;
        t.webViewName = "upi_webView";
        t.payButtonName = "upiPayButton";
        t.header.backgroundFifthOfHeight = false;
        t.header.nameFrame = QRectF(10, 5, 269, 47);
        t.header.idStaticFrame = QRectF(17, 76, 67, 21);
        t.header.amountStaticFrame = QRectF(17, 107, 121, 24);
        t.header.idFrame = QRectF(238, 77, 201, 22);
        t.header.amountFrame = QRectF(329, 100, 130, 38);
        t.buildOrder = {BuildStep::Inputs, BuildStep::Logos, BuildStep::PayButton};
        return t;
    }();
    return traits;
}

} // namespace

upiViewControllerPrivate::upiViewControllerPrivate()
    : PaymentScreenPrivate(upiTraits())
{
}

void upiViewControllerPrivate::makeInputs()
{
    upiChooseLabel = makeLabel("upiChooseLabel", upiViewController::tr("Please select a UPI App to proceed"), 13);
    upiLabel = makeLabel("upiLabel", upiViewController::tr("Enter your Virtual Payment Address"), 13);
    userMessageLabelUpi = makeLabel("userMessageLabelUpi",
                                    upiViewController::tr("Note: You will receive a payment request from Pelbrook in your UPI app. "
                                                          "Do confirm the request to complete payment."),
                                    10);
    userMessageLabelUpi->setAlignment(Qt::AlignCenter);
    userMessageLabelUpi->setWordWrap(true);
    upiVpaTextField = makeTextField("upiVpaTextField", upiViewController::tr("UPI Id"));
    // An address is typed as it is: a touch keyboard must neither capitalise nor complete it.
    upiVpaTextField->setInputMethodHints(Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText);
    //: The handle the buyer picks from a list, as it is written in a UPI ID.
    upiPostFixTextField = makeTextField("upiPostFixTextField", upiViewController::tr("@upi"));
    upiPostFixTextField->setAccessibleName(upiViewController::tr("UPI handle"));

    upiCollection = new LogoTileGrid(returnImage, returnImageHighlighted, appName, scrollContent);
    upiCollection->setObjectName(QStringLiteral("upiCollection"));
    upiCollection->setAccessibleName(upiViewController::tr("UPI apps"));
}

const QStringList &upiViewControllerPrivate::bankPostfix()
{
    static const QStringList handles{QStringLiteral("okaxis"), QStringLiteral("okicici"), QStringLiteral("okhdfcbank"),
                                     QStringLiteral("oksbi")};
    return handles;
}

// --- The app list and the app grid ---

void upiViewControllerPrivate::initUpi()
{
    // Exact words only: "yes" or an empty value keep both apps, silently.
    Q_Q(upiViewController);
    const QString &tezOption = checkout.tezOption_global;
    if (tezOption == QLatin1String("YES")) {
        upiArray = {QStringLiteral("tez"), QStringLiteral("others")};
        upiArrayHighlighted = {QStringLiteral("tez_h"), QStringLiteral("others_h")};
        debugLog(QStringLiteral("MESSAGE: Tez is enabled in your project's info.plist"));
    } else if (tezOption == QLatin1String("NO")) {
        upiArray = {QStringLiteral("others")};
        upiArrayHighlighted = {QStringLiteral("others_h")};
        debugLog(QStringLiteral("MESSAGE: Tez is not enabled in your project's info.plist"));
        Q_EMIT q->upiArrayChanged();
    }
}

QImage upiViewControllerPrivate::returnImage(const QString &name)
{
    return imageFromSet(QStringLiteral("upiDeSelected"), name);
}

QImage upiViewControllerPrivate::returnImageHighlighted(const QString &name)
{
    return imageFromSet(QStringLiteral("upiHighlight"), name);
}

QImage upiViewControllerPrivate::returnImageUiPicker(const QString &name)
{
    return imageFromSet(QStringLiteral("upibankLogo"), name);
}

void upiViewControllerPrivate::didSelectItem(int item)
{
    const QString &key = upiArray.at(item);
    debugLog(key);
    update(upi_code, std::optional<QString>(key), q_func(), &upiViewController::upi_codeChanged);
    inputHint.clear();
    // Hiding keeps the handle: choosing "tez" again brings it back as it was.
    upiPostFixTextField->setVisible(key == QLatin1String("tez"));
}

// --- The handle list ---

void upiViewControllerPrivate::createBankPicker()
{
    bankPicker = new PickerView;
    bankPicker->setObjectName(QStringLiteral("bankPicker"));
    bankPicker->setAccessibleName(upiViewController::tr("UPI handles"));
    bankPicker->setDataSource(this);
    TextFieldInputView::of(upiPostFixTextField)->setInputView(bankPicker);
    bankPicker->reloadAllComponents();
}

void upiViewControllerPrivate::createToolbar()
{
    Q_Q(upiViewController);
    toolbar = new Toolbar;
    toolbar->sizeToFit();
    toolbar->setBarTintColor(Qt::white);
    // The checkout's own blue, the colour of its chosen tab and focus marks.
    toolbar->setTintColor(screenPalette().color(QPalette::Highlight));
    toolbar->setItems({{QImage(), upiViewController::tr("Done"), QStringLiteral("doneButton"), [q](QAbstractButton *) { q->dismissKeyboard(); }}});
    TextFieldInputView::of(upiPostFixTextField)->setInputAccessoryView(toolbar);
}

int upiViewControllerPrivate::numberOfRows(PickerView *)
{
    return int(bankPostfix().size());
}

QString upiViewControllerPrivate::titleForRow(PickerView *, int row)
{
    return bankPostfix().at(row);
}

QWidget *upiViewControllerPrivate::viewForRow(PickerView *, int row)
{
    auto *logo = new ImageView;
    logo->setContentMode(ImageView::ContentMode::ScaleAspectFit);
    logo->setImage(returnImageUiPicker(bankPostfix().at(row) + QStringLiteral(".png")));
    return logo;
}

int upiViewControllerPrivate::rowHeight(PickerView *)
{
    return 40;
}

void upiViewControllerPrivate::didSelectRow(PickerView *, int row)
{
    selectedBank = bankPostfix().at(row);
    upiPostFixTextField->setText(QStringLiteral("@") + *selectedBank);
    inputHint.clear();
}

// --- The shared flow ---

void upiViewControllerPrivate::viewBuilt()
{
    Q_Q(upiViewController);
    QObject::connect(upiVpaTextField, &QLineEdit::returnPressed, q, [q, this]() { q->textFieldShouldReturn(upiVpaTextField); });
    QObject::connect(upiVpaTextField, &QLineEdit::textEdited, q, [this]() { inputHint.clear(); });
    upiPostFixTextField->installEventFilter(this);
}

bool upiViewControllerPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == upiPostFixTextField) {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            fitAddressBesideHandle();
        return false;
    }
    return PaymentScreenPrivate::eventFilter(watched, event);
}

QList<QWidget *> upiViewControllerPrivate::paymentInputs() const
{
    // The merchant and order labels, the heading and the merchant logo stay, beneath the page.
    return {upiCollection, userMessageLabelUpi, upiLabel, upiVpaTextField, upiPostFixTextField, payButton, pelbrookLogo, orderBg};
}

QList<QLineEdit *> upiViewControllerPrivate::textFields() const
{
    return {upiVpaTextField};
}

void upiViewControllerPrivate::readInputs()
{
    // Taken afresh at every press, so a second payment does not append the handle twice.
    Q_Q(upiViewController);
    if (upi_vpa != upiVpaTextField->text() || upi_postfix != upiPostFixTextField->text()) {
        upi_vpa = upiVpaTextField->text();
        upi_postfix = upiPostFixTextField->text();
        Q_EMIT q->upiAddressChanged();
    }
}

bool upiViewControllerPrivate::acceptPay()
{
    if (upi_vpa.isEmpty()) {
        debugLog(QStringLiteral("UPI VPA is empty."));
        inputHint.show(upiViewController::tr("UPI VPA is empty."));
        return false;
    }
    return true;
}

void upiViewControllerPrivate::prepareMethodFields()
{
    update(upi_vpa, composeUpiAddress(upi_code, upi_vpa, upi_postfix), q_func(), &upiViewController::upiAddressChanged);
}

QList<FormField> upiViewControllerPrivate::methodFields() const
{
    return {{QStringLiteral("upi_vpa"), upi_vpa}};
}

void upiViewControllerPrivate::enteringPaymentPage()
{
    endEditing();
}

void upiViewControllerPrivate::handBackArrived()
{
    setPaymentPageShown(false);
}

// --- The public class ---

upiViewController::upiViewController()
    : PaymentScreen(*new upiViewControllerPrivate)
{
}

upiViewController::~upiViewController() = default;

QString upiViewController::upi_paymentToken_config() const { return d_func()->checkout.paymentReady_global; }
QString upiViewController::tezOption() const { return d_func()->checkout.tezOption_global; }
QStringList upiViewController::upiArray() const { return d_func()->upiArray; }
QStringList upiViewController::upiArrayHighlighted() const { return d_func()->upiArrayHighlighted; }
std::optional<QString> upiViewController::upi_code() const { return d_func()->upi_code; }
QString upiViewController::upiCodeOrEmpty() const { return d_func()->upi_code.value_or(QString()); }
QStringList upiViewController::bankPostfix() const { return upiViewControllerPrivate::bankPostfix(); }
std::optional<QString> upiViewController::selectedBank() const { return d_func()->selectedBank; }
QString upiViewController::upi_vpa() const { return d_func()->upi_vpa; }
QString upiViewController::upi_postfix() const { return d_func()->upi_postfix; }
QString upiViewController::upiCellId() const { return upiViewControllerPrivate::upiCellId; }
std::optional<QString> upiViewController::transactionResultUpi() const { return std::nullopt; }

bool upiViewController::textFieldShouldReturn(QLineEdit *textField)
{
    textField->clearFocus();
    return true;
}

void upiViewController::dismissKeyboard()
{
    if (isViewLoaded())
        d_func()->endEditing();
}

void upiViewController::hideUpiPaymentInputs()
{
    // What these make (the views of a screen not shown yet, a hint) reads in its language.
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(true);
}

void upiViewController::showUpiPaymentInputs()
{
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(false);
}

void upiViewController::payAction(QAbstractButton *)
{
    const LanguageScope language(screenLanguage(this));
    d_func()->payAction();
}

} // namespace pelbrook
