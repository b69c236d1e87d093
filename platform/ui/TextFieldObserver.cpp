#include "platform/ui/TextFieldObserver.h"

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
    // Qt announces every change of text with textChanged, and the user's own edits also with
    // textEdited; which of the two comes first differs between Qt versions. The resting state
    // before a change is stashed by whichever arrives first.
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_editing || text == m_text)
            return;
        m_before = {m_text, m_selection};
        remember();
    });
    connect(field, &QLineEdit::textEdited, this, [this](const QString &text) {
        // Announced already by textChanged: the stash holds the state before; otherwise the
        // resting state still does.
        const auto [before, beforeSelection] = (text == m_text && m_before) ? *m_before : std::pair{m_text, m_selection};
        m_before.reset();
        m_editing = true;
        Q_EMIT willChange(m_field, before, beforeSelection);
        Q_EMIT editingChanged(m_field);
        m_editing = false;
        remember();
    });
    // A stash that no edit claimed (text set by code) is stale once anything else happens.
    connect(field, &QLineEdit::cursorPositionChanged, this, [this]() {
        if (m_field->text() == m_text)
            m_before.reset();
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
