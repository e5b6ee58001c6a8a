#pragma once

#include "HanningWindow.h"
#include "PathChi.h"

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <optional>

// Where a measured standard (MeasuredStandard) came from: the chi(k) file
// of the reference, its known N, R (Å) and sigma (Å), and the filter it was
// taken through, the R window (Å), the k window (Å⁻¹) and the k weight.
struct StandardOrigin {
    QString file;
    double n = 12;
    double r = 2.5;
    double sigma = 0.05;
    WindowPositions rWindow{};
    WindowPositions kWindow{};
    int kWeight = 2;
    bool operator==(const StandardOrigin& o) const {
        return file == o.file && n == o.n && r == o.r && sigma == o.sigma && rWindow == o.rWindow &&
               kWindow == o.kWindow && kWeight == o.kWeight;
    }
    bool operator!=(const StandardOrigin& o) const { return !(*this == o); }
};

// A scattering path given to a shell: the path's equation and the file it
// was read from. Shared, never changed: a copy of the model's parameters
// (a fit's inputs, a held curve) holds the very same path.
class ShellPath {
    Q_DECLARE_TR_FUNCTIONS(ShellPath)

public:
    ShellPath(const PathData& data, const QString& fileName);
    // A measured standard: a path made from a reference's filtered data;
    // its file name is the reference's chi(k) file.
    ShellPath(const PathData& data, const StandardOrigin& origin);

    // Reads a path file; null, with one translated sentence in `error`,
    // when it cannot be read.
    static std::shared_ptr<const ShellPath> load(const QString& fileName, QString* error);

    // False, naming both, when the path's rows end before `windowEnd` (Å⁻¹),
    // where the signal still counts.
    bool covers(double windowEnd, QString* error) const;

    const PathChi chi;
    const QString fileName; // as given: absolute from a dialog or a scenario
    // Set for a measured standard, which scenarios record by its origin.
    const std::optional<StandardOrigin> standard;
    // The file's name without its folder, as records show it.
    QString shownName() const;
};

using ShellPathPtr = std::shared_ptr<const ShellPath>;
