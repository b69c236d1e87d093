// The payment page (buildPaymentPage, escapeAttribute). Every value of PaymentPageValues and a
// few method fields, names and values alike, come from the input; the page is encoded to UTF-8
// as the browser view hands it over, decoded, and tokenized as an HTML parser does
// (HtmlTokenizer.h). The tokens must be exactly the page's shape: html, body with its onload,
// one form with the expected action, the hidden inputs in their order with exactly the given
// names and values, the three end tags, and nothing else, so no value can add, end or change a
// field or leave text outside one.
//
// Input layout (FuzzedDataProvider: numbers come from the end of the input, text from the
// front, each text ending at a backslash followed by any other character): for each of the
// twelve values in PaymentPageValues order, how it is read (Latin-1, UTF-8, UTF-16) and its
// text; whether the name and note repeat; the number of method fields (up to five) and, for
// each, its name and value the same way.
//
// What no page can carry. A NUL cannot reach a page's DOM: the parser turns it into U+FFFD
// whether it is written as is or as a character reference. A lone UTF-16 surrogate cannot be
// written in UTF-8, the page's encoding. Both therefore arrive as U+FFFD, the character that
// says "a character was lost here", and that is what is expected below. It is also what a
// browser itself posts for a lone surrogate in a form value, since names and values are made
// scalar value strings on submission. The escaper writes U+FFFD for a lone surrogate itself:
// Qt's UTF-8 encoder would write "?", an ordinary character the gateway could not tell from
// the buyer's own. (Form submission also sends every line break as CR LF; that happens after
// the parse, whatever the page holds, so it is not modelled here.)

#include "core/PaymentForm.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/HtmlTokenizer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace pelbrook;
using namespace pelbrook::fuzz;

namespace {

// The value as the parsed page holds it: NUL and lone surrogates become U+FFFD.
QString asParsed(const QString &value)
{
    QString parsed;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            parsed.append(c);
            parsed.append(value.at(++i));
        } else if (c.isSurrogate() || c.unicode() == 0) {
            parsed.append(QChar(QChar::ReplacementCharacter));
        } else {
            parsed.append(c);
        }
    }
    return parsed;
}

HtmlToken startTag(const QString &name, const QList<HtmlAttribute> &attributes, bool selfClosing = false)
{
    return HtmlToken{HtmlToken::StartTag, name, attributes, selfClosing};
}

HtmlToken endTag(const QString &name)
{
    return HtmlToken{HtmlToken::EndTag, name, {}, false};
}

HtmlToken hiddenInput(const QString &name, const QString &value)
{
    return startTag(QStringLiteral("input"),
                    {{QStringLiteral("type"), QStringLiteral("hidden")}, {QStringLiteral("name"), asParsed(name)},
                     {QStringLiteral("value"), asParsed(value)}},
                    true);
}

QList<HtmlToken> expectedTokens(const PaymentPageValues &v)
{
    QList<HtmlToken> tokens = {
        startTag(QStringLiteral("html"), {}),
        startTag(QStringLiteral("body"), {{QStringLiteral("onload"), QStringLiteral("document.order.submit()")}}),
        startTag(QStringLiteral("form"), {{QStringLiteral("name"), QStringLiteral("order")},
                                          {QStringLiteral("action"), asParsed(v.endpoint)},
                                          {QStringLiteral("method"), QStringLiteral("post")}}),
        hiddenInput(QStringLiteral("appId"), v.appId),
        hiddenInput(QStringLiteral("orderId"), v.orderId),
        hiddenInput(QStringLiteral("orderAmount"), v.orderAmount)};
    for (int times = v.repeatNameAndNote ? 2 : 1; times > 0; --times) {
        tokens << hiddenInput(QStringLiteral("customerName"), v.customerName)
               << hiddenInput(QStringLiteral("orderNote"), v.orderNote);
    }
    tokens << hiddenInput(QStringLiteral("customerPhone"), v.customerPhone)
           << hiddenInput(QStringLiteral("customerEmail"), v.customerEmail)
           << hiddenInput(QStringLiteral("paymentOption"), v.paymentOption);
    for (const FormField &field : v.methodFields)
        tokens << hiddenInput(field.name, field.value);
    tokens << hiddenInput(QStringLiteral("orderCurrency"), v.orderCurrency)
           << hiddenInput(QStringLiteral("paymentToken"), v.paymentToken)
           << hiddenInput(QStringLiteral("source"), QStringLiteral("iossdk"))
           << hiddenInput(QStringLiteral("notifyUrl"), v.notifyUrl)
           << endTag(QStringLiteral("form")) << endTag(QStringLiteral("body")) << endTag(QStringLiteral("html"));
    return tokens;
}

