#pragma once

#include <pelbrook/upiViewController.h>

#include "core/PaymentScreen_p.h"
#include "theme/LogoTileGrid.h"

#include <optional>

class QListView;

namespace pelbrook {

/// The UPI screen's own views and choices, and its part in the shared flow.
class upiViewControllerPrivate : public PaymentScreenPrivate
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
    QListView *bankPicker = nullptr;
    QWidget *toolbar = nullptr;

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

    /// The buyer chose the app of row @p item.
    void didSelectItem(int item);

    // What the handle list shows, asked once as it is made: a row per handle, its name (what a
    // screen reader says), the logo it shows instead of the name, and its height.
    int numberOfRows() const;
    QString titleForRow(int row) const;
    QImage viewForRow(int row) const;
    int rowHeight() const;
    /// The buyer settled on @p row: by a click or a tap, or by the arrows from the handle field.
    void didSelectRow(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace pelbrook
