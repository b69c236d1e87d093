// How fast the card number field reacts to typing: one keystroke (press and release, then the
// field's repaint) in the checkout's card number field, which reformats every change, against
// a bare QLineEdit with no handler in a window of the same size; and the pure formatter alone.
//
// Usage: bench_typing [numbers typed, default 200]
// Prints the median over every keystroke of the run for each field, and the formatter's time
// per 19-digit number.

#include "BenchOrder.h"
#include "Measure.h"

#include "card/CardNumberFormatter.h"

#include <pelbrook/PGTabBarViewController.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace pelbrook;

namespace {

const QString Digits = QStringLiteral("4111111111111111234"); // 19 digits

// Types the 19 digits @p numbers times into @p field; the time of each keystroke in microseconds.
std::vector<double> typeInto(QLineEdit *field, int numbers)
{
    std::vector<double> samples;
    field->setFocus();
    for (int n = 0; n < numbers; ++n) {
        field->clear();
        for (const QChar digit : Digits) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit.digitValue(), Qt::NoModifier, QString(digit));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + digit.digitValue(), Qt::NoModifier, QString(digit));
            const qint64 start = bench::nowNs();
            QApplication::sendEvent(field, &press);
            QApplication::sendEvent(field, &release);
            field->repaint();
            samples.push_back(double(bench::nowNs() - start) / 1e3);
        }
    }
    return samples;
}

// The whole reformat of one change: the field's text after the 19th digit was typed, to digits
// and back to groups, with the cursor carried through.
double formatterNanoseconds()
{
    constexpr int Rounds = 1000000;
    const QString typed = QStringLiteral("4111 1111 1111 1111 234");
    int sink = 0;
    const qint64 start = bench::nowNs();
    for (int i = 0; i < Rounds; ++i) {
        int cursor = int(typed.size()) - (i & 7);
        const QString digits = CardNumberFormatter::removeNonDigits(typed, cursor);
        const QString grouped = CardNumberFormatter::insertCreditCardSpaces(digits, cursor);
        sink += cursor + int(grouped.size());
    }
    const double ns = double(bench::nowNs() - start) / Rounds;
    if (sink == 42) // keeps the loop from being optimised away
        std::printf(" ");
    return ns;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int numbers = argc > 1 ? qMax(1, std::atoi(argv[1])) : 200;
    bench::silenceLibraryLog();

    PGTabBarViewController container;
    bench::presentCheckout(container, QStringLiteral("BENCH1"));
    bench::runEventsFor(200);
    auto *cardNumber = container.findChild<QLineEdit *>(QStringLiteral("cardNumberTextField"));
    if (!cardNumber)
        return 1;

    QWidget bareWindow;
    bareWindow.resize(390, 844);
    auto *bare = new QLineEdit(&bareWindow);
    bare->setGeometry(cardNumber->geometry());
    bare->setFont(cardNumber->font());
    bareWindow.show();
    bench::waitUntilExposed(&bareWindow);

    // Alternating, so neither field has the machine to itself for longer.
    std::vector<double> checkoutSamples, bareSamples;
    for (int round = 0; round < 4; ++round) {
        container.activateWindow();
        const std::vector<double> c = typeInto(cardNumber, numbers / 4 + 1);
        checkoutSamples.insert(checkoutSamples.end(), c.begin(), c.end());
        bareWindow.activateWindow();
        const std::vector<double> b = typeInto(bare, numbers / 4 + 1);
        bareSamples.insert(bareSamples.end(), b.begin(), b.end());
    }
    if (cardNumber->text() != QStringLiteral("4111 1111 1111 1111 234")) {
        std::fprintf(stderr, "bench_typing: the card number field holds \"%s\"\n", qPrintable(cardNumber->text()));
        return 1;
    }
    bench::result("keystroke-checkout", bench::median(checkoutSamples), "us");
    bench::result("keystroke-bare", bench::median(bareSamples), "us");
    bench::result("formatter-19-digits", formatterNanoseconds(), "ns");
    return 0;
}
