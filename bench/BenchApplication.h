#ifndef TOVIK_BENCH_APPLICATION_H
#define TOVIK_BENCH_APPLICATION_H

#include <QApplication>

namespace bench {

// The wave's panel and the windows are widgets, so a widget application must
// exist. The shared benchmark main has none; one is made on first use,
// offscreen unless a platform was chosen, and kept until the process ends.
inline void ensureApplication() {
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tovik_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace bench

#endif
