#pragma once

#include "platform/BrowserView.h"
#include "platform/Button.h"
#include "platform/ImageView.h"
#include "platform/TextFieldObserver.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

#include <memory>
#include <optional>

namespace pelbrook {

/// The card screen's elements and editing state. The elements are made with the screen and
/// wait in `pending` until the screen's view is built.
class cardViewControllerPrivate
{
public:
    cardViewControllerPrivate();

    std::unique_ptr<QWidget> pending;
    QScrollArea *scrollViewCard;
    QWidget *scrollContent;
    QWidget *orderBg;
    QLabel *merchNameLabel;
    QLabel *orderIdStaticLabel;
    QLabel *orderAmountStaticLabel;
    QLabel *orderIdLabel;
    QLabel *orderAmountLabel;
    QLabel *cardNumberLabel;
    QLabel *cardExpiryLabel;
    QLabel *cardCvcLabel;
    ImageView *pelbrookLogo;
    ImageView *merchantLogo;
    QLineEdit *cardNumberTextField;
    QLineEdit *cardHolderNameTextField;
    QLineEdit *cardExpiryMonthTextField;
    QLineEdit *cardExpiryYearTextField;
    QLineEdit *cardCvcTextField;
    BrowserView *cardWebView;
    Button *cardPayButton;

    std::optional<QString> transactionResultCard;
    std::optional<QString> previousTextFieldContent;
    std::optional<TextRange> previousSelection;
    QString cardNumberWithoutSpaces;

    /// What the payment page replaces, in the order it is switched. The merchant name and the
    /// order labels stay.
    QList<QWidget *> paymentInputs() const
    {
        return {cardNumberTextField, cardHolderNameTextField, cardExpiryMonthTextField, cardExpiryYearTextField,
                cardCvcTextField, cardPayButton, cardNumberLabel, cardExpiryLabel, cardCvcLabel, pelbrookLogo, orderBg};
    }

    QList<QLineEdit *> textFields() const
    {
        return {cardNumberTextField, cardHolderNameTextField, cardExpiryMonthTextField, cardExpiryYearTextField, cardCvcTextField};
    }
};

/// Gives every element of the card screen its frame and relations, for a root view W x H.
void layOutCardScreen(cardViewControllerPrivate &views, QWidget *root, double W, double H);

} // namespace pelbrook
