#include "ShellPath.h"

#include "PathFile.h"

#include <QFileInfo>

ShellPath::ShellPath(const PathData& data, const QString& name) : chi(data), fileName(name) {}

ShellPath::ShellPath(const PathData& data, const StandardOrigin& origin)
    : chi(data), fileName(origin.file), standard(origin) {}

std::shared_ptr<const ShellPath> ShellPath::load(const QString& fileName, QString* error) {
    PathData data;
    QString why;
    if (!PathFile::readFile(fileName, &data, &why)) {
        if (error)
            *error = why;
        return nullptr;
    }
    return std::make_shared<const ShellPath>(data, fileName);
}

bool ShellPath::covers(double windowEnd, QString* error) const {
    if (chi.kLast() >= windowEnd)
        return true;
    if (error)
        *error = tr("The path %1 ends at k = %2 Å⁻¹, before the window, which ends at k = %3 Å⁻¹.")
                     .arg(shownName())
                     .arg(chi.kLast())
                     .arg(windowEnd);
    return false;
}

QString ShellPath::shownName() const {
    if (standard)
        return tr("standard %1").arg(QFileInfo(fileName).fileName());
    return QFileInfo(fileName).fileName();
}
