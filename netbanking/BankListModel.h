#pragma once

#include "netbanking/BankRows.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>

namespace pelbrook {

/**
 * The bank list as rows: the name to show and to announce, the code, and the bank's logo,
 * looked up by code from the library's images only when a row is drawn, and kept.
 */
class BankListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { CodeRole = Qt::UserRole + 1 };

    explicit BankListModel(QObject *parent = nullptr);

    const BankRows &banks() const { return m_banks; }
    /// Appends @p banks and reloads every row, in one step.
    void appendAndReload(const BankRows &banks);

    /// How many codes have had their logo looked up so far.
    qsizetype logosLookedUp() const { return m_logos.size(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QImage logo(const QString &code) const;

    BankRows m_banks;
    mutable QHash<QString, QImage> m_logos;
};

} // namespace pelbrook
