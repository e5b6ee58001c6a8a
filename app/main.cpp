#include "CommandLine.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit (ulimit -f) makes a write fail with EFBIG, which the
    // writers report and undo, instead of killing the program half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    // Read before the application object exists, which needs the platform.
    const CommandLine::Options options = CommandLine::parse(argc, argv);
    CommandLine::preparePlatform(options);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tovik"));
    QApplication::setApplicationName(QStringLiteral("tovik"));
    return CommandLine::run(options);
}
