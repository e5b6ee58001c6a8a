#include "Settings.h"

#include "SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

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

// Whether the settings reader may open `path`: absent, or a regular file of
// a bounded size whose values are all of the forms this program writes.
bool readable(const QString& path) {
    struct stat st;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode) || st.st_size > Settings::maxFileSize)
        return false;
    QByteArray text;
    QString error;
    if (SafeFile::read(path, Settings::maxFileSize, &text, &error, 0) != SafeFile::Read::Done)
        return false;
    // Plain text, "true"/"false" and @ByteArray(…) are all this program
    // writes; @Variant(…) and the like are someone else's or damage.
    for (const QByteArray& line : text.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals >= 0 && line.mid(equals + 1).trimmed().startsWith('@') &&
            !line.mid(equals + 1).trimmed().startsWith("@ByteArray("))
            return false;
    }
    return true;
}
} // namespace

Settings::Settings() {
    open(userFile());
}

Settings::Settings(const QString& path) {
    open(path);
}

Settings::~Settings() = default;

QString Settings::userFile() {
    // Where QSettings keeps an application's settings on this system.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + QCoreApplication::organizationName() + QLatin1Char('/') +
           QCoreApplication::applicationName() + QStringLiteral(".conf");
}

void Settings::open(const QString& path) {
    if (readable(path))
        store = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QVariant Settings::value(const QString& key) const {
    return store ? store->value(key) : memory.value(key);
}

void Settings::setValue(const QString& key, const QVariant& value) {
    if (store)
        store->setValue(key, value);
    else
        memory.insert(key, value);
}

bool Settings::flag(const QString& key) const {
    // Written as true/false; read back as a bool or as that text.
    const QVariant v = value(key);
    if (v.userType() == QMetaType::Bool)
        return v.toBool();
    return v.userType() == QMetaType::QString && v.toString() == QLatin1String("true");
}

QString Settings::languageCode() const {
    const QVariant v = value(languageKey);
    const QString code = v.userType() == QMetaType::QString ? v.toString() : QString();
    return code == QLatin1String("ja") || code == QLatin1String("en") ? code : QString();
}

void Settings::setLanguageCode(const QString& code) {
    setValue(languageKey, code);
}

Settings::View Settings::view() const {
    View view;
    view.axes = flag(axesKey);
    view.legend = flag(legendKey);
    view.physical = flag(physicalKey);
    view.lockScales = flag(lockScalesKey);
    return view;
}

void Settings::setView(const View& view) {
    setValue(axesKey, view.axes);
    setValue(legendKey, view.legend);
    setValue(physicalKey, view.physical);
    setValue(lockScalesKey, view.lockScales);
}

QByteArray Settings::geometry(Window window) const {
    const QVariant v = value(geometryKey(window));
    if (v.userType() != QMetaType::QByteArray || v.toByteArray().size() > maxGeometrySize)
        return QByteArray();
    return v.toByteArray();
}

void Settings::setGeometry(Window window, const QByteArray& geometry) {
    setValue(geometryKey(window), geometry);
}

QString Settings::lastFolder() const {
    const QVariant v = value(folderKey);
    if (v.userType() != QMetaType::QString)
        return QString();
    const QString folder = v.toString();
    return folder.size() <= maxFolderLength && !folder.contains(QChar(0)) ? folder : QString();
}

void Settings::setLastFolder(const QString& folder) {
    setValue(folderKey, folder);
}
