#pragma once

#include "ParameterTable.h"
#include "Shell.h"

#include <QCoreApplication>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>

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
    // amplitude relative to the main shell's. A file without "shells" has
    // none, whatever the base.
    using ExtraShell = Shell;
    QVector<ExtraShell> shells;
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
    // "fit": what a fit varies and the R range it compares, written only
    // when a file had it.
    bool hasFit = false;
    QStringList fitVary = defaultFitVary();
    double fitRMin = 1.0;
    double fitRMax = 3.0;
    // "filter": the Fourier filter's R window (Å, four increasing
    // positions, the k window's shape), whether the filtered chi(q) is
    // shown, and the k range (Å^-1) the ratio method fits its lines over.
    // The defaults take copper's first shell.
    QVector<double> filterRWindow{1.7, 1.9, 2.8, 3.0};
    bool filterShown = false;
    double ratioKMin = 4.0;
    double ratioKMax = 12.0;
    // The names "vary" may hold.
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
    // The data file's path as a file in `folder` records it, and back.
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
