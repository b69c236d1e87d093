#include <pelbrook/cardViewController.h>

#include "card/CardNumberFormatter.h"
#include "card/cardViewController_p.h"
#include "core/PaymentForm.h"
#include "platform/DebugLog_p.h"
#include "platform/Font.h"
#include "platform/Resources.h"
#include "shell/Color.h"
#include "shell/Layout.h"
#include "shell/ViewLayer.h"

#include <pelbrook/TabBarController.h>

#include <QEvent>
#include <QMouseEvent>
#include <QTextBoundaryFinder>

namespace pelbrook {

namespace {

const QString HelveticaNeue = QStringLiteral("Helvetica Neue");

// Characters as a reader counts them (grapheme clusters), not UTF-16 code units.
int characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, double size, bool white)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(fontNamed(HelveticaNeue, size));
    if (white)
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

QLineEdit *makeField(QWidget *parent, const char *name, const QString &placeholder)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    field->setFont(fontNamed(HelveticaNeue, 16));
    return field;
}

// The rounded-rectangle border of a mobile text field; without it a field is bare text.
void setRoundedBorder(QLineEdit *field, bool rounded)
{
    field->setStyleSheet(rounded ? QStringLiteral("QLineEdit { border: 1px solid #c7c7cc; border-radius: 5px; "
                                                  "padding: 0 6px; background: white; color: black; }")
                                 : QStringLiteral("QLineEdit { border: none; padding: 0 6px; background: transparent; color: black; }"));
}

} // namespace

cardViewControllerPrivate::cardViewControllerPrivate()
    : pending(std::make_unique<QWidget>())
{
    QWidget *p = pending.get();
    scrollViewCard = new QScrollArea(p);
    scrollViewCard->setObjectName(QStringLiteral("scrollViewCard"));
    scrollViewCard->setFrameShape(QFrame::NoFrame);
    scrollViewCard->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    scrollContent = new QWidget;
    scrollContent->setObjectName(QStringLiteral("scrollViewCardContent"));
    scrollContent->setAttribute(Qt::WA_TranslucentBackground);
    scrollViewCard->setWidget(scrollContent);
    scrollViewCard->viewport()->setAutoFillBackground(false);
    scrollContent->setAutoFillBackground(false);

    orderBg = new QWidget(scrollContent);
    orderBg->setObjectName(QStringLiteral("orderBg"));
    merchNameLabel = makeLabel(scrollContent, "merchNameLabel", QStringLiteral("Merchant Name"), 22, true);
    orderIdStaticLabel = makeLabel(scrollContent, "orderIdStaticLabel", QStringLiteral("Order Id"), 15, true);
    orderAmountStaticLabel = makeLabel(scrollContent, "orderAmountStaticLabel", QStringLiteral("Amount"), 15, true);
    orderIdLabel = makeLabel(scrollContent, "orderIdLabel", QString(), 15, true);
    orderAmountLabel = makeLabel(scrollContent, "orderAmountLabel", QString(), 15, true);
    cardNumberLabel = makeLabel(scrollContent, "cardNumberLabel", QStringLiteral("Please enter card details to proceed"), 13, false);
    cardExpiryLabel = makeLabel(scrollContent, "cardExpiryLabel", QStringLiteral("Expiry"), 13, false);
    cardCvcLabel = makeLabel(scrollContent, "cardCvcLabel", QStringLiteral("CVV"), 13, false);

    pelbrookLogo = new ImageView(scrollContent);
    pelbrookLogo->setObjectName(QStringLiteral("pelbrookLogo"));
    pelbrookLogo->setContentMode(ImageView::ContentMode::ScaleAspectFit);
    pelbrookLogo->setImage(libraryImage(QStringLiteral("PelbrookLogo")));
    merchantLogo = new ImageView(scrollContent);
    merchantLogo->setObjectName(QStringLiteral("merchantLogo"));
    merchantLogo->setContentMode(ImageView::ContentMode::ScaleAspectFit);
    merchantLogo->setImage(ResourceBundle::mainBundle().imageNamed(QStringLiteral("merchantLogo")));

    cardNumberTextField = makeField(scrollContent, "cardNumberTextField", QStringLiteral("Enter Card Number"));
    cardHolderNameTextField = makeField(scrollContent, "cardHolderNameTextField", QStringLiteral("Enter Card Holder Name"));
    cardExpiryMonthTextField = makeField(scrollContent, "cardExpiryMonthTextField", QStringLiteral("MM"));
    cardExpiryYearTextField = makeField(scrollContent, "cardExpiryYearTextField", QStringLiteral("YY"));
    cardCvcTextField = makeField(scrollContent, "cardCvcTextField", QStringLiteral("CVV"));
    cardCvcTextField->setEchoMode(QLineEdit::Password);

    cardWebView = new BrowserView(p);
    cardWebView->setObjectName(QStringLiteral("cardWebView"));
    cardWebView->page()->setBackgroundColor(Qt::white);

    cardPayButton = new Button(scrollContent);
    cardPayButton->setObjectName(QStringLiteral("cardPayButton"));
    cardPayButton->setFont(fontNamed(HelveticaNeue, 18));
    cardPayButton->setTitleColor(Qt::black);
    ViewLayer::of(cardPayButton)->setBackgroundColor(QColor(0xd3, 0xd3, 0xd3));
    cardPayButton->setAccessibleName(QStringLiteral("Pay Securely"));
}

