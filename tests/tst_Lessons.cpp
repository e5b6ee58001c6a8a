#include "ChiDataReader.h"
#include "FilteredCurves.h"
#include "FitRun.h"
#include "Lessons.h"
#include "MeasuredCurve.h"
#include "NotesWindow.h"
#include "PackedTransform.h"
#include "Program.h"
#include "RatioRun.h"
#include "Scenario.h"
#include "ShellPath.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QPointF>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <complex>

// Every shipped lesson through File > Lessons and through the program's own
// --lesson --export, in both languages.
class tst_Lessons : public QObject {
    Q_OBJECT
private slots:
    void lesson_data();
    void lesson();
    void titleAndNotesPlain();
    void programNumbers_data();
    void programNumbers();
    void statedNumbers_data();
    void statedNumbers();
    void filteringNumbers_data();
    void filteringNumbers();
    void seriesNumbers_data();
    void seriesNumbers();
    void seriesSavedWithTheLoadedData();
};

namespace {
// chi(R) of a lesson's state summed straight from the formula, in long double,
// at any R: sum over the shells of k^(n-1) sin(2kR_j + P0) / R_j^2, times a
// Hanning window and exp(-2 sigma^2 k^2), on k = 0, 0.1, ... 15.9, with the
// field's factor dk / sqrt(pi).
struct Model {
    int n = 2;
    long double sigma = 0, p0 = 0;
    QVector<QPair<long double, long double>> shells; // R, amplitude
    long double window[4] = {};

    long double hanning(long double k) const {
        const long double pi = 3.14159265358979323846L;
        if (k < window[0] || k >= window[3])
            return 0;
        if (k < window[1])
            return (1 - std::cos(pi * (k - window[0]) / (window[1] - window[0]))) / 2;
        if (k < window[2])
            return 1;
        return (1 + std::cos(pi * (k - window[2]) / (window[3] - window[2]))) / 2;
    }
    std::complex<long double> at(long double r) const {
        const long double dk = 0.1L, pi = 3.14159265358979323846L;
        std::complex<long double> sum = 0;
        for (int i = 0; i < 160; ++i) {
            const long double k = i * dk;
            long double v = 0;
            for (const auto& s : shells)
                v += s.second * std::sin(2 * k * s.first + p0) / (s.first * s.first);
            v *= std::pow(k, n - 1) * hanning(k) * std::exp(-2 * sigma * sigma * k * k);
            sum += v * std::polar(1.0L, 2 * k * r);
        }
        return sum * (dk / std::sqrt(pi));
    }
    // The local maxima of |chi(R)| between 1 and 3 Å, on a 0.002 Å grid.
    QVector<QPointF> maxima() const {
        QVector<QPointF> found;
        long double before = std::abs(at(0.998L)), here = std::abs(at(1.0L));
        for (int i = 1; i <= 1000; ++i) {
            const long double r = 1.0L + i * 0.002L, next = std::abs(at(r));
            if (here > before && here >= next)
                found.append(QPointF(double(r - 0.002L), double(here)));
            before = here;
            here = next;
        }
        return found;
    }
    // The full width of the highest peak at half its height.
    double fwhm() const {
        QPointF top;
        for (const QPointF& m : maxima())
            if (m.y() > top.y())
                top = m;
        double left = top.x(), right = top.x();
        while (std::abs(at(left)) > top.y() / 2)
            left -= 0.001;
        while (std::abs(at(right)) > top.y() / 2)
            right += 0.001;
        return right - left;
    }
};

Model lessonModel(const QString& name) {
    Scenario s;
    Scenario::readFile(Lessons::find(name), Scenario(), &s, nullptr);
    Model m;
    m.n = s.n;
    m.sigma = s.sigma;
    m.p0 = s.phi0;
    m.shells.append({s.r, s.amplitude});
    for (const auto& shell : s.shells)
        m.shells.append({shell.r, shell.amplitude});
    for (int i = 0; i < 4; ++i)
        m.window[i] = s.windowPositions.value(i);
    return m;
}
} // namespace

