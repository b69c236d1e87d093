#pragma once

#include <pelbrook/walletViewController.h>

#include "core/PaymentScreen_p.h"
#include "platform/CollectionView.h"

#include <optional>

namespace pelbrook {

/// The wallet screen's own views and choice, and its part in the shared flow.
class walletViewControllerPrivate : public PaymentScreenPrivate, public CollectionViewDataSource
{
    Q_DECLARE_PUBLIC(walletViewController)
public:
    walletViewControllerPrivate();

    static inline const QString walletCellId = QStringLiteral("walletCell");

    /// The gateway's code for a wallet key; "3333" for a key it does not know.
    static QString walletCode(const QString &key);

    QLabel *userMessageLabel;
    CollectionView *walletCollection;
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

    int numberOfItems(CollectionView *view) override;
    CollectionViewCell *cellForItem(CollectionView *view, int item) override;
    std::optional<QSizeF> sizeForItem(CollectionView *view, int item) override;
    void didSelectItem(CollectionView *view, int item) override;
};

} // namespace pelbrook
