#include <pelbrook/cardViewController.h>

#include "card/CardNumberFormatter.h"
#include "card/cardViewController_p.h"
#include "platform/DebugLog_p.h"
#include "platform/ui/ViewController_p.h"

#include <QDate>
#include <QKeyEvent>
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

bool isDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The Luhn check digit: catches a mistyped digit and most swapped neighbours before the
// gateway has to.
bool passesLuhn(const QString &digits)
{
    int sum = 0;
    bool doubled = false;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digits.at(i).digitValue();
        if (doubled && (d *= 2) > 9)
            d -= 9;
        sum += d;
        doubled = !doubled;
    }
    return !digits.isEmpty() && sum % 10 == 0;
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
        t.rootViewPaddings = QMarginsF(0, 0, 0, 0);
        t.overlayBeforePaymentPage = true;
        t.webViewPaddings = QMarginsF(0, 20, 0, 0);
        return t;
    }();
    return traits;
}

} // namespace

cardViewControllerPrivate::cardViewControllerPrivate()
    : PaymentScreenPrivate(cardTraits())
{
}

void cardViewControllerPrivate::makeInputs()
{
    cardNumberLabel = makeLabel("cardNumberLabel", cardViewController::tr("Please enter card details to proceed"), 13);
    cardExpiryLabel = makeLabel("cardExpiryLabel", cardViewController::tr("Expiry"), 13);
    cardCvcLabel = makeLabel("cardCvcLabel", cardViewController::tr("CVV"), 13);
    cardNumberTextField = makeTextField("cardNumberTextField", cardViewController::tr("Enter Card Number"));
    cardHolderNameTextField = makeTextField("cardHolderNameTextField", cardViewController::tr("Enter Card Holder Name"));
    //: Two-digit expiry month, in a field two digits wide; cards print the expiry as MM/YY.
    cardExpiryMonthTextField = makeTextField("cardExpiryMonthTextField", cardViewController::tr("MM"));
    //: Two-digit expiry year, in a field two digits wide; cards print the expiry as MM/YY.
    cardExpiryYearTextField = makeTextField("cardExpiryYearTextField", cardViewController::tr("YY"));
    cardCvcTextField = makeTextField("cardCvcTextField", cardViewController::tr("CVV"));
    cardCvcTextField->setEchoMode(QLineEdit::Password);
    // "MM" and "YY" show what to type; read out, they would not say which field this is.
    cardExpiryMonthTextField->setAccessibleName(cardViewController::tr("Expiry month"));
    cardExpiryYearTextField->setAccessibleName(cardViewController::tr("Expiry year"));
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
        QObject::connect(field, &QLineEdit::textEdited, q, [this, field]() {
            if (autoAdvancedTo == field)
                autoAdvancedTo = nullptr;
            inputHint.clear();
        });
        if (field == cardNumberTextField) {
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::reformatAsCardNumber);
            // Assistive technology and automation tools set the text without typing it; once
            // such a change has settled, the field is read as if typed, so the number paid
            // with is always the number shown.
            // A pay press reads it at once too (readInputs()).
            QObject::connect(field, &QLineEdit::textChanged, q, [this, q, field]() {
                // One read for all the changes of a turn (a typed digit changes the text twice).
                if (cardNumberReadQueued)
                    return;
                cardNumberReadQueued = true;
                // Dropped with the field; the screen may go while the field stays.
                QMetaObject::invokeMethod(field, [this, screen = QPointer<cardViewController>(q)]() {
                    if (!screen)
                        return;
                    cardNumberReadQueued = false;
                    readCardNumberSetByOthers();
                }, Qt::QueuedConnection);
            });
        }
        else if (field == cardExpiryMonthTextField)
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::textFieldDidChangeToExpiry);
        else if (field == cardExpiryYearTextField)
            QObject::connect(observer, &TextFieldObserver::editingChanged, q, &cardViewController::textFieldDidChangeToCvc);
    }
    // The fields the expiry fields move the focus to.
    cardExpiryYearTextField->installEventFilter(this);
    cardCvcTextField->installEventFilter(this);
}

bool cardViewControllerPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != cardExpiryYearTextField && watched != cardCvcTextField)
        return PaymentScreenPrivate::eventFilter(watched, event);
    if (watched != autoAdvancedTo)
        return false;
    if (event->type() == QEvent::FocusOut) {
        autoAdvancedTo = nullptr;
    } else if (event->type() == QEvent::KeyPress) {
        // A keyboard user types "12", Tab, "30" out of habit: the Tab would take the focus one
        // field past where the automatic move already put it, and the year would land in the
        // CVV. One Tab is forgiven; a second one moves on as usual.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            autoAdvancedTo = nullptr;
            return true;
        }
    }
    return false;
}

