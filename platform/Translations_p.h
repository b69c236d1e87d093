#pragma once

#include <memory>
#include <utility>

class QTranslator;

namespace pelbrook {

/**
 * The language a checkout, a screen or a control makes its texts in: the library's translation
 * it was created with, or none (English). Most of its texts are made long after it was created
 * (a tab's labels when the tab is first needed, a hint when pay is pressed); they must read as
 * the rest of it, whatever the default locale, the setting or a later checkout is by then.
 * Cheap to copy; keeps its translation loaded while it lives.
 */
class Language
{
public:
    /// English: the texts as written.
    Language() = default;

private:
    friend class LanguageScope;
    friend Language loadTranslations();
    friend Language currentLanguage();
    explicit Language(std::shared_ptr<const QTranslator> translation)
        : m_translation(std::move(translation))
    {
    }

    std::shared_ptr<const QTranslator> m_translation;
};

/**
 * The language of a checkout or a screen created now: that of the scope open around its
 * creation, if any (a checkout making its screens hands them its own); otherwise the library's
 * translation for the default QLocale, loaded when that locale has changed since the last call,
 * or English when translations are off or none ships for it. The first call installs the
 * library's one translator on the QCoreApplication. Called before a checkout or a screen makes
 * any text; GUI thread only.
 */
Language loadTranslations();

/// The language the library's texts are made in at this moment: the innermost scope's, or the
/// last one loadTranslations() loaded. Loads nothing.
Language currentLanguage();

/**
 * While it lives, the library's texts (its tr() calls) come in @p language. Opened wherever a
 * checkout, a screen or a control makes texts after it was created; scopes nest. GUI thread
 * only.
 */
class LanguageScope
{
public:
    explicit LanguageScope(const Language &language);
    ~LanguageScope();
    LanguageScope(const LanguageScope &) = delete;
    LanguageScope &operator=(const LanguageScope &) = delete;

private:
    std::shared_ptr<const QTranslator> m_outer;
    bool m_outerOpen;
};

} // namespace pelbrook
