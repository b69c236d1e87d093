#include <pelbrook/Translations.h>

#include "platform/Translations_p.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <QThread>
#include <QTranslator>

#include <optional>
#include <utility>

namespace pelbrook {

namespace {

// Where the build embeds the compiled translations (pelbrook_<language>.qm).
constexpr auto TranslationsDirectory = ":/com.pelbrook.translations";

class LanguageTranslator;

struct TranslationState {
    bool enabled = true;
    // The application and the locale of the last load, found or not: a locale without a
    // translation is not searched again at every screen.
    QPointer<QCoreApplication> application;
    std::optional<QLocale> locale;
    // What that load found; null for English.
    std::shared_ptr<const QTranslator> latest;
    // The innermost open scope's translation, while one is open.
    bool scopeOpen = false;
    std::shared_ptr<const QTranslator> scoped;
    // Installed once per application, and owned by it.
    QPointer<LanguageTranslator> installed;
};

TranslationState &state()
{
    static TranslationState s;
    return s;
}

// The one translator the library installs. It answers from the language of whoever is making
// texts at the moment (a scope's), rather than from whichever checkout was created last:
// several languages can then live side by side, and none is swapped under a screen that has not
// yet made all its texts. Swapping translators would also tell every widget of the host's that
// the language changed, each time.
class LanguageTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        // The library makes its texts on the GUI thread; the host's, made on any thread, are
        // not in its translations.
        if (QThread::currentThread() != thread())
            return {};
        const TranslationState &s = state();
        const QTranslator *translation = s.scopeOpen ? s.scoped.get() : s.latest.get();
        return translation ? translation->translate(context, sourceText, disambiguation, n) : QString();
    }

    bool isEmpty() const override { return false; }
};

} // namespace

Language loadTranslations()
{
    TranslationState &s = state();
    if (s.scopeOpen)
        return Language(s.scoped);
    QCoreApplication *application = QCoreApplication::instance();
    if (!s.enabled || !application)
        return Language();
    const QLocale locale;
    if (s.application == application && s.locale == locale)
        return Language(s.latest);
    s.application = application;
    s.locale = locale;
    auto translation = std::make_shared<QTranslator>();
    if (translation->load(locale, QStringLiteral("pelbrook"), QStringLiteral("_"), QLatin1String(TranslationsDirectory)))
        s.latest = std::move(translation);
    else
        s.latest.reset();
    // Only once there is something to translate: a host in English never hears of it.
    if (s.latest && (!s.installed || s.installed->parent() != application)) {
        s.installed = new LanguageTranslator(application);
        QCoreApplication::installTranslator(s.installed);
    }
    return Language(s.latest);
}

Language currentLanguage()
{
    const TranslationState &s = state();
    return Language(s.scopeOpen ? s.scoped : s.latest);
}

LanguageScope::LanguageScope(const Language &language)
    : m_outer(std::exchange(state().scoped, language.m_translation))
    , m_outerOpen(std::exchange(state().scopeOpen, true))
{
}

LanguageScope::~LanguageScope()
{
    TranslationState &s = state();
    s.scoped = std::move(m_outer);
    s.scopeOpen = m_outerOpen;
}

void setTranslationsEnabled(bool enabled)
{
    TranslationState &s = state();
    s.enabled = enabled;
    // Later checkouts are in English; those made before keep their own language.
    if (!enabled) {
        s.latest.reset();
        s.locale.reset();
    }
}

bool translationsEnabled()
{
    return state().enabled;
}

} // namespace pelbrook
