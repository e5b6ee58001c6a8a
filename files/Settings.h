#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QSettings;

// What the program remembers between runs, each key named once here: the
// interface language, the view options, where both windows stood and the
// folder of the last file dialog. Checks of the stored values belong here.
class Settings {
public:
    // The user's settings of this application.
    Settings();
    // A settings file of its own (an INI file at `path`), for tests.
    explicit Settings(const QString& path);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

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
    std::unique_ptr<QSettings> store;
};
