// Searches what a test run wrote (its log, the demo's output folder) for what must never be
// written anywhere: card numbers and payment tokens. A card number is 13 to 19 digits starting
// with 2 to 6 (the card networks' ranges), alone or grouped by single spaces, dashes or plus
// signs, and possibly next to other digits, that pass the Luhn check, as every test card number
// does; a token is what the sandbox issues ("sbx_" and its digest).
//
// Usage: search_secrets FILE_OR_FOLDER...
// Prints each find with its file and line. Exits 1 on a find, 2 when nothing could be read.

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

namespace {

bool passesLuhn(const QString &digits)
{
    int sum = 0;
    bool twice = false;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        int d = digits.at(i).digitValue();
        if (twice && (d *= 2) > 9)
            d -= 9;
        sum += d;
        twice = !twice;
    }
    return sum % 10 == 0;
}

// Whether some 13 to 19 consecutive digits of @p digits, starting with 2 to 6, pass the check.
bool containsCardNumber(const QString &digits)
{
    for (qsizetype start = 0; start + 13 <= digits.size(); ++start) {
        if (digits.at(start) < QLatin1Char('2') || digits.at(start) > QLatin1Char('6'))
            continue;
        for (qsizetype length = 13; length <= 19 && start + length <= digits.size(); ++length) {
            if (passesLuhn(digits.mid(start, length)))
                return true;
        }
    }
    return false;
}

// Returns the number of finds in one file, or -1 when it cannot be read.
int searchFile(const QString &path, qint64 &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray content = file.readAll();
    // Images and other binary files hold no text to search.
    if (content.left(4096).contains('\0'))
        return 0;
    bytes += content.size();
    // Runs of digits, grouped or not: a number may sit next to other digits (a CVV, an expiry
    // date), so every stretch of 13 to 19 of a run's digits is tried, not only the whole run.
    static const QRegularExpression digitRun(QStringLiteral("[0-9](?:[ +-]?[0-9])*"));
    static const QRegularExpression token(QStringLiteral("sbx_[0-9a-f]{16,}"));
    int finds = 0;
    const QList<QByteArray> lines = content.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines.at(n));
        QStringList found;
        for (const QRegularExpressionMatch &m : digitRun.globalMatch(line)) {
            QString digits = m.captured();
            digits.removeIf([](QChar c) { return !c.isDigit(); });
            if (containsCardNumber(digits))
                found << QStringLiteral("a card number");
        }
        if (token.match(line).hasMatch())
            found << QStringLiteral("a payment token");
        for (const QString &what : found)
            std::printf("%s:%lld: %s\n", qPrintable(path), qlonglong(n + 1), qPrintable(what));
        finds += int(found.size());
    }
    return finds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int finds = 0;
    qint64 bytes = 0;
    for (const QString &argument : app.arguments().mid(1)) {
        QStringList files;
        if (QFileInfo(argument).isDir()) {
            QDirIterator it(argument, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << argument;
        }
        for (const QString &file : files) {
            const int n = searchFile(file, bytes);
            if (n < 0)
                std::printf("%s: cannot be read\n", qPrintable(file));
            else
                finds += n;
        }
    }
    std::printf("searched %lld bytes: %d finds\n", bytes, finds);
    if (bytes == 0)
        return 2;
    return finds == 0 ? 0 : 1;
}
