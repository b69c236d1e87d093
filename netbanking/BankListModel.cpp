#include "netbanking/BankListModel.h"

#include "platform/Resources.h"

namespace pelbrook {

BankListModel::BankListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void BankListModel::appendAndReload(const BankRows &banks)
{
    beginResetModel();
    m_banks.append(banks);
    endResetModel();
}

int BankListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_banks.size());
}

QVariant BankListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_banks.size())
        return {};
    const qsizetype row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return m_banks.name(row).toString();
    case Qt::DecorationRole:
        return logo(m_banks.code(row).toString());
    case CodeRole:
        return m_banks.code(row).toString();
    default:
        return {};
    }
}

QImage BankListModel::logo(const QString &code) const
{
    // Looked up once per code, missing ones included: a long list draws the same rows often.
    auto found = m_logos.constFind(code);
    if (found == m_logos.cend())
        found = m_logos.insert(code, libraryImage(code));
    return *found;
}

} // namespace pelbrook
