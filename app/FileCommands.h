#pragma once

#include "MuReader.h"
#include "PictureExport.h"
#include "SafeFile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

class AbsorptionWindow;
class ChiK;
class QMainWindow;
class QWidget;

// The File menus of both windows: scenarios, measured data, and either
// plot exported as a picture or as its numbers, or copied.
//
// Each command has a half without dialogs or message boxes that returns why
// it failed (an empty text when it worked). The command line's export goes
// through that half too, so a file written from a menu and one written by
// --export come from the same code. The other half, for the menus, asks for
// the path and shows a failure in a message box over the window whose menu
// was used.
class FileCommands : public QObject {
    Q_OBJECT
public:
    enum class Plot { K, R };

    // Wires the File menus of `window` and of its chi(R) window; a child of
    // `window`.
    explicit FileCommands(ChiK& window);

    // The plot as shown, encoded; empty with the reason if it could not be.
    QByteArray picture(Plot plot, PictureExport::Format format, QString* error) const;
    // The numbers behind the plot as CSV; empty with the reason without a
    // wave.
    QByteArray data(Plot plot, QString* error) const;

    // What an export writes: both plots as PNG and SVG and their numbers,
    // under these names and in this order, all rendered before any is
    // written.
    // While filtering, chiq.csv follows them.
    static const QStringList& exportNames();
    // Written besides those while a mu(E) is loaded: mu(E) with its lines
    // and background, and its chi(k) as a file --data reads.
    static const QStringList& absorptionNames();
    static QString filteredName() { return QStringLiteral("chiq.csv"); }
    // The filtered chi(q) of the model and the data as CSV; empty with the
    // reason if it cannot be made.
    QByteArray filteredData(QString* error) const;
    bool exportFiles(QVector<SafeFile::Entry>* files, QString* error) const;

    // Dialog-free: each returns an empty text when done, else one
    // translated sentence saying why nothing changed.
    QString writePicture(Plot plot, const QString& path) const;
    QString writeData(Plot plot, const QString& path) const;
    QString writeScenario(const QString& path) const;
    // Reads the scenario's data file too, before anything changes.
    QString readScenario(const QString& path);
    QString readData(const QString& path);
    // The main shell's scattering path: refused when it ends before the
    // window does.
    QString readPath(const QString& path);
    // A measured standard as the main shell's path, made from the loaded
    // chi(k) (`file` empty) or from `file`, with the reference's N, R (Å)
    // and sigma (Å), through the current R window, k window and k weight.
    // The model is set to R, sigma and dE0 = 0 and N·S0² = 0.9 N, so that
    // it shows the reference's own filtered chi(q).
    QString makeStandard(double n, double r, double sigma, const QString& file);
    // Reads and processes a mu(E) file (columns: none for the layout the
    // file declares) with the default settings.
    QString readMu(const QString& path, const std::optional<MuColumns>& columns);
    // The mu(E) window's picture and data exports.
    void wire(AbsorptionWindow& window);

    // The same, with a failure shown in a message box; true if it worked.
    // A scenario with notes opens them.
    bool openScenarioFile(const QString& path);
    bool saveScenarioFile(const QString& path);
    bool openDataFile(const QString& path);
    bool openPathFile(const QString& path);
    bool exportPictureFile(Plot plot, const QString& path);
    bool exportDataFile(Plot plot, const QString& path);

public slots:
    // The menu entries: a file dialog first where one is needed.
    void openScenario();
    void saveScenario();
    void openData();
    // A file dialog, then the column dialog, then the mu(E) window.
    void openMu();
    void clearData();
    void openPath();
    void removePath();
    // The standard's dialog, then makeStandard.
    void useStandard();
    void exportPicture(FileCommands::Plot plot);
    void exportData(FileCommands::Plot plot);
    void copyPicture(FileCommands::Plot plot);

private:
    // "chik." or "chir." and the suffix: the names of both windows' exports.
    static QString fileName(Plot plot, const QString& suffix);
    QMainWindow* windowOf(Plot plot) const;
    QWidget* surfaceOf(Plot plot) const;
    // True for an empty `error`; else shows it over `window`.
    static bool reported(QWidget* window, const QString& error);

    ChiK& main;
};
