#include "netbanking/BankRows.h"

namespace pelbrook {

void BankRows::append(QStringView name, QStringView code)
{
    m_rows.append({m_text.size(), int(name.size()), int(code.size())});
    m_text.append(name);
    m_text.append(code);
}

void BankRows::append(const BankRows &other)
{
    const qsizetype shift = m_text.size();
    m_text.append(other.m_text);
    m_rows.reserve(m_rows.size() + other.m_rows.size());
    for (Row row : other.m_rows) {
        row.start += shift;
        m_rows.append(row);
    }
}

void BankRows::reserve(qsizetype banks, qsizetype characters)
{
    m_rows.reserve(banks);
    m_text.reserve(characters);
}

void BankRows::squeeze()
{
    m_text.squeeze();
    m_rows.squeeze();
}

QStringView BankRows::name(qsizetype row) const
{
    const Row &r = m_rows.at(row);
    return QStringView(m_text).mid(r.start, r.nameLength);
}

QStringView BankRows::code(qsizetype row) const
{
    const Row &r = m_rows.at(row);
    return QStringView(m_text).mid(r.start + r.nameLength, r.codeLength);
}

MyStruct BankRows::at(qsizetype row) const
{
    return MyStruct(name(row).toString(), code(row).toString());
}

QList<MyStruct> BankRows::toList() const
{
    QList<MyStruct> list;
    list.reserve(m_rows.size());
    for (qsizetype row = 0; row < m_rows.size(); ++row)
        list.append(at(row));
    return list;
}

} // namespace pelbrook
