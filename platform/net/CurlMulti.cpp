#include "platform/net/CurlMulti.h"

#include "platform/DebugLog_p.h"
#include "platform/net/HttpClient.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <limits>
#include <mutex>

namespace pelbrook {

namespace {

// A notifier that libcurl no longer wants may be the one whose signal is being delivered, so it
// is switched off now (which also frees its socket for a new notifier) and deleted later.
void retire(QSocketNotifier *&notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier->disconnect();
    notifier->deleteLater();
    notifier = nullptr;
}

} // namespace

CurlMulti *CurlMulti::instance()
{
    // curl_global_init is not thread-safe in every build of libcurl; once per process suffices.
    static std::once_flag initialised;
    std::call_once(initialised, []() { curl_global_init(CURL_GLOBAL_DEFAULT); });
    // Made after the HTTP client's announcer, a sibling under the application, so that the
    // requests it holds are gone before this is at the application's end.
    HttpClient::events();
    static QPointer<CurlMulti> multi;
    if (!multi)
        multi = new CurlMulti(QCoreApplication::instance());
    return multi;
}

CurlMulti::CurlMulti(QObject *parent)
    : QObject(parent)
    , m_multi(curl_multi_init())
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this]() { act(CURL_SOCKET_TIMEOUT, 0); });
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &CurlMulti::onSocket);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &CurlMulti::onTimer);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);
}

CurlMulti::~CurlMulti()
{
    for (auto it = m_running.keyBegin(); it != m_running.keyEnd(); ++it)
        curl_multi_remove_handle(m_multi, *it);
    m_running.clear();
    curl_multi_cleanup(m_multi);
    for (Notifiers &notifiers : m_sockets) {
        retire(notifiers.read);
        retire(notifiers.write);
    }
}

namespace {

// The options that keep a request safe are only honoured by libcurl 7.85 or later (redirect
// protocols by name) built on OpenSSL (the pinned certificate's check): with another libcurl
// in the process, no request is sent rather than one sent less safely.
bool libcurlIsUsable()
{
    static const bool usable = [] {
        const curl_version_info_data *info = curl_version_info(CURLVERSION_NOW);
        const bool ok = info && info->version_num >= 0x075500 && info->ssl_version
            && QByteArray(info->ssl_version).startsWith("OpenSSL/");
        if (!ok)
            debugLog(QStringLiteral("libcurl %1 (%2) cannot make the checkout's requests safely: none is sent.")
                         .arg(QLatin1String(info ? info->version : "?"), QLatin1String(info && info->ssl_version ? info->ssl_version : "no TLS")));
        return ok;
    }();
    return usable;
}

} // namespace

bool CurlMulti::add(CURL *easy, Finished finished)
{
    if (!libcurlIsUsable())
        return false;
    m_running.insert(easy, std::move(finished));
    // libcurl asks, through onTimer, to be driven on the next turn of the event loop.
    if (curl_multi_add_handle(m_multi, easy) == CURLM_OK)
        return true;
    m_running.remove(easy);
    return false;
}

void CurlMulti::remove(CURL *easy)
{
    if (m_running.remove(easy))
        curl_multi_remove_handle(m_multi, easy);
}

int CurlMulti::onSocket(CURL *, curl_socket_t socket, int what, void *self, void *)
{
    static_cast<CurlMulti *>(self)->watch(socket, what);
    return 0;
}

int CurlMulti::onTimer(CURLM *, long timeoutMs, void *self)
{
    // Called inside libcurl: the work is left to the timer, never done here.
    QTimer &timer = static_cast<CurlMulti *>(self)->m_timer;
    if (timeoutMs < 0)
        timer.stop();
    else
        timer.start(int(qMin<long>(timeoutMs, std::numeric_limits<int>::max())));
    return 0;
}

void CurlMulti::watch(curl_socket_t socket, int what)
{
    Notifiers &notifiers = m_sockets[socket];
    const bool reads = what == CURL_POLL_IN || what == CURL_POLL_INOUT;
    const bool writes = what == CURL_POLL_OUT || what == CURL_POLL_INOUT;
    if (reads && !notifiers.read) {
        notifiers.read = new QSocketNotifier(qintptr(socket), QSocketNotifier::Read, this);
        connect(notifiers.read, &QSocketNotifier::activated, this, [this, socket]() { act(socket, CURL_CSELECT_IN); });
    } else if (!reads) {
        retire(notifiers.read);
    }
    if (writes && !notifiers.write) {
        notifiers.write = new QSocketNotifier(qintptr(socket), QSocketNotifier::Write, this);
        connect(notifiers.write, &QSocketNotifier::activated, this, [this, socket]() { act(socket, CURL_CSELECT_OUT); });
    } else if (!writes) {
        retire(notifiers.write);
    }
    if (what == CURL_POLL_REMOVE)
        m_sockets.remove(socket);
}

void CurlMulti::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(m_multi, socket, events, &running);
    reportEnded();
}

void CurlMulti::reportEnded()
{
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg != CURLMSG_DONE)
            continue;
        CURL *easy = message->easy_handle;
        const CURLcode result = message->data.result;
        // Removed before it is reported: the report may clean the handle up.
        const Finished finished = m_running.take(easy);
        curl_multi_remove_handle(m_multi, easy);
        if (finished)
            finished(result);
    }
}

} // namespace pelbrook
