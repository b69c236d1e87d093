#include <pelbrook/upiViewController.h>

#include "platform/DebugLog_p.h"
#include "platform/ui/Style.h"
#include "platform/Resources.h"
#include "platform/ui/TextFieldInputView.h"
#include "platform/ui/ViewController_p.h"
#include "upi/UpiAddress.h"
#include "upi/upiViewController_p.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelbrook {

namespace {

// What a screen reader says for each app tile.
QString appName(const QString &key)
{
    return key == QLatin1String("tez") ? upiViewController::tr("Tez") : upiViewController::tr("Other UPI apps");
}

// A row of the handle list: its handle's logo, as large as the row allows and centred, on a
// light blue while chosen.
class HandleLogoDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, QColor(0xe3, 0xec, 0xfa));
        const QImage logo = index.data(Qt::DecorationRole).value<QImage>();
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(aspectFitRect(logo.deviceIndependentSize(), QRectF(option.rect)), logo);
        painter->restore();
    }
};

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
        t.endsEditingForPaymentPage = true;
        t.inputsOnHandBack = true;
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

namespace {

// The artwork of the "others" tile is its English name: in another language the tile shows its
// name in that language instead, drawn as a card like a key without artwork.
bool wordsInAnotherLanguage(const QString &key)
{
    return key.startsWith(QLatin1String("others")) && appName(QStringLiteral("others")) != QLatin1String("Other UPI apps");
}

} // namespace

QImage upiViewControllerPrivate::returnImage(const QString &name)
{
    return wordsInAnotherLanguage(name) ? QImage() : imageFromSet(QStringLiteral("upiDeSelected"), name);
}

QImage upiViewControllerPrivate::returnImageHighlighted(const QString &name)
{
    return wordsInAnotherLanguage(name) ? QImage() : imageFromSet(QStringLiteral("upiHighlight"), name);
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
    Q_Q(upiViewController);
    bankPicker = new QListView;
    bankPicker->setObjectName(QStringLiteral("bankPicker"));
    bankPicker->setAccessibleName(upiViewController::tr("UPI handles"));
    // Keys reach it from the handle field, which keeps the focus.
    bankPicker->setFocusPolicy(Qt::NoFocus);
    bankPicker->setFrameShape(QFrame::NoFrame);
    bankPicker->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bankPicker->setUniformItemSizes(true);
    bankPicker->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // As tall as its rows, and as wide as a phone's picker.
    bankPicker->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    bankPicker->setMinimumWidth(240);
    bankPicker->setItemDelegate(new HandleLogoDelegate(bankPicker));
    auto *handles = new QStandardItemModel(bankPicker);
    for (int row = 0; row < numberOfRows(); ++row) {
        auto *item = new QStandardItem;
        item->setData(titleForRow(row), Qt::AccessibleTextRole);
        item->setData(viewForRow(row), Qt::DecorationRole);
        item->setSizeHint(QSize(0, rowHeight()));
        handles->appendRow(item);
    }
    bankPicker->setModel(handles);
    QObject::connect(bankPicker->selectionModel(), &QItemSelectionModel::currentChanged, q, [this](const QModelIndex &row) {
        if (row.isValid())
            didSelectRow(row.row());
    });
    TextFieldInputView::of(upiPostFixTextField)->setInputView(bankPicker);
}

void upiViewControllerPrivate::createToolbar()
{
    Q_Q(upiViewController);
    // A bar above the list, white like it, between two hairlines.
    toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setFixedHeight(44);
    auto *column = new QVBoxLayout(toolbar);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    const auto addHairline = [column, toolbar = toolbar] {
        auto *hairline = new QFrame(toolbar);
        hairline->setFrameStyle(QFrame::HLine | QFrame::Plain);
        hairline->setFixedHeight(1);
        QPalette grey = hairline->palette();
        grey.setColor(QPalette::WindowText, QColor(0xc8, 0xc7, 0xcc));
        hairline->setPalette(grey);
        column->addWidget(hairline);
    };
    auto *row = new QHBoxLayout;
    row->setContentsMargins(17, 0, 17, 0);
    addHairline();
    column->addLayout(row);
    addHairline();
    auto *done = new QToolButton(toolbar);
    done->setObjectName(QStringLiteral("doneButton"));
    done->setText(upiViewController::tr("Done"));
    done->setAccessibleName(done->text());
    done->setAutoRaise(true);
    // The field being edited keeps the focus.
    done->setFocusPolicy(Qt::NoFocus);
    done->setCursor(Qt::PointingHandCursor);
    QFont font = done->font();
    font.setPixelSize(17);
    done->setFont(font);
    // The checkout's own blue, the colour of its chosen tab and focus marks.
    QPalette tint = done->palette();
    tint.setColor(QPalette::ButtonText, CheckoutStyle::highlight());
    done->setPalette(tint);
    // After its colour: under a host's style sheet, its own sheet names it.
    CheckoutStyle::apply(done);
    QObject::connect(done, &QToolButton::clicked, q, &upiViewController::dismissKeyboard);
    row->addWidget(done, 0, Qt::AlignVCenter);
    row->addStretch();
    TextFieldInputView::of(upiPostFixTextField)->setInputAccessoryView(toolbar);
}

int upiViewControllerPrivate::numberOfRows() const
{
    return int(bankPostfix().size());
}

QString upiViewControllerPrivate::titleForRow(int row) const
{
    return bankPostfix().at(row);
}

QImage upiViewControllerPrivate::viewForRow(int row) const
{
    return returnImageUiPicker(bankPostfix().at(row) + QStringLiteral(".png"));
}

int upiViewControllerPrivate::rowHeight() const
{
    return 40;
}

void upiViewControllerPrivate::didSelectRow(int row)
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
