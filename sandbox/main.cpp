// pelbrook-sandbox: a local HTTPS stand-in for the payment gateway, the merchant's token
// server and the bank list publisher, for offline development, the demo and the tests.

#include "Certificate.h"
#include "Gateway.h"
#include "HostilePages.h"
#include "Pages.h"
#include "Scenarios.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

// The whole help: --help prints it to standard output; a wrong command line gets it on standard
// error with exit status 2.
constexpr const char *Help =
    "usage: pelbrook-sandbox [options]\n"
    "\n"
    "A local HTTPS stand-in for the payment gateway, the merchant's token server and the bank\n"
    "list publisher, for developing and testing a checkout offline. It listens on 127.0.0.1 only\n"
    "and prints two lines once it is ready:\n"
    "  certificate sha256 <64 hex digits>   for Endpoints::pinnedCertificateSha256\n"
    "  listening on https://127.0.0.1:<port>\n"
    "\n"
    "Point the checkout at it with pelbrook::setEndpoints: testGateway https://127.0.0.1:<port>,\n"
    "bankList https://127.0.0.1:<port>/pg/iosbanks.json, and the pinned certificate above; then\n"
    "configure the checkout with env \"TEST\".\n"
    "\n"
    "Options:\n"
    "  --port N           port to listen on (default 8443; 0 picks a free one, printed above)\n"
    "  --state-dir DIR    where the self-signed certificate and key are made once and kept, so\n"
    "                     the pin stays the same between runs\n"
    "                     (default $HOME/.local/share/pelbrook-sandbox)\n"
    "  --cert FILE --key FILE\n"
    "                     serve this certificate and private key (PEM) instead; give both\n"
    "  --app-id ID        an app id the token server and the gateway accept; repeat for more\n"
    "                     (default: sandbox-app only)\n"
    "  --auto-approve     approve every valid payment at once, without the confirmation page\n"
    "                     (a form with a problem is still handed back as FAILED)\n"
    "  --hand-back MODE   how the result is handed back to the checkout: redirect (default, an\n"
    "                     HTTP 302 to the ios-sdk address) or script (a page that navigates there)\n"
    "  --bank-count N     serve a generated list of N banks (1 to 1000000) instead of the sample\n"
    "                     list of thirty, for trying long lists\n"
    "  --hostile KIND     misbehave on every checkout form, for tests of the checkout's defences:\n"
    "                     repeat, frame, huge, bad-escape, not-utf8, javascript, file, data,\n"
    "                     redirect-file, http\n"
    "  --upi-expiry N     seconds a UPI request waits for the buyer's app (default 30; 2 to 3600)\n"
    "  --exit-with-stdin  stop when standard input ends: started by a program through a pipe, it\n"
    "                     never outlives that program, however the program ends\n"
    "  --help             print this help and exit\n"
    "\n"
    "Approving and declining by hand (without --auto-approve): a valid checkout form gets a\n"
    "\"Confirm payment\" page in the checkout's browser view with the order, the amount and the\n"
    "method. \"Approve\" hands back status SUCCESS, \"Decline\" hands back FAILED. A form with a\n"
    "problem (unknown app id, bad token, a card number that fails the Luhn check, a UPI address\n"
    "without a handle, a missing field) gets a \"Payment refused\" page with the reason, and\n"
    "\"Return to merchant\" hands back FAILED. The token must come from POST /token for the same\n"
    "app id, order id and amount.\n"
    "\n"
    "Scenarios: what the buyer enters chooses every other outcome a gateway has (expiry date, CVV\n"
    "and name can be anything; --auto-approve only skips the \"Confirm payment\" page):\n"
    "%s\n"
    "It serves:\n"
    "  POST /token                                   {\"appId\",\"orderId\",\"orderAmount\",...} ->\n"
    "                                                {\"checksum\": token}\n"
    "  POST /billpay/checkout/post/submit-transparent  the checkout form (env TEST)\n"
    "  POST /checkout/post/submit-transparent        the checkout form (env PROD)\n"
    "  GET  /pg/iosbanks.json                        the bank list\n"
    "  POST /sandbox/decision                        the confirmation page's buttons\n"
    "  GET  /sandbox/                                this table as a page\n"
    "  GET  /sandbox/orders/<orderId>                the order's status, as JSON: orderId,\n"
    "                                                orderAmount, status (NONE, PENDING, SUCCESS,\n"
    "                                                FAILED or CANCELLED), referenceId and message\n"
    "  GET  /sandbox/bank/<id>, POST /sandbox/otp, GET /sandbox/continue/<id>\n"
    "                                                the scenarios' own pages\n"
    "  GET  /sandbox/last-form                       the last checkout form received, as sent\n"
    "  GET  /sandbox/last-checkout-arrival           when it began to arrive (monotonic clock, ns)\n"
    "\n"
    "It logs one line per request (method, path, status), never a request's body.\n";

