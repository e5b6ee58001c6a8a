#pragma once

#include <QString>

#include <optional>

class Settings;
class QTranslator;

// The language of the user interface: chosen at start from the command
// line or the remembered choice, and switched while the program runs.
class Startup {
public:
    enum class Language { Japanese, English };

    // `given` (-j or -e on the command line) if any, else Japanese.
    static Language chosenLanguage(std::optional<Language> given);
    // `given` if any, else the choice remembered in `settings`, else
    // Japanese.
    static Language chosenLanguage(std::optional<Language> given, const Settings& settings);
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
