// The card screen's geometry: each of its own elements' frame and the relations it asks for,
// computed afresh from the layout area on every pass. The labels and the number field keep
// their frames; the holder name, expiry and CVV views and the pay button are placed by the
// relations the resolver keeps (many of them cannot all hold). The header and the logos are
// laid out with every screen's.

#include "card/cardViewController_p.h"
#include "theme/Layout.h"

#include <QRegularExpressionValidator>

#include <cmath>

namespace pelbrook {

void cardViewControllerPrivate::prepareInputs()
{
    // A touch screen's keyboard shows digits only, and learns neither the number nor the CVV.
    // Added to what the fields ask already: the CVV's hidden echo asks to be kept out of it too.
    for (QLineEdit *numeric : {cardNumberTextField, cardExpiryMonthTextField, cardExpiryYearTextField, cardCvcTextField})
        numeric->setInputMethodHints(numeric->inputMethodHints() | Qt::ImhDigitsOnly);
    // Like the number pad, the expiry and CVV fields take digits only: a letter or a space, typed
    // or pasted, is refused before it counts toward anything (the move to the next field, the
    // pay checks, the form). The card number keeps only the digits of whatever it is given.
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    for (QLineEdit *numeric : {cardExpiryMonthTextField, cardExpiryYearTextField, cardCvcTextField})
        numeric->setValidator(new QRegularExpressionValidator(digits, numeric));
    for (QLineEdit *secret : {cardNumberTextField, cardCvcTextField})
        secret->setInputMethodHints(secret->inputMethodHints() | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    for (QLineEdit *field : textFields())
        setRoundedBorder(field, field != cardExpiryYearTextField);
}

void cardViewControllerPrivate::layOutInputs(double W, double H)
{
    QWidget *root = area();
    setFrame(cardNumberLabel, QRectF(20, H / 4.77, W / 1.3, 17.5));
    addTo(scrollContent, cardNumberLabel);
    setFrame(cardNumberTextField, QRectF(19, H / 3.85, W / 1.14, 45));
    addTo(scrollContent, cardNumberTextField);

    setFrame(cardHolderNameTextField, QRectF(19, 288, std::trunc(W / 1.14), 45));
    addTo(scrollContent, cardHolderNameTextField);
    setAnchor(cardHolderNameTextField, topAnchor(cardNumberTextField), leftAnchor(root),
              bottomAnchor(cardHolderNameTextField), rightAnchor(root), 65, 20, 20, 20, 350, 45);
    setFrame(cardExpiryLabel, QRectF(19, H / 2.75, W / 1.3, 17.5));
    addTo(scrollContent, cardExpiryLabel);
    setAnchor(cardExpiryLabel, topAnchor(cardHolderNameTextField), leftAnchor(root), bottomAnchor(cardExpiryLabel),
              rightAnchor(root), 55, 20, 20, 20, 200, 25);
    setFrame(cardCvcLabel, QRectF(332, 329, 86, 21));
    addTo(scrollContent, cardCvcLabel);
    setAnchor(cardCvcLabel, topAnchor(cardHolderNameTextField), leftAnchor(root), bottomAnchor(cardCvcLabel),
              rightAnchor(root), 55, W / 1.19, 20, 20, 150, 25);
    setFrame(cardExpiryMonthTextField, QRectF(16, 358, 45, 45));
    addTo(scrollContent, cardExpiryMonthTextField);
    setAnchor(cardExpiryMonthTextField, topAnchor(cardExpiryLabel), leftAnchor(root),
              bottomAnchor(cardExpiryMonthTextField), rightAnchor(cardExpiryMonthTextField), 28, 20, 20, 20, 45, 45);
    setFrame(cardExpiryYearTextField, QRectF(68, 358, 45, 45));
    addTo(scrollContent, cardExpiryYearTextField);
    setAnchor(cardExpiryYearTextField, topAnchor(cardExpiryLabel), leftAnchor(root),
              bottomAnchor(cardExpiryYearTextField), rightAnchor(cardExpiryMonthTextField), 28, 80, 20, 20, 45, 45);
    // W / 0.52 is almost twice W: the left edge it asks for lies far outside the view, so the
    // field ends at the right edge and the CVV label, which ends there too, stays above it.
    setFrame(cardCvcTextField, QRectF(328, 358, 130, 45));
    addTo(scrollContent, cardCvcTextField);
    setAnchor(cardCvcTextField, topAnchor(cardCvcLabel), leftAnchor(cardExpiryYearTextField),
              bottomAnchor(cardCvcTextField), rightAnchor(root), 28, W / 0.52, 20, 20, 130, 45);
}

void cardViewControllerPrivate::layOutPayButton(double W, double H)
{
    QWidget *root = area();
    setFrame(payButton, QRectF(25, std::trunc(H / 1.82), std::trunc(W), 50));
    addTo(scrollContent, payButton);
    setAnchor(payButton, topAnchor(cardExpiryMonthTextField), leftAnchor(root), bottomAnchor(payButton),
              rightAnchor(root), 60, 20, 0, 20, W, 50);
}

} // namespace pelbrook
