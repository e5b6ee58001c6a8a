#include "Startup.h"

#include "Settings.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {
Startup::Language current = Startup::Language::English;
} // namespace

Startup::Language Startup::chosenLanguage(std::optional<Language> given) {
    return given.value_or(Language::Japanese);
}

Startup::Language Startup::chosenLanguage(std::optional<Language> given, const Settings& settings) {
    if (!given && settings.languageCode() == QLatin1String("en"))
        return Language::English;
    return chosenLanguage(given);
}

void Startup::remember(Language language, Settings& settings) {
    settings.setLanguageCode(language == Language::English ? QStringLiteral("en")
                                                           : QStringLiteral("ja"));
}

void Startup::installCatalogue(QTranslator& translator, Language language) {
    current = language;
    if (language != Language::Japanese)
        return;
    // ".qm" is appended by the loader; the leading colon names the resource.
    (void)translator.load(QStringLiteral(":Tovik_ja_JP"), QCoreApplication::applicationDirPath());
    QCoreApplication::installTranslator(&translator);
}

void Startup::setLanguage(Language language) {
    // Lives as long as the application object, which it belongs to.
    static QTranslator* translator = new QTranslator(QCoreApplication::instance());
    // Removing the catalogue alone already tells every window.
    QCoreApplication::removeTranslator(translator);
    installCatalogue(*translator, language);
}

Startup::Language Startup::language() {
    return current;
}

QString Startup::languageCode() {
    return current == Language::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
}
