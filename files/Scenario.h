#pragma once

#include "AbsorptionResult.h"
#include "MuReader.h"
#include "ParameterTable.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <limits>
#include <optional>

// A text written in both interface languages; either may be empty.
struct LocalText {
    QString en;
    QString ja;

    // The text in `language` ("en" or "ja"), or the other one when that
    // one is all there is.
    QString in(const QString& language) const;
    bool isEmpty() const { return en.isEmpty() && ja.isEmpty(); }
    bool operator==(const LocalText& o) const { return en == o.en && ja == o.ja; }
    bool operator!=(const LocalText& o) const { return !(*this == o); }
};

// Everything a user can set, as plain values: the wave's parameters and
// factor switches, the window positions, the envelope points and the chi(R)
// window's selections and pointer. Read from and written to scenario files
// (JSON, "tovik-scenario", version 1). A default-constructed one is the
// program's start-up state.
struct Scenario {
    Q_DECLARE_TR_FUNCTIONS(Scenario)

public:
    int n = KWeight::defaultValue;
    double r = parameterRow(ModelParameter::R).defaultValue;
    double phi0 = parameterRow(ModelParameter::P0).defaultValue;
    double phi1 = parameterRow(ModelParameter::P1).defaultValue; // linear phase, Å
    double phi2 = parameterRow(ModelParameter::P2).defaultValue;
    double sigma = parameterRow(ModelParameter::Sigma).defaultValue;
    double amplitude = parameterRow(ModelParameter::Amplitude).defaultValue; // N * S0^2, main shell
    double deltaE0 = parameterRow(ModelParameter::DeltaE0).defaultValue;     // eV, with a path
    // The value of one of the above by its row.
    double parameter(ModelParameter p) const;
    void setParameter(ModelParameter p, double value);
    bool envelopeOn = true;
    bool windowOn = true;
    bool debyeWallerOn = true;
    QVector<double> windowPositions{3, 4, 15, 16};
    // 17, k strictly increasing; flat at 1 on the whole k at start.
    QVector<QPointF> envelopePoints = [] {
        QVector<QPointF> points;
        for (int k = 0; k <= 16; ++k)
            points.append(QPointF(k, 1.0));
        return points;
    }();
    // Extra shells beside the main one, at most Shell::maxExtra: R (Å) and the
    // amplitude relative to the main shell's, and a scattering path's file
    // with that shell's own sigma (Å) and E0 shift (eV). A file without
    // "shells" has none, whatever the base.
    struct ExtraShell {
        ExtraShell() = default;
        // A shell without a path.
        ExtraShell(double r_, double amplitude_) : r(r_), amplitude(amplitude_) {}