bool cardViewControllerPrivate::acceptPay()
{
    const int length = characterCount(cardNumberTextField->text());
    if (length <= 18) {
        debugLog(QStringLiteral("Enter a 16 Digit Card Number"));
        debugLog(QString::number(length));
        inputHint.show(cardViewController::tr("Enter a 16 Digit Card Number"));
        return false;
    }
    debugLog(QString::number(length));
    return !inputHint.isEnabled() || acceptCardDetails();
}

bool cardViewControllerPrivate::acceptCardDetails()
{
    // The log says which check failed, never the number or the CVV themselves.
    const auto refuse = [this](const char *logLine, const QString &hint) {
        debugLog(QLatin1String(logLine));
        inputHint.show(hint);
        return false;
    };
    if (!passesLuhn(cardNumberWithoutSpaces))
        return refuse("Card number fails its check digit.", cardViewController::tr("Check the card number"));

    const QString month = cardExpiryMonthTextField->text();
    const int monthNumber = month.toInt();
    if (month.size() != 2 || !isDigits(month) || monthNumber < 1 || monthNumber > 12)
        return refuse("Expiry month is not 01 to 12.", cardViewController::tr("Enter a valid expiry month"));
    const QString year = cardExpiryYearTextField->text();
    if (year.size() != 2 || !isDigits(year))
        return refuse("Expiry year is not two digits.", cardViewController::tr("Enter a valid expiry year"));
    // A card is good to the end of its expiry month; the form sends the year as "20" + YY.
    const QDate today = QDate::currentDate();
    if ((2000 + year.toInt()) * 12 + monthNumber < today.year() * 12 + today.month())
        return refuse("Expiry date is in the past.", cardViewController::tr("This card has expired"));

    const QString cvv = cardCvcTextField->text();
    if (cvv.size() < 3 || cvv.size() > 4 || !isDigits(cvv))
        return refuse("CVV is not 3 or 4 digits.", cardViewController::tr("Enter the 3 or 4 digit CVV"));
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

void cardViewControllerPrivate::expiryFieldChanged(QLineEdit *textField, QLineEdit *nextField, const QString &fieldName)
{
    const int length = characterCount(textField->text());
    if (length == 2) {
        nextField->setFocus(Qt::OtherFocusReason);
        // After the move: the field left behind loses the focus first.
        autoAdvancedTo = nextField;
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
std::optional<QString> cardViewController::transactionResultCard() const { return d_func()->session.result(); }
QString cardViewController::cardNumberWithoutSpaces() const { return d_func()->cardNumberWithoutSpaces; }
std::optional<QString> cardViewController::previousTextFieldContent() const { return d_func()->previousTextFieldContent; }

std::optional<std::pair<int, int>> cardViewController::previousSelection() const
{
    const std::optional<TextRange> &selection = d_func()->previousSelection;
    if (!selection)
        return std::nullopt;
    return std::pair{selection->start, selection->length};
}

void cardViewControllerPrivate::readCardNumberSetByOthers()
{
    int cursor = -1;
    const QString shownBefore = CardNumberFormatter::insertCreditCardSpaces(cardNumberWithoutSpaces, cursor);
    if (cardNumberTextField->text() != shownBefore) {
        // Read as one edit from what the field showed before.
        previousTextFieldContent = shownBefore;
        previousSelection.reset();
        q_func()->reformatAsCardNumber(cardNumberTextField);
    }
}

void cardViewControllerPrivate::readInputs()
{
    readCardNumberSetByOthers();
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
    const bool changed = d->cardNumberWithoutSpaces != digits;
    d->cardNumberWithoutSpaces = digits;
    const QString grouped = CardNumberFormatter::insertCreditCardSpaces(digits, cursor);
    textField->setText(grouped);
    if (cursor >= 0 && cursor <= grouped.size())
        textField->setCursorPosition(cursor);
    // Announced once the field shows the grouped number.
    if (changed)
        Q_EMIT cardNumberWithoutSpacesChanged();
}

void cardViewController::textFieldDidChangeToExpiry(QLineEdit *textField)
{
    // What these make (the views of a screen not shown yet, a hint) reads in its language.
    const LanguageScope language(screenLanguage(this));
    Q_D(cardViewController);
    d->makeViews();
    d->expiryFieldChanged(textField, d->cardExpiryYearTextField, QStringLiteral("Expiry Month"));
}

void cardViewController::textFieldDidChangeToCvc(QLineEdit *textField)
{
    const LanguageScope language(screenLanguage(this));
    Q_D(cardViewController);
    d->makeViews();
    d->expiryFieldChanged(textField, d->cardCvcTextField, QStringLiteral("Expiry Year"));
}

void cardViewController::payAction(QAbstractButton *)
{
    const LanguageScope language(screenLanguage(this));
    d_func()->payAction();
}

void cardViewController::hideCardPaymentInputs()
{
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(true);
}

void cardViewController::showCardPaymentInputs()
{
    const LanguageScope language(screenLanguage(this));
    d_func()->setPaymentPageShown(false);
}

} // namespace pelbrook
