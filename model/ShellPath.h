#pragma once

#include "PathChi.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

// A scattering path given to a shell: the path's equation and the file it
// was read from. Shared, never changed: a copy of the model's parameters
// (a fit's inputs, a held curve) holds the very same path.
class ShellPath {
    Q_DECLARE_TR_FUNCTIONS(ShellPath)

public:
    ShellPath(const PathData& data, const QString& fileName);

    // Reads a path file; null, with one translated sentence in `error`,
    // when it cannot be read.
    static std::shared_ptr<const ShellPath> load(const QString& fileName, QString* error);

    // False, naming both, when the path's rows end before `windowEnd` (Å⁻¹),
    // where the signal still counts.
    bool covers(double windowEnd, QString* error) const;

    const PathChi chi;
    const QString fileName; // as given: absolute from a dialog or a scenario
    // The file's name without its folder, as records show it.
    QString shownName() const;
};

using ShellPathPtr = std::shared_ptr<const ShellPath>;
