#include "AbsorptionState.h"

#include "Background.h"

#include <QFileInfo>

AbsorptionState::AbsorptionState(QObject* parent) : QObject(parent) {}

bool AbsorptionState::load(const QString& path, const std::optional<MuColumns>& columns,
                           const AbsorptionSettings& settings, Loaded* out, QString* error) {
    Loaded next;
    next.path = QFileInfo(path).absoluteFilePath();
    next.columns = columns;
    next.settings = settings;
    const bool read = columns ? MuReader::readFile(path, *columns, &next.data, error)
                              : MuReader::readFile(path, &next.data, error);
    if (!read || !process(&next, error))
        return false;
    *out = next;
    return true;
}

bool AbsorptionState::process(Loaded* loaded, QString* error) {
    AbsorptionResult result;
    if (!Background::process(loaded->data, loaded->settings, &result, error))
        return false;
    loaded->result = result;
    return true;
}

void AbsorptionState::set(const Loaded& next) {
    held = next;
    loaded = true;
    emit changed();
}

bool AbsorptionState::change(const AbsorptionSettings& settings, QString* error) {
    if (!loaded)
        return false;
    Loaded next = held;
    next.settings = settings;
    if (!process(&next, error))
        return false;
    set(next);
    return true;
}

void AbsorptionState::clear() {
    if (!loaded)
        return;
    loaded = false;
    held = Loaded();
    emit changed();
}
