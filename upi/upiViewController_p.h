#pragma once

#include <pelbrook/upiViewController.h>

#include "core/PaymentScreen_p.h"
#include "platform/PickerView.h"
#include "theme/LogoTileGrid.h"

#include <optional>

namespace pelbrook {

class Toolbar;

/// The UPI screen's own views and choices, and its part in the shared flow.
class upiViewControllerPrivate : public PaymentScreenPrivate, public PickerViewDataSource
{
    Q_DECLARE_PUBLIC(upiViewController)
public:
    upiViewControllerPrivate();
    void makeInputs() override;

    static inline const QString upiCellId = QStringLiteral("upiCell");
    /// The handles offered for "tez", in list order.
    static const QStringList &bankPostfix();

    QLabel *upiChooseLabel = nullptr;
    QLabel *upiLabel = nullptr;
    QLabel *userMessageLabelUpi = nullptr;
    QLineEdit *upiVpaTextField = nullptr;
    QLineEdit *upiPostFixTextField = nullptr;
    LogoTileGrid *upiCollection = nullptr;
    PickerView *bankPicker = nullptr;
    Toolbar *toolbar = nullptr;

    QStringList upiArray{QStringLiteral("tez"), QStringLiteral("others")};
    QStringList upiArrayHighlighted{QStringLiteral("tez_h"), QStringLiteral("others_h")};
    std::optional<QString> upi_code;
    std::optional<QString> selectedBank;
    QString upi_vpa;
    QString upi_postfix;
    /// The address field's place when the handle field is not beside it.
    QRect addressFieldFrame;

    // The screen's own steps of the view build.
    void initUpi();
    void createBankPicker();
    void createToolbar();
    void setupUpiCollection(double H);
    /// Shortens the address field to make room for the handle field while that is shown.
    void fitAddressBesideHandle();

    static QImage returnImage(const QString &name);
    static QImage returnImageHighlighted(const QString &name);
    static QImage returnImageUiPicker(const QString &name);

    // Defined with the rest of the UPI screen's geometry.
    void prepareInputs() override;
    void layOutInputs(double W, double H) override;
    void viewsResolved() override;

    void viewBuilt() override;
    QList<QWidget *> paymentInputs() const override;
    QList<QLineEdit *> textFields() const override;
    void readInputs() override;
    bool acceptPay() override;
    void prepareMethodFields() override;
    QList<FormField> methodFields() const override;
    void enteringPaymentPage() override;
    void handBackArrived() override;

    /// The buyer chose the app of row @p item.
    void didSelectItem(int item);

    int numberOfRows(PickerView *picker) override;
    QString titleForRow(PickerView *picker, int row) override;
    QWidget *viewForRow(PickerView *picker, int row) override;
    int rowHeight(PickerView *picker) override;
    void didSelectRow(PickerView *picker, int row) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace pelbrook
