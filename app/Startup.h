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

    // The plots are thousands of short line segments, that is one-pixel
    // spans, and on some processors (AMD's among them) Qt's AVX2 span filler
    // is several times slower for those than its SSE2 one, which paints the
    // same pixels. Qt reads its CPU choice when its libraries load, before
    // main, so unless the user has made that choice already the program
    // starts itself once more with AVX2 left out of Qt's drawing helpers.
    // Returns only if no restart happened (or it failed); call it first.
    static void configureRendering(char* argv[]);
};
