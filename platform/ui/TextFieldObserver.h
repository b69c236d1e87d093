#pragma once

#include <QLineEdit>
#include <QObject>

#include <optional>
#include <utility>

namespace pelbrook {

/// A selection in a text field, in UTF-16 code units; an empty one is a plain cursor.
struct TextRange {
    int start = 0;
    int length = 0;
    friend bool operator==(const TextRange &, const TextRange &) = default;
};

/**
 * Turns a QLineEdit's edits into the two questions a mobile text field asks: before the change
 * (with the text and selection as they were) and after it. Every edit by the user counts,
 * typing, deleting, pasting, cutting, dropping and undoing alike; text the code sets does not.
 */
class TextFieldObserver : public QObject
{
    Q_OBJECT
public:
    explicit TextFieldObserver(QLineEdit *field);

    /// The field's current selection (or cursor).
    static TextRange selection(const QLineEdit *field);
    static void setSelection(QLineEdit *field, const TextRange &range);

Q_SIGNALS:
    /// The user changed the field; @p text and @p selection are as they were before.
    void willChange(QLineEdit *field, const QString &text, const TextRange &selection);
    /// After willChange(), with the field holding the changed text.
    void editingChanged(QLineEdit *field);

private:
    void remember();

    QLineEdit *m_field;
    QString m_text;
    TextRange m_selection;
    bool m_editing = false;
    std::optional<std::pair<QString, TextRange>> m_before;
};

} // namespace pelbrook
