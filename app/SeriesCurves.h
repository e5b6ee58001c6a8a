#pragma once

#include "Legend.h"
#include "PlotTrace.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

class AWave;
class MeasuredCurve;
struct TransformTraces;

// The data sets of a series and their fitted models on both plots, each in
// its own colour (Palette::dataSet), while "Show all data sets" is on. The
// first set is the loaded data, which the plots draw anyway: of it only the
// model is added. Data and models are processed on the wave's grid as the
// measured data are, after every change of the wave.
class SeriesCurves : public QObject {
    Q_OBJECT
public:
    struct Set {
        QString name;
        QVector<double> k, chi; // as read; empty for the first set
        // The model's values in fitOrder() from the last series fit; empty
        // when none was fitted.
        std::vector<double> model;
    };

    explicit SeriesCurves(QObject* parent = nullptr);
    ~SeriesCurves() override;

    void setSets(const QVector<Set>& sets);
    void setShown(bool shown);
    bool isShown() const { return shown; }
    const QVector<Set>& sets() const { return all; }

    // The traces for the chi(k) plot, or with its bins the chi(R) plot;
    // none while hidden or in the other amplitude mode than processed.
    QVector<PlotTrace> traces(const TransformTraces* r = nullptr) const;
    QVector<Legend::Entry> entries() const;
    // The processed values drawn on chi(k) (for the value range).
    QVector<QVector<double>> values() const;

public slots:
    void process(const AWave* wave);

signals:
    void changed();

private:
    struct Processed {
        std::unique_ptr<MeasuredCurve> data; // null for the first set
        QVector<double> model;               // on the grid, as the data
        std::vector<double> modelSpectrum;
    };
    void processSet(int i);

    QVector<Set> all;
    std::vector<Processed> processed;
    const AWave* wave = nullptr;
    bool shown = false;
};
