#pragma once

#include <pelbrook/netBankingViewController.h>

#include "core/PaymentScreen_p.h"

#include <QListView>

#include <optional>

namespace pelbrook {

class BankListModel;
class BankRows;

/// The net banking screen's own views, its bank list and choice, and its part in the shared flow.
class netBankingViewControllerPrivate : public PaymentScreenPrivate
{
    Q_DECLARE_PUBLIC(netBankingViewController)
public:
    /// A bank list document larger than this is treated as no answer at all: a broken or
    /// hostile server must not be able to fill the host's memory.
    static constexpr qint64 MaximumListBytes = 8 * 1024 * 1024;
    /// The list may be long, and the network slow, but the download ends within this.
    static constexpr int ListDeadlineMs = 60 * 1000;

    netBankingViewControllerPrivate();
    void makeInputs() override;

    QLabel *userMessageLabel = nullptr;
    QListView *netbankingTable = nullptr;
    BankListModel *model;
    std::optional<QString> nb_code;

    /// Starts the download of the bank list document; returns at once.
    void get_data(const QUrl &url);
    /// Reads a downloaded document (none when the download failed) into the list.
    void extract_data(const std::optional<QByteArray> &body);
    /// Appends the banks read and reloads the table, in one step.
    void refresh_now(const BankRows &banks);
    /// The buyer chose the bank in @p row.
    void didSelectRow(int row);

    // Defined with the rest of the net banking screen's geometry.
    void layOutInputs(double W, double H) override;
    void layOutLists(double W, double H) override;
    void viewsResolved() override;

    void viewBuilt() override;
    QList<QWidget *> paymentInputs() const override;
    bool acceptPay() override;
    QList<FormField> methodFields() const override;
};

} // namespace pelbrook
