#include "CommandLine.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    CommandLine::preparePlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tovik"));
    QApplication::setApplicationName(QStringLiteral("tovik"));
    return CommandLine::run(app.arguments());
}
