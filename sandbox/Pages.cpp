#include "Pages.h"

#include "Gateway.h"
#include "Scenarios.h"

namespace sandbox {

namespace {

std::string hidden(const std::string &name, const std::string &value)
{
    return "<input type='hidden' name='" + name + "' value='" + escapeHtml(value) + "'>";
}

std::string button(const std::string &action, const std::string &paymentId, const std::string &name,
                   const std::string &value, const std::string &label, const std::string &cssClass)
{
    return "<form method='post' action='" + action + "'>" + hidden("payment", paymentId) + hidden(name, value)
        + "<button id='" + value + "' class='" + cssClass + "' type='submit'>" + label + "</button></form>";
}

std::string orderTable(const PageOrder &order)
{
    return "<table>"
           "<tr><td>Order</td><td id='order'>" + escapeHtml(order.orderId) + "</td></tr>"
           "<tr><td>Amount</td><td id='amount'>" + escapeHtml(order.amount) + "</td></tr>"
           "<tr><td>Method</td><td id='method'>" + escapeHtml(order.method) + "</td></tr>"
           "<tr><td>Details</td><td id='detail'>" + escapeHtml(order.detail) + "</td></tr></table>";
}

} // namespace

std::string page(const std::string &title, const std::string &content, const std::string &head)
{
    return "<!DOCTYPE html><html><head><meta charset='utf-8'>"
           "<meta name='viewport' content='width=device-width, initial-scale=1'>"
           "<title>" + escapeHtml(title) + "</title>" + head + "<style>"
           "body{font-family:'Helvetica Neue',Helvetica,Arial,sans-serif;margin:0;background:#f3f5f9;color:#1f2a44}"
           "header{background:#2f6fde;color:#fff;padding:16px 20px;font-size:18px;font-weight:bold}"
           "header.bank{background:#0b5d4b}main{padding:20px;max-width:480px;margin:0 auto}"
           "table{border-collapse:collapse;width:100%;margin-bottom:20px}"
           "td,th{padding:8px 4px;border-bottom:1px solid #dde3ee;text-align:left;vertical-align:top}"
           "td:first-child{color:#5b6478;width:40%}#scenarios td:first-child{width:16%}"
           "button{font-size:17px;padding:12px 0;width:100%;border:0;border-radius:8px;margin-top:10px;color:#fff}"
           ".approve{background:#1f9d55}.decline{background:#c53030}.back{background:#5b6478}"
           ".reason{background:#fde8e8;color:#9b1c1c;padding:12px;border-radius:8px}"
           "input.code{font-size:24px;letter-spacing:8px;width:100%;box-sizing:border-box;padding:10px;"
           "border:1px solid #9aa5bb;border-radius:8px;text-align:center}"
           ".hint{color:#5b6478;font-size:14px}.countdown{font-size:28px;font-weight:bold;text-align:center}"
           ".spinner{width:40px;height:40px;margin:24px auto;border:4px solid #dde3ee;border-top-color:#2f6fde;"
           "border-radius:50%;animation:spin 1s linear infinite}@keyframes spin{to{transform:rotate(360deg)}}"
           "</style></head><body>" + content + "</body></html>";
}

std::string confirmPage(const PageOrder &order)
{
    return page("Confirm payment", "<header>Pelbrook Sandbox Gateway</header><main><h2>Confirm payment</h2>" + orderTable(order)
                                       + button("/sandbox/decision", order.paymentId, "decision", "approve", "Approve", "approve")
                                       + button("/sandbox/decision", order.paymentId, "decision", "decline", "Decline", "decline")
                                       + "</main>");
}

std::string refusedPage(const std::string &paymentId, const std::string &reason)
{
    return page("Payment refused", "<header>Pelbrook Sandbox Gateway</header><main><h2>Payment refused</h2>"
                                   "<p id='reason' class='reason'>" + escapeHtml(reason) + "</p>"
                    + button("/sandbox/decision", paymentId, "decision", "fail", "Return to merchant", "back") + "</main>");
}

std::string oneTimePasswordPage(const PageOrder &order, const std::string &error)
{
    std::string content = "<header class='bank'>Sandbox Bank &middot; Secure verification</header><main>"
                          "<h2>Enter the one-time password</h2>"
                          "<p>We sent a 6-digit code to your phone to confirm this payment of <b id='amount'>"
        + escapeHtml(order.amount) + "</b>.</p>";
    if (!error.empty())
        content += "<p id='error' class='reason'>" + escapeHtml(error) + "</p>";
    content += "<form method='post' action='/sandbox/otp'>" + hidden("payment", order.paymentId)
        + "<input id='otp' class='code' name='code' inputmode='numeric' pattern='[0-9]{6}' maxlength='6' "
          "autocomplete='one-time-code' aria-label='One-time password' required autofocus>"
          "<button id='submit' class='approve' type='submit'>Submit</button></form>"
        + button("/sandbox/otp", order.paymentId, "action", "cancel", "Cancel", "back")
        + "<p class='hint'>Sandbox: the code is 123456.</p></main>";
    return page("Enter the one-time password", content);
}

std::string waitingPage(const PageOrder &order, const std::string &heading, const std::string &text,
                        int refreshAfter, bool countdown, int secondsLeft)
{
    // A meta refresh, so the page moves on even where scripts are off; the script only counts.
    const std::string head = "<meta http-equiv='refresh' content='" + std::to_string(refreshAfter) + ";url=/sandbox/continue/"
        + escapeHtml(order.paymentId) + "'>";
    std::string content = "<header>Pelbrook Sandbox Gateway</header><main><h2>" + escapeHtml(heading) + "</h2><p>"
        + escapeHtml(text) + "</p>" + orderTable(order);
    if (!countdown) {
        content += "<div class='spinner' role='progressbar' aria-label='Processing'></div>";
    } else {
        content += "<p class='countdown' id='countdown' data-left='" + std::to_string(secondsLeft) + "'></p><script>"
                   "(function(){var e=document.getElementById('countdown'),left=+e.dataset.left;"
                   "function show(){e.textContent='Expires in '+Math.floor(left/60)+':'+('0'+left%60).slice(-2);}"
                   "show();setInterval(function(){if(left>0)left--;show();},1000);})();</script>";
    }
    return page(heading, content + "<p class='hint'>Please keep this window open.</p></main>", head);
}

std::string errorPage()
{
    return page("Internal server error", "<header>Pelbrook Sandbox Gateway</header><main><h2>Something went wrong</h2>"
                                         "<p id='reason' class='reason'>500 Internal server error. The payment was not "
                                         "taken. Close this page and try again.</p></main>");
}

std::string indexPage()
{
    return page("Pelbrook sandbox",
                "<header>Pelbrook Sandbox Gateway</header><main style='max-width:960px'><h2>Test scenarios</h2>"
                "<p>Enter these in the checkout to reach each outcome. Expiry date, CVV and name can be anything.</p>"
                + scenarioTableHtml()
                + "<h2>Order status</h2><p><code>GET /sandbox/orders/&lt;orderId&gt;</code> answers JSON: "
                  "<code>orderId</code>, <code>orderAmount</code>, <code>status</code> (NONE, PENDING, SUCCESS, FAILED or CANCELLED), "
                  "<code>referenceId</code> and <code>message</code>, as a merchant's server asks after an "
                  "interrupted payment.</p></main>");
}

std::string maskedCard(const std::string &number)
{
    if (number.size() < 4)
        return "****";
    return "**** " + number.substr(number.size() - 4);
}

} // namespace sandbox
