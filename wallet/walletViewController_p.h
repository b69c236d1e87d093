#pragma once

#include <pelbrook/walletViewController.h>

#include "core/PaymentScreen_p.h"
#include "theme/LogoTileGrid.h"

#include <optional>

namespace pelbrook {

/// The wallet screen's own views and choice, and its part in the shared flow.
class walletViewControllerPrivate : public PaymentScreenPrivate
{
    Q_DECLARE_PUBLIC(walletViewController)
public:
    walletViewControllerPrivate();
    void makeInputs() override;

    static inline const QString walletCellId = QStringLiteral("walletCell");

    /// The gateway's code for a wallet key; "3333" for a key it does not know.
    static QString walletCode(const QString &key);

    QLabel *userMessageLabel = nullptr;
    LogoTileGrid *walletCollection = nullptr;
    QStringList walletArray;
    QStringList walletArrayHighlighted;
    std::optional<QString> wallet_code;

    static QImage returnImage(const QString &name);
    static QImage returnImageHighlighted(const QString &name);

    // Defined with the rest of the wallet screen's geometry.
    void prepareInputs() override;
    void layOutInputs(double W, double H) override;
    void layOutLists(double W, double H) override;
    void viewsResolved() override;
    void setupWalletCollection(double H);

    QList<QWidget *> paymentInputs() const override;
    bool acceptPay() override;
    QList<FormField> methodFields() const override;

    /// The buyer chose the wallet of row @p item.
    void didSelectItem(int item);
};

} // namespace pelbrook