void tst_Lessons::lesson_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("known");
    const QVector<Lessons::Entry> lessons = Lessons::list();
    QVERIFY(lessons.size() >= 8);
    for (const Lessons::Entry& e : lessons)
        for (const char* language : {"ja", "en"})
            QTest::addRow("%s %s", qPrintable(e.name), language) << e.name << language << true;
    QTest::newRow("unknown") << "no-such-lesson"
                             << "en" << false;
    // A name, not a path: a scenario that exists outside the lessons folder
    // (build/lessons/../../examples) is not opened as a lesson.
    QVERIFY(
        QFileInfo::exists(Lessons::folder() + "/../../examples/iron-narrow-window.tovik.json") ||
        QFileInfo::exists(Lessons::folder() + "/../examples/iron-narrow-window.tovik.json"));
    for (const char* path :
         {"../../examples/iron-narrow-window", "../examples/iron-narrow-window",
          "..\\..\\examples\\iron-narrow-window", "/work/no/../01-r-and-phase", "./01-r-and-phase"})
        QTest::newRow(path) << path << "en" << false;
}

void tst_Lessons::lesson() {
    QFETCH(QString, name);
    QFETCH(QString, language);
    QFETCH(bool, known);
    // Started from elsewhere than the build folder, it finds the lesson and
    // writes all its files, or refuses an unknown one in one line.
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(TOVIK_EXECUTABLE, {"-" + language.left(1), "--lesson", name, "--export", "out"});
    QVERIFY(p.waitForFinished(60000));
    const QString path = Lessons::find(name);
    if (!known) {
        QCOMPARE(p.exitCode(), 1);
        const QByteArray error = p.readAllStandardError();
        QVERIFY2(error.startsWith("tovik: There is no lesson \""), error.constData());
        QVERIFY(error.endsWith('\n') && error.count('\n') == 1);
        QVERIFY(!QFileInfo::exists(dir.filePath("out")));
        QVERIFY(path.isEmpty());
        return;
    }
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    Scenario expected;
    QVERIFY(Scenario::readFile(path, Scenario(), &expected, nullptr));
    // A lesson on mu(E) writes mu.csv and chi-data.chi too, one that
    // filters chiq.csv, one on a series fit.json and the sigma²(T) pictures.
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files).size(),
             (expected.muFile.isEmpty() ? 6 : 8) + (expected.filterShown ? 1 : 0) +
                 (expected.fitDataSets.isEmpty() ? 0 : 3));

    Program program({"tovik", "-" + language.left(1)});
    ChiK& main = *program.main;
    QVERIFY(!expected.notes.en.isEmpty() && !expected.notes.ja.isEmpty());
    // χ, not the capital Χ that reads as X.
    for (const QString& text : {expected.notes.ja, expected.title.ja, expected.notes.en})
        QVERIFY(!text.contains(QChar(0x03a7)));
    for (const QString& shown : {language, QString(language == "ja" ? "en" : "ja")}) {
        // The menu lists it by its title in the interface's language.
        QAction* entry = nullptr;
        for (QAction* a : main.menuLessons->actions())
            if (a->text() == expected.title.in(shown).replace('&', "&&"))
                entry = a;
        QVERIFY(entry);
        if (shown == language) {
            entry->trigger();
            QVERIFY(main.notesWindow && main.notesWindow->isVisible());
        }
        QVERIFY(main.currentState() == expected);
        QCOMPARE(main.notesWindow->NotesText->toPlainText(), expected.notes.in(shown));
        QCOMPARE(main.notesWindow->LessonTitle->text(), expected.title.in(shown));
        main.chooseLanguage(shown == "ja" ? Startup::Language::English
                                          : Startup::Language::Japanese);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }
}

// A lesson's title and notes are its author's words, shown as written: markup
// in them is text, not formatting.
void tst_Lessons::titleAndNotesPlain() {
    NotesWindow w;
    const QString title = "<h1><font color=red>Big</font></h1>";
    const QString notes = "<b><font color=red>bold</font></b>";
    w.setNotes({title, title}, {notes, notes});
    w.resize(500, 300);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.LessonTitle->text(), title);
    QCOMPARE(w.NotesText->toPlainText(), notes);
    const QImage shown = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 80 && c.blue() < 80;
        }
    QCOMPARE(red, 0);
}