void printHelp(std::FILE *to)
{
    std::fprintf(to, Help, sandbox::scenarioTableText().c_str());
}

void usage()
{
    printHelp(stderr);
}

sandbox::Form formOf(const std::string &body)
{
    // Read by hand: the library's own parser sorts the fields and drops repeated pairs, and a
    // form that sends a field twice must be seen as it was sent.
    sandbox::Form form;
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        const std::string pair = body.substr(start, end - start);
        if (!pair.empty()) {
            const size_t equals = pair.find('=');
            const std::string name = pair.substr(0, equals);
            const std::string value = equals == std::string::npos ? std::string() : pair.substr(equals + 1);
            form.emplace_back(httplib::detail::decode_url(name, true), httplib::detail::decode_url(value, true));
        }
        start = end + 1;
    }
    return form;
}

constexpr size_t LargeBody = 64 * 1024;
constexpr std::chrono::minutes NoAnswerLimit{5};
// Workers: the requests that are never answered hold at most half of them.
constexpr int Workers = 32;
constexpr int MaxUnanswered = Workers / 2;

void send(httplib::Response &response, const sandbox::Reply &reply)
{
    response.status = reply.status;
    if (!reply.location.empty())
        response.set_header("Location", reply.location);
    response.set_header("Cache-Control", "no-store");
    if (reply.body.size() <= LargeBody) {
        response.set_content(reply.body, reply.contentType.c_str());
        return;
    }
    // A long body (a big bank list) goes out in pieces: handed to the TLS layer in one piece,
    // it trickles to a client that reads in steps.
    auto body = std::make_shared<std::string>(reply.body);
    response.set_content_provider(body->size(), reply.contentType.c_str(),
                                  [body](size_t offset, size_t length, httplib::DataSink &sink) {
                                      return sink.write(body->data() + offset, std::min(length, LargeBody));
                                  });
}

} // namespace

