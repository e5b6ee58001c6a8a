#pragma once

#include <QStringList>

#include <optional>

class Settings;
class QTranslator;

// The language of the user interface: chosen at start from the command
// line or the remembered choice, and switched while the program runs.
class Startup {
public:
    enum class Language { Japanese, English };

    // `arguments` as left by the application object (program name first,
    // toolkit options removed). "-j" and "-e" are compared whole and
    // case-sensitively; the last one wins, anything else is ignored.
    static Language languageFromArguments(const QStringList& arguments);
    // The same, but nothing when neither option is given.
    static std::optional<Language> languageArgument(const QStringList& arguments);
    // -j/-e if given, else the choice remembered in `settings`, else Japanese.
    static Language chosenLanguage(const QStringList& arguments, const Settings& settings);
    static void remember(Language language, Settings& settings);

    // In Japanese mode loads the compiled-in catalogue and installs the
    // translator whether or not the load succeeded: an empty translator
    // leaves the interface in English without a message.
    static void installCatalogue(QTranslator& translator, Language language);

    // Switches the program's own translator: every window hears of it by a
    // LanguageChange event and translates itself again.
    static void setLanguage(Language language);
    // The language installed last; its code ("ja" or "en") picks the texts
    // of lessons.
    static Language language();
    static QString languageCode();
};
