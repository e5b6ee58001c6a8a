#include "CommandLine.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit (ulimit -f) makes a write fail with EFBIG, which the
    // writers report and undo, instead of killing the program half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    CommandLine::preparePlatform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tovik"));
    QApplication::setApplicationName(QStringLiteral("tovik"));
    return CommandLine::run(app.arguments());
}
