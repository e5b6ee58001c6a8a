#include "SeriesRun.h"

#include "AWave.h"
#include "AbsorptionState.h"
#include "ChiDataReader.h"
#include "FitRun.h"
#include "MeasuredCurve.h"

#include <QFileInfo>

QString SeriesSet::name() const {
    return QFileInfo(entry.muFile.isEmpty() ? entry.dataFile : entry.muFile).fileName();
}

bool SeriesRun::load(const Scenario::DataSetEntry& entry, SeriesSet* out, QString* error) {
    SeriesSet set;
    set.entry = entry;
    if (!entry.muFile.isEmpty()) {
        AbsorptionState::Loaded mu;
        if (!AbsorptionState::load(entry.muFile, entry.muColumns, entry.absorption, &mu, error))
            return false;
        set.k = mu.result.k;
        set.chi = mu.result.chi;
    } else if (!ChiDataReader::readFile(entry.dataFile, &set.k, &set.chi, error)) {
        return false;
    }
    // A fit compares over the data's k range: it needs two points at least.
    if (set.k.size() < 2) {
        *error = tr("It holds fewer than two points of chi(k).");
        return false;
    }
    *out = set;
    return true;
}

SeriesRun::Run SeriesRun::run(const AWave& wave, const MeasuredCurve& data, double firstTemperature,
                              const QVector<SeriesSet>& extra,
                              const fit::DataSetFitOptions& options) {
    Run run;
    run.varied = options.varied;
    std::vector<fit::DataSet> sets;
    fit::DataSet first;
    first.file = QFileInfo(data.path).fileName();
    first.temperature = firstTemperature;
    first.inputs = fitInputs(wave, data);
    sets.push_back(first);
    for (const SeriesSet& s : extra) {
        fit::DataSet d;
        d.file = s.name();
        d.temperature = s.entry.temperature;
        d.inputs = first.inputs;
        d.inputs.dataK = s.k;
        d.inputs.dataChi = s.chi;
        sets.push_back(d);
    }
    for (const fit::DataSet& d : sets)
        run.inputs.push_back(d.inputs);
    const fit::DataSetFit problem(std::move(sets), options);
    run.series = problem.run();
    if (run.series.result.ok)
        run.report = fit::reportJson(run.series);
    return run;
}