int main(int argc, char **argv)
{
    int port = 8443;
    std::string stateDir, certificatePath, keyPath;
    sandbox::GatewayOptions options;
    bool customAppIds = false;
    bool exitWithStdin = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage();
                std::exit(2);
            }
            return argv[++i];
        };
        // A whole number within its range, or a usage error: a typo must not become 0 (for the
        // port, a free port the caller does not expect).
        auto number = [&](int lowest, int highest) {
            const std::string text = value();
            char *end = nullptr;
            const long parsed = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || parsed < lowest || parsed > highest) {
                usage();
                std::exit(2);
            }
            return int(parsed);
        };
        if (arg == "--port") {
            port = number(0, 65535);
        }
        else if (arg == "--state-dir")
            stateDir = value();
        else if (arg == "--cert")
            certificatePath = value();
        else if (arg == "--key")
            keyPath = value();
        else if (arg == "--app-id") {
            if (!customAppIds)
                options.appIds.clear();
            customAppIds = true;
            options.appIds.insert(value());
        } else if (arg == "--bank-count") {
            // Past a million banks the document would be far beyond what a checkout reads.
            options.bankCount = number(1, 1000000);
        } else if (arg == "--hostile") {
            options.hostile = value();
            if (!sandbox::isHostileKind(options.hostile)) {
                usage();
                return 2;
            }
        } else if (arg == "--upi-expiry") {
            // The request must last long enough to be approved in before it expires.
            options.upiExpirySeconds = number(2, 3600);
        } else if (arg == "--exit-with-stdin") {
            exitWithStdin = true;
        } else if (arg == "--auto-approve")
            options.autoApprove = true;
        else if (arg == "--hand-back") {
            const std::string mode = value();
            if (mode != "redirect" && mode != "script") {
                usage();
                return 2;
            }
            options.handBack = mode == "script" ? sandbox::HandBack::Script : sandbox::HandBack::Redirect;
        } else if (arg == "--help") {
            printHelp(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "pelbrook-sandbox: unknown option %s\n\n", arg.c_str());
            usage();
            return 2;
        }
    }

    std::string error, fingerprint;
    if (certificatePath.empty() != keyPath.empty()) {
        usage();
        return 2;
    }
    if (certificatePath.empty()) {
        if (stateDir.empty()) {
            const char *home = std::getenv("HOME");
            stateDir = std::string(home ? home : ".") + "/.local/share/pelbrook-sandbox";
        }
        const sandbox::CertificateFiles files = sandbox::ensureSelfSignedCertificate(stateDir, error);
        certificatePath = files.certificatePath;
        keyPath = files.keyPath;
        fingerprint = files.sha256;
    } else {
        fingerprint = sandbox::certificateFingerprint(certificatePath, error);
    }
    if (fingerprint.empty()) {
        std::fprintf(stderr, "pelbrook-sandbox: %s\n", error.c_str());
        return 1;
    }

    httplib::SSLServer server(certificatePath.c_str(), keyPath.c_str());
    if (!server.is_valid()) {
        std::fprintf(stderr, "pelbrook-sandbox: cannot load the certificate and key\n");
        return 1;
    }
    sandbox::Gateway gateway(options);

    server.Post("/token", [&](const httplib::Request &rq, httplib::Response &rs) { send(rs, gateway.issueToken(rq.body)); });
    // The checkout form is read through a content reader: cpp-httplib refuses a plain form body
    // of over 8 KiB, and the sandbox takes forms far larger than a real checkout sends, so tests
    // can see them arrive whole.
    // When the last checkout form began to arrive, on the monotonic clock every process on the
    // machine shares: benchmarks time a pay press against it.
    std::atomic<long long> lastCheckoutArrival{0};
    std::atomic<int> unanswered{0};
    server.new_task_queue = [] { return new httplib::ThreadPool(Workers); };
    const auto checkout = [&](const httplib::Request &, httplib::Response &rs, const httplib::ContentReader &reader) {
        lastCheckoutArrival = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch()).count();
        std::string body;
        reader([&](const char *data, size_t length) {
            body.append(data, length);
            return body.size() <= 64 * 1024 * 1024;
        });
        const sandbox::Reply reply = gateway.submitTransparent(formOf(body));
        if (reply.noAnswer) {
            // A gateway that never answers: nothing is sent while the buyer waits. The connection
            // cannot be watched from here, so the worker gives up after a while, long after any
            // buyer would have. Only so many wait at once, so the workers left keep answering
            // everything else (the order's status above all).
            if (++unanswered <= MaxUnanswered)
                std::this_thread::sleep_for(NoAnswerLimit);
            --unanswered;
            rs.status = 504;
            return;
        }
        send(rs, reply);
    };
    server.Post("/billpay/checkout/post/submit-transparent", checkout);
    server.Post("/checkout/post/submit-transparent", checkout);
    server.Post("/sandbox/decision", [&](const httplib::Request &rq, httplib::Response &rs) { send(rs, gateway.decide(formOf(rq.body))); });
    server.Get("/sandbox/bank/([A-Za-z0-9]+)", [&](const httplib::Request &rq, httplib::Response &rs) {
        send(rs, gateway.bankPage(rq.matches[1]));
    });
    server.Post("/sandbox/otp", [&](const httplib::Request &rq, httplib::Response &rs) { send(rs, gateway.enterCode(formOf(rq.body))); });
    server.Get("/sandbox/continue/([A-Za-z0-9]+)", [&](const httplib::Request &rq, httplib::Response &rs) {
        send(rs, gateway.continueAfterWait(rq.matches[1]));
    });
    server.Get("/sandbox/orders/(.+)", [&](const httplib::Request &rq, httplib::Response &rs) {
        send(rs, gateway.orderStatus(rq.matches[1]));
    });
    server.Get("/sandbox/?", [&](const httplib::Request &, httplib::Response &rs) {
        send(rs, sandbox::Reply{200, "text/html; charset=utf-8", sandbox::indexPage(), {}});
    });
    server.Get("/pg/iosbanks.json", [&](const httplib::Request &, httplib::Response &rs) { send(rs, gateway.bankList()); });
    server.Get("/sandbox/last-form", [&](const httplib::Request &, httplib::Response &rs) { send(rs, gateway.lastForm()); });
    server.Get("/sandbox/last-checkout-arrival", [&](const httplib::Request &, httplib::Response &rs) {
        rs.set_content(std::to_string(lastCheckoutArrival.load()), "text/plain");
    });
    // Paths and statuses only: bodies carry card numbers and tokens.
    server.set_logger([](const httplib::Request &rq, const httplib::Response &rs) {
        std::cout << rq.method << ' ' << rq.path << ' ' << rs.status << std::endl;
    });

    if (port == 0)
        port = server.bind_to_any_port("127.0.0.1");
    else if (!server.bind_to_port("127.0.0.1", port))
        port = -1;
    if (port <= 0) {
        std::fprintf(stderr, "pelbrook-sandbox: cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::cout << "certificate sha256 " << fingerprint << '\n'
              << "listening on https://127.0.0.1:" << port << std::endl;
    if (exitWithStdin) {
        // The write end closes when the starting program ends, even when it is killed. The
        // sandbox keeps nothing worth saving, and open keep-alive connections would hold a
        // graceful stop for seconds: it leaves at once.
        std::thread([] {
            char buffer[256];
            while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
            }
            std::_Exit(0);
        }).detach();
    }
    return server.listen_after_bind() ? 0 : 1;
}
