#include "ChiK.h"
#include "Startup.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QTranslator translator;
    Startup::installCatalogue(translator, Startup::languageFromArguments(arguments));

    ChiK window;
    QObject::connect(&window, SIGNAL(finishing()), &app, SLOT(closeAllWindows()));
    window.show();
    return app.exec();
}