void tst_Lessons::statedNumbers_data() {
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QString>("statedEn"); // in the English notes
    QTest::addColumn<QString>("statedJa"); // in the Japanese notes
    QTest::addColumn<QString>("check");
    QTest::newRow("01 the imaginary part flips") << "01-r-and-phase"
                                                 << "sign of the imaginary part"
                                                 << "虚部の符号"
                                                 << "flip";
    QTest::newRow("04 steep edges: side lobes a fifth")
        << "04-window-and-k-range"
        << "about a fifth of the peak, near 1.2 and 2.8 Å"
        << "5 分の 1"
        << "steep";
    QTest::newRow("04 smooth edges: none, broader") << "04-window-and-k-range"
                                                    << "(3, 5, 7, 9) leave none there"
                                                    << "3、5、7、9 ではそこにサイドローブはなく"
                                                    << "smooth";
    QTest::newRow("06 width 0.34, product 1.3 pi")
        << "06-reading-values"
        << "about 0.34 Å and a product near 4, about 1.3 π"
        << "0.34 Å"
        << "fwhm";
    QTest::newRow("06 pi/(2 dk) 0.13") << "06-reading-values"
                                       << "π/(2Δk), here 0.13 Å"
                                       << "0.13 Å"
                                       << "limit";
    QTest::newRow("07 outer peak 0.69") << "07-resolution"
                                        << "0.69 of the inner one's"
                                        << "0.69 倍"
                                        << "ratio";
    QTest::newRow("07 wide window: 1.99 and 2.43") << "07-resolution"
                                                   << "at 1.99 and 2.43 Å"
                                                   << "1.99 Å と 2.43 Å"
                                                   << "wide";
    QTest::newRow("07 0.2 apart at 3-12: 1.86 and 2.39")
        << "07-resolution"
        << "at 1.86 and 2.39 Å, 0.14 and 0.19 Å off"
        << "1.86 Å と 2.39 Å"
        << "near limit";
    QTest::newRow("07 0.2 apart, wide: 1.96 and 2.26") << "07-resolution"
                                                       << "at 1.96 and 2.26 Å"
                                                       << "1.96 Å と 2.26 Å"
                                                       << "wide 0.2";
}

// Every number a lesson states, computed again from the formula with the
// lesson's own parameters.
void tst_Lessons::statedNumbers() {
    QFETCH(QString, lesson);
    QFETCH(QString, statedEn);
    QFETCH(QString, statedJa);
    QFETCH(QString, check);
    Scenario s;
    QVERIFY(Scenario::readFile(Lessons::find(lesson), Scenario(), &s, nullptr));
    QVERIFY2(s.notes.en.contains(statedEn), qPrintable(statedEn));
    QVERIFY2(s.notes.ja.contains(statedJa), qPrintable(statedJa));
    Model m = lessonModel(lesson);
    auto near = [](const QPointF& p, double r) { return std::abs(p.x() - r) < 0.006; };
    if (check == "flip") {
        const long double r = m.shells[0].first;
        const auto before = m.at(r);
        m.p0 = 3.1L;
        const auto after = m.at(r);
        QVERIFY(before.imag() > 0.98L * std::abs(before) &&
                after.imag() < -0.98L * std::abs(after));
        QVERIFY(std::abs(before.real()) < 0.05L * std::abs(before));
        QVERIFY(std::abs(std::abs(after) - std::abs(before)) < 0.001L * std::abs(before));
    } else if (check == "steep" || check == "smooth") {
        const long double steep[4] = {3, 3.1L, 8.9L, 9}, smooth[4] = {3, 5, 7, 9};
        std::copy(steep, steep + 4, m.window);
        const double steepWidth = m.fwhm();
        const QVector<QPointF> steepMaxima = m.maxima();
        std::copy(smooth, smooth + 4, m.window);
        const double smoothWidth = m.fwhm();
        const QVector<QPointF> smoothMaxima = m.maxima();
        if (check == "steep") {
            QCOMPARE(steepMaxima.size(), 3);
            const double peak = steepMaxima[1].y();
            for (int side : {0, 2}) {
                QVERIFY(steepMaxima[side].y() / peak > 0.17 && steepMaxima[side].y() / peak < 0.23);
                QVERIFY(std::abs(steepMaxima[side].x() - (side ? 2.8 : 1.2)) < 0.05);
            }
        } else {
            QCOMPARE(smoothMaxima.size(), 1);
            QVERIFY(smoothWidth > 1.2 * steepWidth);
        }
    } else if (check == "fwhm") {
        const double width = m.fwhm();
        QVERIFY2(std::abs(width - 0.34) < 0.01, qPrintable(QString::number(width)));
        QVERIFY(std::abs(width * 12 / M_PI - 1.3) < 0.05);
    } else if (check == "limit") {
        // Delta k between the window's half heights.
        const double dk = (m.window[2] + m.window[3] - m.window[0] - m.window[1]) / 2;
        QCOMPARE(dk, 12.0);
        QVERIFY(std::abs(M_PI / (2 * dk) - 0.13) < 0.005);
    } else if (check == "ratio") {
        Model inner = m, outer = m;
        inner.shells = {m.shells[0]};
        outer.shells = {m.shells[1]};
        const double ratio = double(std::abs(outer.at(outer.shells[0].first)) /
                                    std::abs(inner.at(inner.shells[0].first)));
        QVERIFY2(std::abs(ratio - 0.69) < 0.005, qPrintable(QString::number(ratio)));
    } else {
        if (check != "wide")
            m.shells[1].first = 2.2L;
        if (check == "near limit") {
            const long double narrower[4] = {3, 4, 11, 12};
            std::copy(narrower, narrower + 4, m.window);
        }
        const double expected[3][2] = {{1.99, 2.43}, {1.86, 2.39}, {1.96, 2.26}};
        const int row = check == "wide" ? 0 : check == "near limit" ? 1 : 2;
        QVector<QPointF> top = m.maxima();
        std::sort(top.begin(), top.end(), [](QPointF a, QPointF b) { return a.y() > b.y(); });
        QVERIFY(top.size() >= 2);
        const double low = std::min(top[0].x(), top[1].x()),
                     high = std::max(top[0].x(), top[1].x());
        QVERIFY2(near(QPointF(low, 0), expected[row][0]) &&
                     near(QPointF(high, 0), expected[row][1]),
                 qPrintable(QString("%1 %2").arg(low).arg(high)));
    }
}

