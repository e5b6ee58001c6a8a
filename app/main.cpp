#include "CommandLine.h"
#include "Startup.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[]) {
    CommandLine::preparePlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tovik"));
    QApplication::setApplicationName(QStringLiteral("tovik"));

    QTranslator translator;
    Startup::installCatalogue(translator, Startup::languageFromArguments(app.arguments()));
    return CommandLine::run(app.arguments());
}
