#pragma once

#include <pelbrook/netBankingViewController.h>

#include <QList>
#include <QString>

namespace pelbrook {

/**
 * Banks held compactly: every name and code in one string, and one small record a bank. A
 * list of a hundred thousand banks then takes about as much memory as its document, where a
 * pair of strings a bank would take three times as much.
 */
class BankRows
{
public:
    void append(QStringView name, QStringView code);
    /// Appends every bank of @p other, in order.
    void append(const BankRows &other);
    void reserve(qsizetype banks, qsizetype characters);
    /// Gives back the room reserved and not used.
    void squeeze();

    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    QStringView name(qsizetype row) const;
    QStringView code(qsizetype row) const;
    MyStruct at(qsizetype row) const;
    QList<MyStruct> toList() const;

private:
    struct Row {
        qsizetype start;
        int nameLength;
        int codeLength;
    };
    QString m_text;
    QList<Row> m_rows;
};

} // namespace pelbrook