// Every number a lesson's notes state about the program's results, as the
// program gives it: the lesson opened as a user opens it, other data opened
// through File, the fit run as the Fit window runs it. Each row names the
// text it checks, which must be in both languages' notes.
void tst_Lessons::programNumbers_data() {
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<QString>("data"); // opened after the lesson; empty: its own
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("stated");
    QTest::addColumn<double>("within");
    QTest::addColumn<QString>("text");
    const QString theory = QStringLiteral("10-theory-for-the-shell");
    const QString copper = QStringLiteral("11-fitting-copper");
    const QString warm = QStringLiteral("11-copper-150K.chi");
    QTest::newRow("10 neighbours") << theory << ""
                                   << "degeneracy" << 12.0 << 0.0 << "12";
    QTest::newRow("10 reff") << theory << ""
                             << "reff" << 2.548 << 0.0005 << "2.548 Å";
    QTest::newRow("10 N·S0²") << theory << ""
                              << "amplitude" << 10.8 << 1e-12 << "10.8";
    QTest::newRow("10 peak") << theory << ""
                             << "peakR" << 2.25 << 0.05 << "2.25 Å";
    QTest::newRow("10 short by") << theory << ""
                                 << "shortBy" << 0.3 << 0.05 << "0.3 Å";
    const struct {
        const char* name;
        const char* data;
        const char* quantity;
        double stated, within;
        const char* text;
    } fits[] = {
        {"11 10 K R", "", "R", 2.549, 0.0005, "2.549 ± 0.002 Å"},
        {"11 10 K R error", "", "R error", 0.002, 0.0005, "2.549 ± 0.002 Å"},
        {"11 10 K N·S0²", "", "amplitude", 10.9, 0.05, "10.9 ± 0.4"},
        {"11 10 K N·S0² error", "", "amplitude error", 0.4, 0.05, "10.9 ± 0.4"},
        {"11 10 K sigma²", "", "sigma2", 0.0035, 0.00005, "0.0035 ± 0.0002 Å²"},
        {"11 10 K sigma² error", "", "sigma2 error", 0.0002, 0.00005, "0.0035 ± 0.0002 Å²"},
        {"11 10 K dE0", "", "dE0", 5.6, 0.05, "5.6 ± 0.5 eV"},
        {"11 10 K dE0 error", "", "dE0 error", 0.5, 0.05, "5.6 ± 0.5 eV"},
        {"11 10 K A–sigma", "", "amplitude sigma", 0.90, 0.005, "0.90"},
        {"11 10 K R–dE0", "", "R dE0", 0.88, 0.005, "0.88"},
        {"11 150 K R", "11-copper-150K.chi", "R", 2.550, 0.0005, "2.550 ± 0.003 Å"},
        {"11 150 K R error", "11-copper-150K.chi", "R error", 0.003, 0.0005, "2.550 ± 0.003 Å"},
        {"11 150 K N·S0²", "11-copper-150K.chi", "amplitude", 11.0, 0.05, "11.0 ± 0.5"},
        {"11 150 K N·S0² error", "11-copper-150K.chi", "amplitude error", 0.5, 0.05, "11.0 ± 0.5"},
        {"11 150 K sigma²", "11-copper-150K.chi", "sigma2", 0.0052, 0.00005, "0.0052 ± 0.0003 Å²"},
        {"11 150 K sigma² error", "11-copper-150K.chi", "sigma2 error", 0.0003, 0.00005,
         "0.0052 ± 0.0003 Å²"},
        {"11 150 K dE0", "11-copper-150K.chi", "dE0", 5.4, 0.05, "5.4 ± 0.5 eV"},
        {"11 150 K dE0 error", "11-copper-150K.chi", "dE0 error", 0.5, 0.05, "5.4 ± 0.5 eV"},
        {"11 reff", "", "reff", 2.548, 0.0005, "2.548 Å"},
    };
    for (const auto& f : fits)
        QTest::newRow(f.name) << copper << (f.data[0] ? warm : QString()) << f.quantity << f.stated
                              << f.within << f.text;
}