bool sameToken(const HtmlToken &a, const HtmlToken &b)
{
    return a.kind == b.kind && a.name == b.name && a.attributes == b.attributes && a.selfClosing == b.selfClosing;
}

// For a finding's report: printable ASCII as is, everything else as \uXXXX.
QByteArray printable(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out.append(char(c.unicode()));
        else
            out.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toLatin1());
    }
    return out;
}

QByteArray describe(const HtmlToken &token)
{
    static const char *const kinds[] = {"start tag", "end tag", "text", "unknown markup"};
    QByteArray out = QByteArray(kinds[token.kind]) + " " + printable(token.name);
    for (const HtmlAttribute &attribute : token.attributes)
        out += " [" + printable(attribute.name) + "=" + printable(attribute.value) + "]";
    return token.selfClosing ? out + " /" : out;
}

void reportFirstDifference(const QList<HtmlToken> &tokens, const QList<HtmlToken> &expected)
{
    for (qsizetype i = 0; i < qMax(tokens.size(), expected.size()); ++i) {
        if (i < tokens.size() && i < expected.size() && sameToken(tokens.at(i), expected.at(i)))
            continue;
        std::fprintf(stderr, "token %lld\n  expected: %s\n  parsed:   %s\n", static_cast<long long>(i),
                     i < expected.size() ? describe(expected.at(i)).constData() : "(none)",
                     i < tokens.size() ? describe(tokens.at(i)).constData() : "(none)");
        return;
    }
}

QString take(FuzzedDataProvider &input)
{
    const Reading reading = AllReadings[input.ConsumeIntegralInRange<int>(0, 2)];
    return textFrom(input.ConsumeRandomLengthString(128), reading);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    PaymentPageValues v;
    v.endpoint = take(input);
    v.appId = take(input);
    v.orderId = take(input);
    v.orderAmount = take(input);
    v.customerName = take(input);
    v.orderNote = take(input);
    v.customerPhone = take(input);
    v.customerEmail = take(input);
    v.paymentOption = take(input);
    v.orderCurrency = take(input);
    v.paymentToken = take(input);
    v.notifyUrl = take(input);
    v.repeatNameAndNote = input.ConsumeBool();
    for (int fields = input.ConsumeIntegralInRange<int>(0, 5); fields > 0; --fields) {
        const QString name = take(input);
        v.methodFields.append({name, take(input)});
    }

    // As the browser view hands the page over: UTF-8, declared so.
    const QString page = QString::fromUtf8(buildPaymentPage(v).toUtf8());
    const QList<HtmlToken> tokens = tokenizeHtml(page);
    const QList<HtmlToken> expected = expectedTokens(v);
    const bool same = tokens.size() == expected.size() && std::equal(tokens.begin(), tokens.end(), expected.begin(), sameToken);
    if (!same)
        reportFirstDifference(tokens, expected);
    PELBROOK_FUZZ_REQUIRE(std::none_of(tokens.begin(), tokens.end(), [](const HtmlToken &t) { return t.kind == HtmlToken::Unknown; }),
                          "the page holds only tags, attributes and the references the escaper writes");
    PELBROOK_FUZZ_REQUIRE(std::none_of(tokens.begin(), tokens.end(), [](const HtmlToken &t) { return t.kind == HtmlToken::Character; }),
                          "no text outside the tags");
    PELBROOK_FUZZ_REQUIRE(tokens.size() == expected.size(), "exactly the page's tags: no field added or lost");
    for (qsizetype i = 0; i < tokens.size(); ++i)
        PELBROOK_FUZZ_REQUIRE(sameToken(tokens.at(i), expected.at(i)), "each tag has exactly its names and values, in order");
    return 0;
}
