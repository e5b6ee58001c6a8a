#include "Startup.h"

#include <QCoreApplication>
#include <QTranslator>

Startup::Language Startup::languageFromArguments(const QStringList& arguments) {
    Language language = Language::Japanese;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("-j"))
            language = Language::Japanese;
        else if (arguments.at(i) == QLatin1String("-e"))
            language = Language::English;
    }
    return language;
}

void Startup::installCatalogue(QTranslator& translator, Language language) {
    if (language != Language::Japanese)
        return;
    // ".qm" is appended by the loader; the leading colon names the resource.
    (void)translator.load(QStringLiteral(":Tovik_ja_JP"), QCoreApplication::applicationDirPath());
    QCoreApplication::installTranslator(&translator);
}
