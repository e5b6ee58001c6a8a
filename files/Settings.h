#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// What the program remembers between runs, each key named once here: the
// interface language, the view options, where both windows stood and the
// folder of the last file dialog.
//
// The file lives in the user's folder, where a crash, a copy or another
// version can damage it, so every value is read through one checked path: a
// value of the wrong type or out of range reads as the default. The file is
// looked at before it is opened: one that is not a regular file (a FIFO
// would block the start), larger than maxFileSize, or holding a value form
// this program never writes (a serialised variant, whose damaged list sizes
// make the settings reader allocate without bound) is not read; the run then
// keeps its settings in memory and leaves the file alone.
class Settings {
public:
    static constexpr qint64 maxFileSize = 64 * 1024;
    static constexpr int maxGeometrySize = 1024;
    static constexpr int maxFolderLength = 4096;

    // The user's settings of this application.
    Settings();
    // A settings file of its own (an INI file at `path`), for tests.
    explicit Settings(const QString& path);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The file the settings live in.
    static QString userFile();
    // False when the file was unusable and the settings live in memory.
    bool usesFile() const { return store != nullptr; }

    // "ja" or "en"; empty when none was chosen yet.
    QString languageCode() const;
    void setLanguageCode(const QString& code);

    struct View {
        bool axes = false;
        bool legend = false;
        bool physical = false;
        bool lockScales = false;
    };
    View view() const;
    void setView(const View& view);

    enum class Window { ChiK, ChiR };
    // QWidget::saveGeometry's bytes; empty when none was kept.
    QByteArray geometry(Window window) const;
    void setGeometry(Window window, const QByteArray& geometry);

    QString lastFolder() const;
    void setLastFolder(const QString& folder);

private:
    void open(const QString& path);
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    bool flag(const QString& key) const;

    std::unique_ptr<QSettings> store;
    QHash<QString, QVariant> memory; // when the file is not used
};
