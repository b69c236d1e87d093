#include "HostilePages.h"

namespace sandbox {

namespace {

const char *const Kinds[] = {"repeat", "frame", "huge", "bad-escape", "not-utf8", "javascript",
                             "file", "data", "redirect-file", "http"};

Reply redirect(const std::string &location)
{
    return Reply{302, "text/plain", "Moved.", location};
}

// The addresses are percent-encoded ASCII or fixed texts without quotes, so they are safe
// inside single-quoted script strings and attributes.
Reply script(const std::string &code)
{
    return Reply{200, "text/html; charset=utf-8",
                 "<!DOCTYPE html><html><body><p id='hostile'>Working&hellip;</p><script>" + code + "</script></body></html>", {}};
}

PaymentOutcome numbered(PaymentOutcome outcome, int n)
{
    outcome.message = "hand-back " + std::to_string(n);
    return outcome;
}

} // namespace

bool isHostileKind(const std::string &kind)
{
    for (const char *k : Kinds) {
        if (kind == k)
            return true;
    }
    return false;
}

std::optional<Reply> hostileReply(const std::string &kind, const PaymentOutcome &outcome)
{
    if (kind == "repeat") {
        // Frames load side by side, so their hand-backs come close together; the page itself
        // hands back once more a moment later.
        std::string frames;
        for (int n = 1; n <= 4; ++n)
            frames += "<iframe src='" + handBackAddress(numbered(outcome, n)) + "'></iframe>";
        return Reply{200, "text/html; charset=utf-8",
                     "<!DOCTYPE html><html><body>" + frames + "<script>setTimeout(function(){location.href='"
                         + handBackAddress(numbered(outcome, 5)) + "';},300);</script></body></html>",
                     {}};
    }
    if (kind == "frame") {
        return Reply{200, "text/html; charset=utf-8",
                     "<!DOCTYPE html><html><body><p>Framed</p><iframe src='" + handBackAddress(outcome) + "'></iframe></body></html>", {}};
    }
    if (kind == "huge") {
        PaymentOutcome big = outcome;
        big.message = std::string(1024 * 1024, 'x');
        // From a script: a browser takes no more than a few hundred kilobytes of headers.
        return script("location.href='" + handBackAddress(big) + "';");
    }
    if (kind == "bad-escape")
        return redirect("ios-sdk://payment-result#%7B%zz");
    if (kind == "not-utf8")
        return redirect("ios-sdk://payment-result#%C3%28%FF");
    if (kind == "javascript")
        return script("location.href='javascript:void(0)';window.open('javascript:1');");
    if (kind == "file")
        return script("location.href='file:///etc/passwd';window.open('file:///etc/passwd');");
    if (kind == "data")
        return script("location.href='data:text/html,<h1>Enter your card again</h1>';");
    if (kind == "redirect-file")
        return redirect("file:///etc/passwd");
    if (kind == "http")
        return redirect("http://127.0.0.1:9/pay");
    return std::nullopt;
}

} // namespace sandbox
