#include <pelbrook/cardViewController.h>

#include "card/CardNumberFormatter.h"
#include "card/cardViewController_p.h"
#include "platform/DebugLog_p.h"

#include <QTextBoundaryFinder>

namespace pelbrook {

namespace {

// Characters as a reader counts them (grapheme clusters), not UTF-16 code units.
int characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

const ScreenTraits &cardTraits()
{
    static const ScreenTraits traits = [] {
        ScreenTraits t;
        t.paymentOption = QStringLiteral("card");
        t.webViewName = "cardWebView";
        t.payButtonName = "cardPayButton";
        t.header.nameFrame = QRectF(10, 5, 269, 47);
        t.header.idStaticFrame = QRectF(10, 50, 67, 21);
        t.header.amountStaticFrame = QRectF(10, 107, 121, 24);
        t.header.idFrame = QRectF(185, 77, 201, 22);
        t.header.amountFrame = QRectF(309, 100, 130, 38);
        t.header.amountStaticWidth = 100;
        t.header.valueBottom = 30;
        t.buildOrder = {BuildStep::Inputs, BuildStep::PayButton, BuildStep::Logos};
        t.pelbrookLogoHeight = 14.5;
        t.rootViewPaddings = QMarginsF(0, 0, 0, 0);
        t.overlayBeforePaymentPage = true;
        return t;
    }();
    return traits;
}

} // namespace

cardViewControllerPrivate::cardViewControllerPrivate()
    : PaymentScreenPrivate(cardTraits())
{
    cardNumberLabel = makeLabel("cardNumberLabel", QStringLiteral("Please enter card details to proceed"), 13);
    cardExpiryLabel = makeLabel("cardExpiryLabel", QStringLiteral("Expiry"), 13);
    cardCvcLabel = makeLabel("cardCvcLabel", QStringLiteral("CVV"), 13);
    cardNumberTextField = makeTextField("cardNumberTextField", QStringLiteral("Enter Card Number"));
    cardHolderNameTextField = makeTextField("cardHolderNameTextField", QStringLiteral("Enter Card Holder Name"));
    cardExpiryMonthTextField = makeTextField("cardExpiryMonthTextField", QStringLiteral("MM"));
    cardExpiryYearTextField = makeTextField("cardExpiryYearTextField", QStringLiteral("YY"));
    cardCvcTextField = makeTextField("cardCvcTextField", QStringLiteral("CVV"));
    cardCvcTextField->setEchoMode(QLineEdit::Password);
    // "MM" and "YY" show what to type; read out, they would not say which field this is.
    cardExpiryMonthTextField->setAccessibleName(QStringLiteral("Expiry month"));
    cardExpiryYearTextField->setAccessibleName(QStringLiteral("Expiry year"));
}

QList<QWidget *> cardViewControllerPrivate::paymentInputs() const
{
    // The merchant name and the order labels stay.
    return {cardNumberTextField, cardHolderNameTextField, cardExpiryMonthTextField, cardExpiryYearTextField,
            cardCvcTextField, payButton, cardNumberLabel, cardExpiryLabel, cardCvcLabel, pelbrookLogo, orderBg};
}

QList<QLineEdit *> cardViewControllerPrivate::textFields() const
{
    return {cardNumberTextField, cardHolderNameTextField, cardExpiryMonthTextField, cardExpiryYearTextField, cardCvcTextField};
}

void cardViewControllerPrivate::viewBuilt()
{
    Q_Q(cardViewController);
    for (QLineEdit *field : textFields()) {
        auto *observer = new TextFieldObserver(field);
        QObject::connect(observer, &TextFieldObserver::willChange, q, [this](QLineEdit *, const QString &text, const TextRange &selection) {
            previousTextFieldContent = text;
            previousSelection = selection;
        });
        QObject::connect(field, &QLineEdit::returnPressed, q, [q, field]() { q->textFieldShouldReturn(field); });
        if (field == cardNumberTextField)
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::reformatAsCardNumber);
        else if (field == cardExpiryMonthTextField)
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::textFieldDidChangeToExpiry);
        else if (field == cardExpiryYearTextField)
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::textFieldDidChangeToCvc);
    }
}

bool cardViewControllerPrivate::acceptPay()
{
    const int length = characterCount(cardNumberTextField->text());
    if (length <= 18) {
        debugLog(QStringLiteral("Enter a 16 Digit Card Number"));
        debugLog(QString::number(length));
        return false;
    }
    debugLog(QString::number(length));
    return true;
}

QList<FormField> cardViewControllerPrivate::methodFields() const
{
    return {{QStringLiteral("card_number"), cardNumberWithoutSpaces},
            {QStringLiteral("card_holder"), cardHolderNameTextField->text()},
            {QStringLiteral("card_expiryMonth"), cardExpiryMonthTextField->text()},
            // The form carries a four-digit year.
            {QStringLiteral("card_expiryYear"), QStringLiteral("20") + cardExpiryYearTextField->text()},
            {QStringLiteral("card_cvv"), cardCvcTextField->text()}};
}

void cardViewControllerPrivate::keepResult(const QString &result)
{
    transactionResultCard = result;
}

void cardViewControllerPrivate::expiryFieldChanged(QLineEdit *textField, QLineEdit *nextField, const QString &fieldName)
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

cardViewController::cardViewController()
    : PaymentScreen(*new cardViewControllerPrivate)
{
}

cardViewController::~cardViewController() = default;

QString cardViewController::paymentToken_config() const { return d_func()->checkout.paymentReady_global; }
std::optional<QString> cardViewController::transactionResultCard() const { return d_func()->transactionResultCard; }
QString cardViewController::cardNumberWithoutSpaces() const { return d_func()->cardNumberWithoutSpaces; }
std::optional<QString> cardViewController::previousTextFieldContent() const { return d_func()->previousTextFieldContent; }

std::optional<std::pair<int, int>> cardViewController::previousSelection() const
{
    const std::optional<TextRange> &selection = d_func()->previousSelection;
    if (!selection)
        return std::nullopt;
    return std::pair{selection->start, selection->length};
}

bool cardViewController::textFieldShouldReturn(QLineEdit *)
{
    return true;
}

void cardViewController::reformatAsCardNumber(QLineEdit *textField)
{
    Q_D(cardViewController);
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
    Q_D(cardViewController);
    d->expiryFieldChanged(textField, d->cardExpiryYearTextField, QStringLiteral("Expiry Month"));
}

void cardViewController::textFieldDidChangeToCvc(QLineEdit *textField)
{
    Q_D(cardViewController);
    d->expiryFieldChanged(textField, d->cardCvcTextField, QStringLiteral("Expiry Year"));
}

void cardViewController::payAction(QAbstractButton *)
{
    d_func()->payAction();
}

void cardViewController::hideCardPaymentInputs()
{
    d_func()->setPaymentPageShown(true);
}

void cardViewController::showCardPaymentInputs()
{
    d_func()->setPaymentPageShown(false);
}

} // namespace pelbrook