cardViewController::cardViewController()
    : PaymentScreen(QStringLiteral("card"), false)
    , d(std::make_unique<cardViewControllerPrivate>())
{
    setObjectName(QStringLiteral("cardViewController"));
}

cardViewController::~cardViewController() = default;

QString cardViewController::paymentToken_config() const { return paymentToken(); }
std::optional<QString> cardViewController::transactionResultCard() const { return d->transactionResultCard; }
QString cardViewController::cardNumberWithoutSpaces() const { return d->cardNumberWithoutSpaces; }
std::optional<QString> cardViewController::previousTextFieldContent() const { return d->previousTextFieldContent; }

std::optional<std::pair<int, int>> cardViewController::previousSelection() const
{
    if (!d->previousSelection)
        return std::nullopt;
    return std::pair{d->previousSelection->start, d->previousSelection->length};
}

void cardViewController::viewDidLoad()
{
    QWidget *root = view();
    const double W = root->width();
    const double H = root->height();

    // Step by step as the elements are added: the scroll view, the header, the labels, the
    // fields, the web view (on the root view, above the scroll view), the button, the logos.
    d->scrollViewCard->setParent(root);
    const Color c1(color1Hex());
    const Color c2(color2Hex());
    layOutCardScreen(*d, root, W, H);
    setGradientBackground(d->orderBg, c1, c2);
    d->merchNameLabel->setText(merchantName());
    d->orderIdLabel->setText(QStringLiteral("- ") + orderId());
    d->orderAmountLabel->setText(QStringLiteral("- ") + orderCurrency() + QStringLiteral(" ") + orderAmount());

    for (QLineEdit *numeric : {d->cardNumberTextField, d->cardExpiryMonthTextField, d->cardExpiryYearTextField, d->cardCvcTextField})
        numeric->setInputMethodHints(Qt::ImhDigitsOnly);
    for (QLineEdit *field : d->textFields())
        setRoundedBorder(field, field != d->cardExpiryYearTextField);

    initCardWebView();
    connect(d->cardPayButton, &QAbstractButton::clicked, this, [this]() { payAction(d->cardPayButton); });

    for (QLineEdit *field : d->textFields()) {
        auto *observer = new TextFieldObserver(field);
        connect(observer, &TextFieldObserver::willChange, this, [this](QLineEdit *f, const QString &text, const TextRange &selection) {
            textFieldShouldChange(f, text, selection.start, selection.length);
        });
        connect(field, &QLineEdit::returnPressed, this, [this, field]() { textFieldShouldReturn(field); });
        if (field == d->cardNumberTextField)
            connect(observer, &TextFieldObserver::editingChanged, this, &cardViewController::reformatAsCardNumber);
        else if (field == d->cardExpiryMonthTextField)
            connect(observer, &TextFieldObserver::editingChanged, this, &cardViewController::textFieldDidChangeToExpiry);
        else if (field == d->cardExpiryYearTextField)
            connect(observer, &TextFieldObserver::editingChanged, this, &cardViewController::textFieldDidChangeToCvc);
    }

    // A tap anywhere outside a field ends editing.
    for (QWidget *surface : {root, d->scrollViewCard->viewport(), d->scrollContent})
        surface->installEventFilter(this);
    for (QLabel *label : d->scrollContent->findChildren<QLabel *>())
        label->installEventFilter(this);
    d->pending.reset();
    LayoutResolver::install(root);
}

void cardViewController::initCardWebView()
{
    QWidget *root = view();
    attachWebView(d->cardWebView);
    d->cardWebView->hide();
    d->cardWebView->setParent(root);
    const double W = root->width();
    const double H = root->height();
    setFrame(d->cardWebView, QRectF(0, 20, int(W) + 200, int(H)));
    setAnchor(d->cardWebView, safeTopAnchor(root), safeLeftAnchor(root), safeBottomAnchor(root), safeRightAnchor(d->cardWebView),
              20, 0, 0, 0, W, H);
}

void cardViewController::viewWillAppear()
{
    const Color c1(color1Hex());
    const Color c2(color2Hex());
    const Color white(QStringLiteral("ffffff"));
    setGradientBackground(view(), white, Color(QStringLiteral("ffffff")));

    Button *button = d->cardPayButton;
    ViewLayer *layer = ViewLayer::of(button);
    layer->setCornerRadius(10);
    layer->setMasksToBounds(true);
    layer->setBorderWidth(0);
    setGradientBackground(button, c1, c2);
    const QImage lock = libraryImage(QStringLiteral("secureLock"));
    button->setImage(lock, Button::State::Normal);
    button->setImage(ResourceBundle::mainBundle().imageNamed(QStringLiteral("secureLock")), Button::State::Highlighted);
    button->setImageEdgeInsets(QMarginsF(0, 2, 0, 4));
    button->setTitle(QStringLiteral("  Pay Securely"), Button::State::Normal);
    // Without the lock image there is no width to take back.
    const double lockWidth = lock.isNull() ? 0.0 : lock.deviceIndependentSize().width();
    button->setTitleEdgeInsets(QMarginsF(-lockWidth, 2, 0, 2));
}