        double r = 0;
        double amplitude = 1;
        QString pathFile; // empty for none
        double sigma = parameterRow(ModelParameter::Sigma).defaultValue;
        double deltaE0 = parameterRow(ModelParameter::DeltaE0).defaultValue;
        // Sigma and dE0 count only with a path, as in the model.
        bool operator==(const ExtraShell& o) const {
            return r == o.r && amplitude == o.amplitude && pathFile == o.pathFile &&
                   (pathFile.isEmpty() || (sigma == o.sigma && deltaE0 == o.deltaE0));
        }
        bool operator!=(const ExtraShell& o) const { return !(*this == o); }
    };
    QVector<ExtraShell> shells;
    // The main shell's scattering path file, empty for the hand-drawn
    // envelope. Written relative to the scenario's folder like dataFile.
    QString pathFile;
    bool showReal = false;
    bool showImag = false;
    bool showAbs = true;
    bool showEnvelope = true;
    bool showWindow = true;
    bool showWave = true;
    bool showTotal = true;
    double pointerR = 2.0;
    // How both plots are drawn: numbered axes, a key to the curves, the
    // formula's own amplitudes instead of normalised ones, value ranges held.
    bool viewAxes = false;
    bool viewLegend = false;
    bool viewPhysical = false;
    bool viewLockScales = false;
    // Measured chi(k) shown with the model: a file path, empty for none. In
    // a file it is written relative to the scenario's folder where it can be.
    QString dataFile;
    // "absorption": a measured mu(E) made into the measured chi(k) in place
    // of a data file: its path (empty for none; relative to the scenario in
    // a file), the columns chosen (none: the layout the file declares) and
    // the processing's settings.
    QString muFile;
    std::optional<MuColumns> muColumns;
    AbsorptionSettings absorption;
    // "fit": what a fit varies and the R range it compares, written only
    // when a file had it.
    bool hasFit = false;
    QStringList fitVary = defaultFitVary();
    double fitRMin = 1.0;
    double fitRMax = 3.0;
    // A series fitted together ("datasets" under "fit"): every data set,
    // the first being the one loaded as the measured data. Each is a chi(k)
    // file or a mu(E) file with its processing (paths relative to the
    // scenario's folder in a file), with its temperature in K (NaN: none
    // given). Empty: the one loaded data set alone.
    struct DataSetEntry {
        QString dataFile;
        QString muFile;
        std::optional<MuColumns> muColumns;
        AbsorptionSettings absorption;
        double temperature = std::numeric_limits<double>::quiet_NaN();
        bool operator==(const DataSetEntry& o) const;
        bool operator!=(const DataSetEntry& o) const { return !(*this == o); }
    };
    QVector<DataSetEntry> fitDataSets;
    static constexpr int maxDataSets = 50;
    // "sigmaModel": sigma free (shared or per data set) or sigma² from the
    // Einstein model at each set's temperature.
    enum class SigmaModelChoice { Free, Einstein };
    SigmaModelChoice fitSigmaModel = SigmaModelChoice::Free;
    // "perDataset": the model's names fitted per data set.
    QStringList fitPerDataset;
    // The series' starts and its pair: the Einstein temperature (K), the
    // static sigma² (Å²), the reduced mass (u; 0 takes the main path file's
    // two atoms), and linear thermal expansion of R (alpha, 1/K).
    double fitThetaE = 300;
    double fitSigma2Static = 0;
    double fitReducedMass = 0;
    bool fitThermalExpansion = false;
    double fitAlpha = 0;
    // "filter": the Fourier filter's R window (Å, four increasing
    // positions, the k window's shape), whether the filtered chi(q) is
    // shown, and the k range (Å^-1) the ratio method fits its lines over.
    // The defaults take copper's first shell.
    QVector<double> filterRWindow{1.7, 1.9, 2.8, 3.0};
    bool filterShown = false;
    double ratioKMin = 4.0;
    double ratioKMax = 12.0;
    // The names "vary" may hold: the model's and the series' own
    // (SeriesParameter).
    static const QStringList& fitParameterNames();
    // Those a fit varies unless told otherwise.
    static QStringList defaultFitVary();
    // A lesson's title and its notes for the student (plain text, blank
    // lines between paragraphs). Like the shells, a file without them has
    // none, whatever the base.
    LocalText title;
    LocalText notes;
    static constexpr int maxTextLength = 20000;

    static constexpr int formatVersion = 1;
    static constexpr qint64 maxFileSize = 1 << 20;

    // The state over `base`: keys that are missing keep base's values,
    // unknown keys are ignored. On any fault returns false, leaves `result`
    // as it was and puts one translated sentence naming the field (and the
    // allowed range) into `error`.
    static bool fromJson(const QByteArray& text, const Scenario& base, Scenario* result,
                         QString* error);
    QByteArray toJson() const;
    // The data file's path as a file in `folder` records it, and back
    // (the same for path files).
    QString dataFileFrom(const QString& folder) const;
    static QString dataFileIn(const QString& folder, const QString& recorded);

    // Files: at most maxFileSize bytes read; written atomically, so a failed
    // save leaves an existing file whole.
    static bool readFile(const QString& path, const Scenario& base, Scenario* result,
                         QString* error);
    bool writeFile(const QString& path, QString* error) const;

    bool operator==(const Scenario& other) const;
    bool operator!=(const Scenario& other) const { return !(*this == other); }
};

bool operator==(const MuColumns& a, const MuColumns& b);
bool operator==(const AbsorptionSettings& a, const AbsorptionSettings& b);
