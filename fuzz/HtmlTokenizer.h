#pragma once

// A small HTML tokenizer for the fuzz targets: the states a browser's HTML tokenizer goes
// through for a page of tags and attributes, nothing else. Markup it does not follow (comments,
// doctypes, processing instructions, named character references other than "&amp;", "&lt;",
// "&gt;", "&quot;" and "&apos;") is reported as an Unknown token and ends the run, so a page
// that holds any of it can never pass a check by accident.

#include <QList>
#include <QString>

namespace pelbrook::fuzz {

struct HtmlAttribute {
    QString name;
    QString value;
    friend bool operator==(const HtmlAttribute &, const HtmlAttribute &) = default;
};

struct HtmlToken {
    enum Kind { StartTag, EndTag, Character, Unknown };
    Kind kind = Character;
    /// Tag name, lower case; for a character token the character.
    QString name;
    /// In source order; a repeated attribute name is dropped, as the parser drops it.
    QList<HtmlAttribute> attributes;
    bool selfClosing = false;
};

/**
 * Tokenizes @p page as a browser does after decoding it: CR LF and lone CR become LF first, NUL
 * in tag and attribute names and values becomes U+FFFD, character references are resolved in
 * attribute values. Characters outside tags come out one token each.
 */
QList<HtmlToken> tokenizeHtml(const QString &page);

} // namespace pelbrook::fuzz
