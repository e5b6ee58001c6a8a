#include "Settings.h"

#include <QSettings>

namespace {
const QString languageKey = QStringLiteral("language");
const QString axesKey = QStringLiteral("view/axes");
const QString legendKey = QStringLiteral("view/legend");
const QString physicalKey = QStringLiteral("view/physical");
const QString lockScalesKey = QStringLiteral("view/lockScales");
const QString chiKKey = QStringLiteral("windows/chiK");
const QString chiRKey = QStringLiteral("windows/chiR");
const QString folderKey = QStringLiteral("files/lastFolder");

const QString& geometryKey(Settings::Window window) {
    return window == Settings::Window::ChiK ? chiKKey : chiRKey;
}
} // namespace

Settings::Settings() : store(std::make_unique<QSettings>()) {}

Settings::Settings(const QString& path)
    : store(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

Settings::~Settings() = default;

QString Settings::languageCode() const {
    return store->value(languageKey).toString();
}

void Settings::setLanguageCode(const QString& code) {
    store->setValue(languageKey, code);
}

Settings::View Settings::view() const {
    View view;
    view.axes = store->value(axesKey, false).toBool();
    view.legend = store->value(legendKey, false).toBool();
    view.physical = store->value(physicalKey, false).toBool();
    view.lockScales = store->value(lockScalesKey, false).toBool();
    return view;
}

void Settings::setView(const View& view) {
    store->setValue(axesKey, view.axes);
    store->setValue(legendKey, view.legend);
    store->setValue(physicalKey, view.physical);
    store->setValue(lockScalesKey, view.lockScales);
}

QByteArray Settings::geometry(Window window) const {
    return store->value(geometryKey(window)).toByteArray();
}

void Settings::setGeometry(Window window, const QByteArray& geometry) {
    store->setValue(geometryKey(window), geometry);
}

QString Settings::lastFolder() const {
    return store->value(folderKey).toString();
}

void Settings::setLastFolder(const QString& folder) {
    store->setValue(folderKey, folder);
}