void tst_Lessons::programNumbers() {
    QFETCH(QString, lesson);
    QFETCH(QString, data);
    QFETCH(QString, quantity);
    QFETCH(double, stated);
    QFETCH(double, within);
    QFETCH(QString, text);
    const QString path = Lessons::find(lesson);
    QVERIFY(!path.isEmpty());
    Program program;
    ChiK& main = *program.main;
    QVERIFY(main.files->openScenarioFile(path));
    QVERIFY(main.notes.en.contains(text) && main.notes.ja.contains(text));
    if (!data.isEmpty())
        QVERIFY(main.files->openDataFile(QFileInfo(path).dir().filePath(data)));
    AWave& wave = *program.wave();
    QVERIFY(wave.path);
    double got = 0;
    if (quantity == "degeneracy") {
        got = wave.path->chi.path().degeneracy;
    } else if (quantity == "reff") {
        got = wave.path->chi.path().reff;
    } else if (quantity == "amplitude" && main.measured->values.isEmpty()) {
        got = wave.amplitude;
        QCOMPARE(wave.path->chi.defaults().amplitude, wave.amplitude);
    } else if (quantity == "peakR" || quantity == "shortBy") {
        int best = 1;
        for (int j = 1; j < wave.fftLength / 2; ++j)
            if (wave.magnitude(wave.chiSpectrum.get(), j) >
                wave.magnitude(wave.chiSpectrum.get(), best))
                best = j;
        const double peak = best * wave.binWidthR();
        got = quantity == "peakR" ? peak : wave.r - peak;
    } else {
        const FitRun run = runFit(wave, *main.measured, main.fitVary, main.fitRMin, main.fitRMax);
        QVERIFY2(run.result.ok, qPrintable(run.result.error.text()));
        const QStringList names = fit::FitProblem::names();
        auto at = [&](const QString& name) { return size_t(names.indexOf(name)); };
        const QStringList words = quantity.split(' ');
        if (words.value(1) == "error") {
            const double value =
                run.result.best[at(words[0] == "sigma2" ? "sigma" : words[0])].value;
            const double error = run.result.errors[at(words[0] == "sigma2" ? "sigma" : words[0])];
            got = words[0] == "sigma2" ? 2 * value * error : error;
        } else if (words.size() == 2) {
            bool found = false;
            for (const fit::Correlation& c : run.result.correlations)
                if ((c.first == words[0] && c.second == words[1]) ||
                    (c.first == words[1] && c.second == words[0])) {
                    got = c.value;
                    found = true;
                }
            QVERIFY(found);
        } else {
            const double value =
                run.result.best[at(words[0] == "sigma2" ? "sigma" : words[0])].value;
            got = words[0] == "sigma2" ? value * value : value;
        }
    }
    QVERIFY2(std::abs(got - stated) <= within, qPrintable(QStringLiteral("%1: %2, the notes say %3")
                                                              .arg(quantity)
                                                              .arg(got, 0, 'g', 8)
                                                              .arg(stated)));
}

