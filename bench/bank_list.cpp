// The bank list at 100, 10,000 and 100,000 entries, served from a loopback server:
// - time from get_data to the table's reload, as a ratio to QJsonDocument::fromJson alone on
//   the same bytes (target at 100,000: within 2x);
// - resident memory added by the loaded list, as a ratio to the document's size (target: 3x):
//   as the process sees it, and after handing the allocator's free memory back to the system
//   (what the list itself holds, without what the allocator keeps from the parse);
// - the time to draw one page step of the table, scrolling from the first row towards the
//   last (target: under one 60 Hz frame, 16.7 ms).
//
// Usage: bench_bank_list [runs per size, default 5]

#include "netbanking/BankListModel.h"
#include "netbanking/netBankingViewController_p.h"
#include "platform/net/HttpClient.h"

#include <pelbrook/Endpoints.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QListView>
#include <QScrollBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <malloc.h>
#include <cstdio>
#include <vector>

using namespace pelbrook;

namespace {

QByteArray document(int count)
{
    QByteArray json = "[";
    json.reserve(qsizetype(count) * 56 + 2);
    for (int i = 1; i <= count; ++i) {
        const QByteArray number = QByteArray::number(100000 + i);
        json += (i > 1 ? "," : "") + QByteArray("{\"code\":\"") + number + "\",\"bankName\":\"Generated Bank " + number + "\"}";
    }
    return json + "]";
}

// Answers every request with the document, then closes the connection.
class DocumentServer : public QTcpServer
{
public:
    explicit DocumentServer(const QByteArray &body)
        : m_answer("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size())
                   + "\r\nConnection: close\r\n\r\n" + body)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    m_request.clear();
                    socket->write(m_answer);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

private:
    QByteArray m_answer;
    QByteArray m_request;
};

// The screen, with its private part in reach.
class Screen : public netBankingViewController
{
public:
    netBankingViewControllerPrivate *d() { return static_cast<netBankingViewControllerPrivate *>(d_ptr.get()); }
};

double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * 4096;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Load {
    double milliseconds;
    double addedBytes;
    double heldBytes;
};

Load loadOnce(const QUrl &url, Screen &screen)
{
    QEventLoop loop;
    QObject::connect(screen.d()->model, &QAbstractItemModel::modelReset, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    const double before = residentBytes();
    QElapsedTimer timer;
    timer.start();
    screen.d()->get_data(url);
    loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    // The reply and its buffers go on the next turn of the event loop.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double added = residentBytes() - before;
    malloc_trim(0);
    return {ms, added, residentBytes() - before};
}

// The download alone, through the same HTTP client.
double downloadMilliseconds(const QUrl &url)
{
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    HttpClient::send("GET", QNetworkRequest(url), {}, &loop, [&loop](std::optional<QByteArray>) { loop.quit(); },
                     netBankingViewControllerPrivate::MaximumListBytes, netBankingViewControllerPrivate::ListDeadlineMs);
    loop.exec();
    return timer.nsecsElapsed() / 1e6;
}

double bareParseMilliseconds(const QByteArray &bytes)
{
    // From the same trimmed heap as the screen's load.
    malloc_trim(0);
    QElapsedTimer timer;
    timer.start();
    const QJsonDocument parsed = QJsonDocument::fromJson(bytes);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!parsed.isArray())
        std::fprintf(stderr, "the document did not parse\n");
    return ms;
}

void pageSteps(Screen &screen, int rows)
{
    QListView *table = screen.d()->netbankingTable;
    QWidget *home = table->parentWidget();
    QWidget window;
    window.resize(390, 844);
    table->setParent(&window);
    table->setGeometry(0, 200, 390, 340);
    window.show();
    table->setFocus();
    std::vector<double> steps;
    double worst = 0;
    // Page by page from the top (at most 300 pages), then the jump to the last row.
    for (int i = 0; i < 301; ++i) {
        const bool last = i == 300;
        QKeyEvent key(QEvent::KeyPress, last ? Qt::Key_End : Qt::Key_PageDown, Qt::NoModifier);
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(table, &key);
        table->viewport()->repaint();
        const double ms = timer.nsecsElapsed() / 1e6;
        steps.push_back(ms);
        worst = std::max(worst, ms);
    }
    // Back to the screen, which still owns it.
    table->setParent(home);
    std::printf("  page step: median %.2f ms, worst %.2f ms over %zu steps (last row %s)\n", median(steps), worst, steps.size(),
                table->currentIndex().row() == rows - 1 ? "reached" : "NOT reached");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::printf("bank list: get_data to reload vs QJsonDocument::fromJson; %d runs each, medians\n", runs);
    for (const int count : {100, 10000, 100000}) {
        const QByteArray bytes = document(count);
        DocumentServer server(bytes);
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/pg/iosbanks.json").arg(server.serverPort()));
        std::vector<double> ours, bare, download;
        // Memory from the first load only: later ones reuse what the earlier screens freed.
        double memory = 0, held = 0;
        // One load and one parse first, so that neither pays for the other's first use of memory.
        {
            Screen warm;
            loadOnce(url, warm);
            bareParseMilliseconds(bytes);
        }
        for (int run = 0; run < runs; ++run) {
            Screen screen;
            // Let the browser engine the screen starts settle before anything is measured.
            QEventLoop settle;
            QTimer::singleShot(run == 0 ? 1000 : 50, &settle, &QEventLoop::quit);
            settle.exec();
            malloc_trim(0);
            const Load load = loadOnce(url, screen);
            if (screen.list().size() != count)
                std::fprintf(stderr, "loaded %lld of %d banks\n", qlonglong(screen.list().size()), count);
            ours.push_back(load.milliseconds);
            if (run == 0) {
                memory = load.addedBytes;
                held = load.heldBytes;
            }
            bare.push_back(bareParseMilliseconds(bytes));
            download.push_back(downloadMilliseconds(url));
            if (count == 100000 && run == runs - 1)
                pageSteps(screen, count);
        }
        const double ratio = median(ours) / median(bare);
        std::printf("%7d banks, %6.0f KiB: %7.2f ms vs bare parse %7.2f ms = %.2fx; memory added %.0f KiB = %.2fx the "
                    "document, held %.0f KiB = %.2fx\n",
                    count, bytes.size() / 1024.0, median(ours), median(bare), ratio, memory / 1024.0, memory / bytes.size(),
                    held / 1024.0, held / bytes.size());
        std::printf("%26s of which the download alone takes %.2f ms\n", "", median(download));
    }
    return 0;
}
