#pragma once

#include "AbsorptionResult.h"
#include "MuReader.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <optional>

// The measured mu(E) the program holds and the way from it to the measured
// chi(k): the file, its columns, the user's settings and the result of the
// last processing. Every change is all or nothing: settings that cannot be
// processed leave the held state as it was.
class AbsorptionState : public QObject {
    Q_OBJECT
public:
    struct Loaded {
        QString path; // absolute
        // Columns chosen by the user; none: the layout the file declares.
        std::optional<MuColumns> columns;
        MuData data;
        AbsorptionSettings settings;
        AbsorptionResult result;
    };

    explicit AbsorptionState(QObject* parent = nullptr);

    // Reads and processes a file, changing nothing held; false with one
    // translated sentence on any fault.
    static bool load(const QString& path, const std::optional<MuColumns>& columns,
                     const AbsorptionSettings& settings, Loaded* out, QString* error);
    // The same for data already read.
    static bool process(Loaded* loaded, QString* error);

    void set(const Loaded& loaded);
    // Processes the held mu(E) again with `settings`; on a fault nothing
    // changes.
    bool change(const AbsorptionSettings& settings, QString* error);
    void clear();
    bool isLoaded() const { return loaded; }
    const Loaded& current() const { return held; }

signals:
    void changed();

private:
    bool loaded = false;
    Loaded held;
};