void tst_Lessons::filteringNumbers_data() {
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("stated");
    QTest::addColumn<double>("within");
    QTest::addColumn<QString>("shown"); // in both languages' notes
    const struct {
        const char* quantity;
        double stated, within;
        const char* shown;
    } rows[] = {
        {"ratio deltaSigma2", 0.00166, 0.000005, "0.00166 ± 0.00005 Å²"},
        {"ratio deltaSigma2 error", 0.00005, 0.000005, "0.00166 ± 0.00005 Å²"},
        {"ratio lnAmplitudeRatio", 0.000, 0.0005, "0.000 ± 0.009"},
        {"ratio lnAmplitudeRatio error", 0.009, 0.0005, "0.000 ± 0.009"},
        {"ratio deltaR", -0.003, 0.0005, "ΔR = −0.003 ± 0.001 Å"},
        {"ratio deltaR error", 0.001, 0.0005, "ΔR = −0.003 ± 0.001 Å"},
        {"fits difference", 0.0017, 0.00005, "0.0017 Å²"},
        {"fits difference error", 0.0004, 0.00005, "0.0004 Å²"},
        {"standard sigma2", 0.00516, 0.000005, "0.00516 ± 0.00031 Å²"},
        {"standard sigma2 error", 0.00031, 0.000005, "0.00516 ± 0.00031 Å²"},
        {"standard deltaSigma2", 0.00165, 0.000005, "Δσ² = 0.00165 Å²"},
        {"standard R", 2.548, 0.0005, "R = 2.548 ± 0.003 Å"},
        {"standard R error", 0.003, 0.0005, "R = 2.548 ± 0.003 Å"},
        {"standard amplitude", 10.9, 0.05, "N·S0² = 10.9 ± 0.5"},
        {"standard amplitude error", 0.5, 0.05, "N·S0² = 10.9 ± 0.5"},
    };
    for (const auto& r : rows)
        QTest::newRow(r.quantity) << r.quantity << r.stated << r.within << r.shown;
}

// Lesson 13's numbers: the ratio method on the two copper measurements as
// --ratio and the Ratio window run it, the difference of lesson 11's two
// fits, and the fit of the 150 K data on the 10 K data as a measured
// standard, made as the lesson tells.
void tst_Lessons::filteringNumbers() {
    QFETCH(QString, quantity);
    QFETCH(double, stated);
    QFETCH(double, within);
    QFETCH(QString, shown);
    const QString lesson = Lessons::find(QStringLiteral("13-fourier-filtering"));
    QVERIFY(!lesson.isEmpty());
    const QDir folder = QFileInfo(lesson).dir();
    const QString cold = folder.filePath(QStringLiteral("11-copper-10K.chi"));
    const QString warm = folder.filePath(QStringLiteral("11-copper-150K.chi"));
    Program program;
    ChiK& main = *program.main;
    AWave& wave = *program.wave();
    const QStringList words = quantity.split(' ');
    const bool error = words.value(2) == QLatin1String("error");
    const QStringList names = fit::FitProblem::names();
    // sigma² and its error from a fit's sigma.
    const auto sigma2 = [&](const FitRun& run, double* err) {
        const size_t i = size_t(names.indexOf(QStringLiteral("sigma")));
        const double s = run.result.best[i].value;
        *err = 2 * s * run.result.errors[i];
        return s * s;
    };
    double got = 0;
    if (words[0] == QLatin1String("ratio")) {
        QVERIFY(main.files->openScenarioFile(lesson));
        QVector<double> k1, chi1, k2, chi2;
        QVERIFY(ChiDataReader::readFile(warm, &k1, &chi1, nullptr));
        QVERIFY(ChiDataReader::readFile(cold, &k2, &chi2, nullptr));
        FilteredCurves filter;
        const ChiR& chiR = *program.chiR();
        const RatioRun run = runRatio(filter, wave, k1, chi1, k2, chi2, chiR.rWindow,
                                      chiR.ratioKMin, chiR.ratioKMax);
        QVERIFY2(run.ok, qPrintable(run.error));
        const QJsonObject value = run.report().value(words[1]).toObject();
        got = value.value(error ? "error" : "value").toDouble();
    } else if (words[0] == QLatin1String("fits")) {
        QVERIFY(main.files->openScenarioFile(Lessons::find(QStringLiteral("11-fitting-copper"))));
        double e1 = 0, e2 = 0;
        const FitRun coldFit =
            runFit(wave, *main.measured, main.fitVary, main.fitRMin, main.fitRMax);
        QVERIFY(coldFit.result.ok);
        QVERIFY(main.files->openDataFile(warm));
        const FitRun warmFit =
            runFit(wave, *main.measured, main.fitVary, main.fitRMin, main.fitRMax);
        QVERIFY(warmFit.result.ok);
        const double difference = sigma2(warmFit, &e2) - sigma2(coldFit, &e1);
        got = error ? std::hypot(e1, e2) : difference;
    } else {
        QVERIFY(main.files->openScenarioFile(lesson));
        QCOMPARE(main.files->makeStandard(12, 2.549, 0.0592, QString()), QString());
        QVERIFY(wave.path && wave.path->standard && wave.path->standard->file == cold);
        QVERIFY(main.files->openDataFile(warm));
        const FitRun run = runFit(wave, *main.measured, main.fitVary, main.fitRMin, main.fitRMax);
        QVERIFY2(run.result.ok, qPrintable(run.result.error.text()));
        double err = 0;
        if (words[1] == QLatin1String("sigma2") || words[1] == QLatin1String("deltaSigma2")) {
            got = sigma2(run, &err);
            if (words[1] == QLatin1String("deltaSigma2"))
                got -= 0.0592 * 0.0592;
        } else {
            const size_t i = size_t(names.indexOf(words[1]));
            got = run.result.best[i].value;
            err = run.result.errors[i];
        }
        if (error)
            got = err;
    }
    Scenario s;
    QVERIFY(Scenario::readFile(lesson, Scenario(), &s, nullptr));
    QVERIFY2(s.notes.en.contains(shown) && s.notes.ja.contains(shown), qPrintable(shown));
    QVERIFY2(std::abs(got - stated) <= within, qPrintable(QStringLiteral("%1: %2, the notes say %3")
                                                              .arg(quantity)
                                                              .arg(got, 0, 'g', 8)
                                                              .arg(stated)));
}

