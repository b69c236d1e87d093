#pragma once

#include <pelbrook/cardViewController.h>

#include "core/PaymentScreen_p.h"
#include "platform/ui/TextFieldObserver.h"

#include <optional>

namespace pelbrook {

/// The card screen's own views and editing state, and its part in the shared flow.
class cardViewControllerPrivate : public PaymentScreenPrivate
{
    Q_DECLARE_PUBLIC(cardViewController)
public:
    cardViewControllerPrivate();
    void makeInputs() override;

    QLabel *cardNumberLabel = nullptr;
    QLabel *cardExpiryLabel = nullptr;
    QLabel *cardCvcLabel = nullptr;
    QLineEdit *cardNumberTextField = nullptr;
    QLineEdit *cardHolderNameTextField = nullptr;
    QLineEdit *cardExpiryMonthTextField = nullptr;
    QLineEdit *cardExpiryYearTextField = nullptr;
    QLineEdit *cardCvcTextField = nullptr;

    std::optional<QString> previousTextFieldContent;
    std::optional<TextRange> previousSelection;
    QString cardNumberWithoutSpaces;

    // Defined with the rest of the card screen's geometry.
    void prepareInputs() override;
    void layOutInputs(double W, double H) override;
    void layOutPayButton(double W, double H) override;

    void viewBuilt() override;
    QList<QWidget *> paymentInputs() const override;
    QList<QLineEdit *> textFields() const override;
    bool acceptPay() override;
    QList<FormField> methodFields() const override;

    void expiryFieldChanged(QLineEdit *textField, QLineEdit *nextField, const QString &fieldName);
    /// Reads the card number field as if typed when its text was set some other way.
    void readCardNumberSetByOthers();
    bool cardNumberReadQueued = false;
    void readInputs() override;
    /// The card checks made only when the buyer is shown hints; each refusal logs and shows why.
    bool acceptCardDetails();

    /// The field the expiry fields last moved the focus to, until the buyer types there or
    /// leaves it.
    QLineEdit *autoAdvancedTo = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace pelbrook
