#pragma once

#include <QStringList>

class QTranslator;

// Language choice of the entry function: the command line alone decides.
class Startup {
public:
    enum class Language { Japanese, English };

    // `arguments` as left by the application object (program name first,
    // toolkit options removed). "-j" and "-e" are compared whole and
    // case-sensitively; the last one wins, anything else is ignored.
    static Language languageFromArguments(const QStringList& arguments);

    // In Japanese mode loads the compiled-in catalogue and installs the
    // translator whether or not the load succeeded: an empty translator
    // leaves the interface in English without a message.
    static void installCatalogue(QTranslator& translator, Language language);
};
