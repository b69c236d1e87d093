#include "platform/TextFieldObserver.h"

namespace pelbrook {

TextFieldObserver::TextFieldObserver(QLineEdit *field)
    : QObject(field)
    , m_field(field)
{
    remember();
    // Qt reports edits only afterwards, so the state before an edit is the last state seen
    // while the text stood still.
    const auto track = [this]() {
        if (m_field->text() == m_text)
            m_selection = selection(m_field);
    };
    connect(field, &QLineEdit::cursorPositionChanged, this, track);
    connect(field, &QLineEdit::selectionChanged, this, track);
    // Qt announces every change of text (textChanged) and then, for the user's own edits only,
    // textEdited. The resting state is stashed at the first, and reported at the second.
    connect(field, &QLineEdit::textChanged, this, [this]() {
        if (m_editing)
            return;
        m_before = {m_text, m_selection};
        remember();
    });
    connect(field, &QLineEdit::textEdited, this, [this]() {
        const auto [before, beforeSelection] = m_before.value_or(std::pair{m_text, m_selection});
        m_before.reset();
        m_editing = true;
        Q_EMIT willChange(m_field, before, beforeSelection);
        Q_EMIT editingChanged(m_field);
        m_editing = false;
        remember();
    });
}

void TextFieldObserver::remember()
{
    m_text = m_field->text();
    m_selection = selection(m_field);
}

TextRange TextFieldObserver::selection(const QLineEdit *field)
{
    if (field->hasSelectedText())
        return {field->selectionStart(), int(field->selectionLength())};
    return {field->cursorPosition(), 0};
}

void TextFieldObserver::setSelection(QLineEdit *field, const TextRange &range)
{
    if (range.length > 0)
        field->setSelection(range.start, range.length);
    else
        field->setCursorPosition(range.start);
}

} // namespace pelbrook
