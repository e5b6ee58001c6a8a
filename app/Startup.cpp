#include "Startup.h"

#include "Settings.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {
Startup::Language current = Startup::Language::English;
} // namespace

std::optional<Startup::Language> Startup::languageArgument(const QStringList& arguments) {
    std::optional<Language> language;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-j"))
            language = Language::Japanese;
        else if (arguments.at(i) == QLatin1String("-e"))
            language = Language::English;
    }
    return language;
}

Startup::Language Startup::languageFromArguments(const QStringList& arguments) {
    return languageArgument(arguments).value_or(Language::Japanese);
}

Startup::Language Startup::chosenLanguage(const QStringList& arguments, const Settings& settings) {
    if (const std::optional<Language> given = languageArgument(arguments))
        return *given;
    return settings.languageCode() == QLatin1String("en") ? Language::English : Language::Japanese;
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