void cardViewController::viewWillDisappear()
{
    removeObservers();
}

void cardViewController::removeObservers()
{
    // The screen registers for no notifications; nothing to undo.
}

bool cardViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        didTapView();
    } else if (event->type() == QEvent::Resize && watched == view()) {
        // Views placed by relations follow a resized window; the scroll view must too, or they
        // would move out of its visible area.
        d->scrollViewCard->setGeometry(view()->rect());
        d->scrollContent->resize(view()->size());
    }
    return false;
}

void cardViewController::didTapView()
{
    QWidget *focused = view()->focusWidget();
    if (focused && view()->isAncestorOf(focused))
        focused->clearFocus();
}

void cardViewController::textFieldShouldChange(QLineEdit *, const QString &text, int selectionStart, int selectionLength)
{
    d->previousTextFieldContent = text;
    d->previousSelection = TextRange{selectionStart, selectionLength};
}

bool cardViewController::textFieldShouldReturn(QLineEdit *)
{
    return true;
}

void cardViewController::reformatAsCardNumber(QLineEdit *textField)
{
    int cursor = textField->hasSelectedText() ? textField->selectionStart() : textField->cursorPosition();
    const QString digits = CardNumberFormatter::removeNonDigits(textField->text(), cursor);
    if (digits.size() > CardNumberFormatter::MaximumDigits) {
        // Too long: the edit is undone, cursor included.
        textField->setText(d->previousTextFieldContent.value_or(QString()));
        if (d->previousSelection)
            TextFieldObserver::setSelection(textField, *d->previousSelection);
        return;
    }
    d->cardNumberWithoutSpaces = digits;
    const QString grouped = CardNumberFormatter::insertCreditCardSpaces(digits, cursor);
    textField->setText(grouped);
    if (cursor >= 0 && cursor <= grouped.size())
        textField->setCursorPosition(cursor);
}

void cardViewController::textFieldDidChangeToExpiry(QLineEdit *textField)
{
    expiryFieldChanged(textField, d->cardExpiryYearTextField, QStringLiteral("Expiry Month"));
}

void cardViewController::textFieldDidChangeToCvc(QLineEdit *textField)
{
    expiryFieldChanged(textField, d->cardCvcTextField, QStringLiteral("Expiry Year"));
}

void cardViewController::expiryFieldChanged(QLineEdit *textField, QLineEdit *nextField, const QString &fieldName)
{
    const int length = characterCount(textField->text());
    if (length == 2) {
        nextField->setFocus(Qt::OtherFocusReason);
    } else if (length > 2) {
        // Emptied, not cut to two: the buyer starts the field again.
        textField->clear();
        debugLog(fieldName + QStringLiteral(" Text input field should be only 2 digits."));
    } else {
        debugLog(fieldName + QStringLiteral(" Text input field should not be empty."));
    }
}

void cardViewController::payAction(QAbstractButton *)
{
    const int length = characterCount(d->cardNumberTextField->text());
    if (!hasPaymentToken())
        return;
    if (length <= 18) {
        debugLog(QStringLiteral("Enter a 16 Digit Card Number"));
        debugLog(QString::number(length));
        return;
    }
    debugLog(QString::number(length));
    for (QLineEdit *field : d->textFields())
        field->clearFocus();
    waitLoading();
    hideCardPaymentInputs();
    paySecurely_request();
    d->cardWebView->show();
    d->cardWebView->raise();
}

void cardViewController::hideCardPaymentInputs()
{
    showPaymentPage(true);
}

void cardViewController::showCardPaymentInputs()
{
    showPaymentPage(false);
}

void cardViewController::showPaymentPage(bool paymentPage)
{
    // The tab bar goes with the inputs, so the buyer cannot change tabs during a payment.
    if (TabBarController *tabs = tabBarController())
        tabs->setTabBarHidden(paymentPage);
    d->cardWebView->setVisible(paymentPage);
    for (QWidget *input : d->paymentInputs())
        input->setVisible(!paymentPage);
}

QList<FormField> cardViewController::methodFields()
{
    return {{QStringLiteral("card_number"), d->cardNumberWithoutSpaces},
            {QStringLiteral("card_holder"), d->cardHolderNameTextField->text()},
            {QStringLiteral("card_expiryMonth"), d->cardExpiryMonthTextField->text()},
            // The form carries a four-digit year.
            {QStringLiteral("card_expiryYear"), QStringLiteral("20") + d->cardExpiryYearTextField->text()},
            {QStringLiteral("card_cvv"), d->cardCvcTextField->text()}};
}

BrowserView *cardViewController::paymentWebView() const
{
    return d->cardWebView;
}

void cardViewController::keepResult(const QString &result)
{
    d->transactionResultCard = result;
}

} // namespace pelbrook