namespace {
// The program's report of `--fit` on lesson 12, or on a copy of it that keeps
// data set `only` alone (-1: both), as a user runs it.
QJsonObject seriesReport(int only) {
    static QMap<int, QJsonObject> reports;
    if (reports.contains(only))
        return reports[only];
    const QString lesson = Lessons::find(QStringLiteral("12-temperature-series"));
    QStringList arguments{"-e", "--fit", "--scenario", lesson};
    QTemporaryDir dir;
    if (only >= 0) {
        Scenario s;
        if (!Scenario::readFile(lesson, Scenario(), &s, nullptr))
            return {};
        s.fitDataSets = {s.fitDataSets.value(only)};
        s.dataFile = s.fitDataSets[0].dataFile;
        arguments.last() = dir.filePath("one.tovik.json");
        if (!s.writeFile(arguments.last(), nullptr))
            return {};
    }
    QProcess p;
    p.start(QStringLiteral(TOVIK_EXECUTABLE), arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return reports[only] = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}
} // namespace

void tst_Lessons::seriesNumbers_data() {
    QTest::addColumn<int>("only"); // the data set fitted alone; -1 both
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("stated");
    QTest::addColumn<double>("within");
    QTest::addColumn<QString>("text");
    const struct {
        const char* name;
        int only;
        const char* quantity;
        double stated, within;
        const char* text;
    } rows[] = {
        {"thetaE", -1, "thetaE", 232, 0.5, "θ_E = 232 ± 5 K"},
        {"thetaE error", -1, "thetaE error", 5, 0.5, "θ_E = 232 ± 5 K"},
        {"sigma² 10 K", -1, "sigma2 0", 0.00329, 0.000005, "0.00329 ± 0.00007 Å²"},
        {"sigma² 10 K error", -1, "sigma2 error 0", 0.00007, 0.000005, "0.00329 ± 0.00007 Å²"},
        {"sigma² 150 K", -1, "sigma2 1", 0.0051, 0.00005, "0.0051 ± 0.0002 Å²"},
        {"sigma² 150 K error", -1, "sigma2 error 1", 0.0002, 0.00005, "0.0051 ± 0.0002 Å²"},
        {"N·S0²", -1, "amplitude", 10.8, 0.05, "10.8 ± 0.3"},
        {"N·S0² error", -1, "amplitude error", 0.3, 0.05, "10.8 ± 0.3"},
        {"R", -1, "R", 2.549, 0.0005, "2.549 ± 0.002 Å"},
        {"R error", -1, "R error", 0.002, 0.0005, "2.549 ± 0.002 Å"},
        {"dE0", -1, "dE0", 5.4, 0.05, "5.4 ± 0.3 eV"},
        {"dE0 error", -1, "dE0 error", 0.3, 0.05, "5.4 ± 0.3 eV"},
        {"N·S0²–thetaE", -1, "amplitude thetaE", -0.86, 0.005, "−0.86"},
        {"10 K alone", 0, "thetaE", 219, 0.5, "θ_E = 219 ± 15 K"},
        {"10 K alone error", 0, "thetaE error", 15, 0.5, "θ_E = 219 ± 15 K"},
        {"150 K alone", 1, "thetaE", 229, 0.5, "229 ± 8 K"},
        {"150 K alone error", 1, "thetaE error", 8, 0.5, "229 ± 8 K"},
        {"reduced mass", -1, "reducedMass", 31.773, 0.0005, "μ = 31.773 u"},
    };
    for (const auto& r : rows)
        QTest::newRow(r.name) << r.only << r.quantity << r.stated << r.within << r.text;
}

// Every number lesson 12's notes state about the series, as `tovik --fit`
// reports it (the numbers it quotes from lesson 11 are checked there), and
// the Cu–Cu reduced mass it names, as the program reads it from the path.
void tst_Lessons::seriesNumbers() {
    QFETCH(int, only);
    QFETCH(QString, quantity);
    QFETCH(double, stated);
    QFETCH(double, within);
    QFETCH(QString, text);
    Scenario s;
    QVERIFY(Scenario::readFile(Lessons::find("12-temperature-series"), Scenario(), &s, nullptr));
    QVERIFY2(s.notes.en.contains(text) && s.notes.ja.contains(text), qPrintable(text));
    double got = 0;
    if (quantity == "reducedMass") {
        QCOMPARE(s.fitReducedMass, 63.546 / 2);
        QString error;
        const ShellPathPtr path = ShellPath::load(s.pathFile, &error);
        QVERIFY2(path, qPrintable(error));
        got = path->chi.path().reducedMass;
    } else {
        const QJsonObject report = seriesReport(only);
        QVERIFY(!report.isEmpty());
        QCOMPARE(report.value("datasets").toArray().size(), only < 0 ? 2 : 1);
        const QStringList words = quantity.split(' ');
        const QJsonObject p = report.value("parameters").toObject();
        if (words[0] == "sigma2") {
            const QJsonObject v = report.value("datasets")
                                      .toArray()
                                      .at(words.last().toInt())
                                      .toObject()
                                      .value("sigma2")
                                      .toObject();
            got = v.value(words.value(1) == "error" ? "error" : "value").toDouble();
        } else if (words.value(1) == "error") {
            got = p.value(words[0]).toObject().value("error").toDouble();
        } else if (words.size() == 2) {
            bool found = false;
            for (const QJsonValue c : report.value("correlations").toArray()) {
                const QJsonArray a = c.toArray();
                if (QStringList{a[0].toString(), a[1].toString()} == words) {
                    got = a[2].toDouble();
                    found = true;
                }
            }
            QVERIFY(found);
        } else {
            got = p.value(words[0]).toObject().value("value").toDouble();
        }
    }
    QVERIFY2(std::abs(got - stated) <= within, qPrintable(QStringLiteral("%1: %2, the notes say %3")
                                                              .arg(quantity)
                                                              .arg(got, 0, 'g', 8)
                                                              .arg(stated)));
}

// Lesson 12 saved after other data were opened: the file keeps the series,
// with the data now loaded as its first set, and opens again as saved.
void tst_Lessons::seriesSavedWithTheLoadedData() {
    const QString path = Lessons::find("12-temperature-series");
    Program program;
    ChiK& main = *program.main;
    QVERIFY(main.files->openScenarioFile(path));
    const QString other = QFileInfo(path).dir().filePath("08-measured-data.chi");
    const QString warm = QFileInfo(path).dir().filePath("11-copper-150K.chi");
    QVERIFY(main.files->openDataFile(other));
    QTemporaryDir dir;
    const QString saved = dir.filePath("series.tovik.json");
    QVERIFY(main.files->saveScenarioFile(saved));
    Scenario read;
    QString error;
    QVERIFY2(Scenario::readFile(saved, Scenario(), &read, &error), qPrintable(error));
    QCOMPARE(read.fitDataSets.size(), 2);
    QCOMPARE(read.fitDataSets[0].dataFile, other);
    QCOMPARE(read.fitDataSets[0].temperature, 10.0);
    QCOMPARE(read.fitDataSets[1].dataFile, warm);
    QCOMPARE(read.dataFile, other);
    QVERIFY(read.fitSigmaModel == Scenario::SigmaModelChoice::Einstein);
    QCOMPARE(read.fitReducedMass, 63.546 / 2);
    QVERIFY(main.files->openScenarioFile(saved));
    QVERIFY(main.currentState() == read);
}

QTEST_MAIN(tst_Lessons)
#include "tst_Lessons.moc"
