#include "FileCommands.h"

#include "FilteredCurves.h"
#include "ViewOptions.h"

#include "AWave.h"
#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "CsvExport.h"
#include "Escaped.h"
#include "FileDialogs.h"
#include "MeasuredCurve.h"
#include "ProgramState.h"
#include "Scenario.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>

#include <array>
#include <utility>

namespace {
const QString scenarioSuffix = QStringLiteral("tovik.json");
} // namespace

FileCommands::FileCommands(ChiK& window) : QObject(&window), main(window) {
    ChiR& chiR = *main.chiR;
    main.actionOpenScenario->setShortcuts(QKeySequence::Open);
    main.actionSaveScenario->setShortcuts(QKeySequence::Save);
    connect(main.actionOpenScenario, &QAction::triggered, this, &FileCommands::openScenario);
    connect(main.actionSaveScenario, &QAction::triggered, this, &FileCommands::saveScenario);
    connect(main.actionOpenData, &QAction::triggered, this, &FileCommands::openData);
    connect(main.actionClearData, &QAction::triggered, this, &FileCommands::clearData);
    // The same three entries in both windows, each for its own plot.
    const std::pair<Plot, std::array<QAction*, 3>> menus[] = {
        {Plot::K, {main.actionExportPicture, main.actionExportData, main.actionCopyPicture}},
        {Plot::R, {chiR.actionExportPicture, chiR.actionExportData, chiR.actionCopyPicture}}};
    for (const auto& menu : menus) {
        const Plot plot = menu.first;
        connect(menu.second[0], &QAction::triggered, this, [this, plot] { exportPicture(plot); });
        connect(menu.second[1], &QAction::triggered, this, [this, plot] { exportData(plot); });
        connect(menu.second[2], &QAction::triggered, this, [this, plot] { copyPicture(plot); });
        // Not Ctrl+C: that stays with the text boxes.
        menu.second[2]->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    }
}

QMainWindow* FileCommands::windowOf(Plot plot) const {
    return plot == Plot::K ? static_cast<QMainWindow*>(&main) : main.chiR;
}

QWidget* FileCommands::surfaceOf(Plot plot) const {
    return plot == Plot::K ? static_cast<QWidget*>(main.DispA) : main.chiR->DispA;
}

bool FileCommands::reported(QWidget* window, const QString& error) {
    if (error.isEmpty())
        return true;
    QMessageBox::warning(window, window->windowTitle(), Escaped::message(error));
    return false;
}

QByteArray FileCommands::picture(Plot plot, PictureExport::Format format, QString* error) const {
    return PictureExport::render(surfaceOf(plot), format, windowOf(plot)->windowTitle(), error);
}

QByteArray FileCommands::data(Plot plot, QString* error) const {
    const AWave* wave = main.waves.isEmpty() ? nullptr : main.waves.first();
    if (!wave) {
        *error = tr("There is no data to export yet.");
        return QByteArray();
    }
    const Scenario shown = ProgramState::capture(*wave, *main.chiR);
    return plot == Plot::K ? CsvExport::chiK(*wave, shown, main.measured)
                           : CsvExport::chiR(*wave, shown, ChiR::rMin, ChiR::rMax, main.measured);
}

QString FileCommands::fileName(Plot plot, const QString& suffix) {
    return (plot == Plot::K ? QStringLiteral("chik.") : QStringLiteral("chir.")) + suffix;
}

const QStringList& FileCommands::exportNames() {
    static const QStringList names = [] {
        QStringList n;
        for (const char* suffix : {"png", "svg", "csv"})
            for (const Plot plot : {Plot::K, Plot::R})
                n << fileName(plot, QLatin1String(suffix));
        return n;
    }();
    return names;
}

bool FileCommands::exportFiles(QVector<SafeFile::Entry>* files, QString* error) const {
    using Format = PictureExport::Format;
    const QByteArray contents[] = {picture(Plot::K, Format::Png, error),
                                   picture(Plot::R, Format::Png, error),
                                   picture(Plot::K, Format::Svg, error),
                                   picture(Plot::R, Format::Svg, error),
                                   data(Plot::K, error),
                                   data(Plot::R, error)};
    for (int i = 0; i < exportNames().size(); ++i) {
        if (contents[i].isEmpty())
            return false;
        files->append({exportNames().at(i), contents[i]});
    }
    if (main.view && main.view->filtered) {
        const QByteArray chiQ = filteredData(error);
        if (chiQ.isEmpty())
            return false;
        files->append({filteredName(), chiQ});
    }
    return true;
}

QByteArray FileCommands::filteredData(QString* error) const {
    const AWave* wave = main.waves.isEmpty() ? nullptr : main.waves.first();
    if (!wave || !wave->chiSpectrum) {
        *error = tr("There is no data to export yet.");
        return QByteArray();
    }
    const Scenario shown = ProgramState::capture(*wave, *main.chiR);
    FilteredCurves& filter = *main.filteredCurves;
    FilteredSpectrum model, data;
    if (!filter.filter(FilteredCurves::inputOf(*wave, wave->chiSpectrum.get(), main.chiR->rWindow),
                       &model, error))
        return QByteArray();
    const MeasuredCurve* measured = main.measured;
    const bool withData = measured && measured->isLoaded() && measured->spectrum &&
                          measured->fftLength == wave->fftLength;
    if (withData &&
        !filter.filter(FilteredCurves::inputOf(*wave, measured->spectrum.get(), main.chiR->rWindow),
                       &data, error))
        return QByteArray();
    return CsvExport::chiQ(shown, model, withData ? &data : nullptr, measured);
}

QString FileCommands::writePicture(Plot plot, const QString& path) const {
    QString error;
    return PictureExport::save(surfaceOf(plot), path, windowOf(plot)->windowTitle(), &error)
               ? QString()
               : error;
}

QString FileCommands::writeData(Plot plot, const QString& path) const {
    QString error;
    const QByteArray bytes = data(plot, &error);
    return !bytes.isEmpty() && CsvExport::write(path, bytes, &error) ? QString() : error;
}

QString FileCommands::writeScenario(const QString& path) const {
    QString error;
    return main.currentState().writeFile(path, &error) ? QString() : error;
}

QString FileCommands::readScenario(const QString& path) {
    Scenario state;
    QString error;
    if (!Scenario::readFile(path, ProgramState::capture(*main.waves.first(), *main.chiR), &state,
                            &error))
        return error;
    // The data file is read again, as it is now, before anything changes.
    QVector<double> k, chi;
    if (!state.dataFile.isEmpty() && !ChiDataReader::readFile(state.dataFile, &k, &chi, &error))
        return error;
    main.applyScenario(state, k, chi);
    return QString();
}

QString FileCommands::readData(const QString& path) {
    QVector<double> k, chi;
    QString error;
    if (!ChiDataReader::readFile(path, &k, &chi, &error))
        return error;
    main.measured->setData(k, chi, QFileInfo(path).absoluteFilePath());
    return QString();
}

bool FileCommands::openScenarioFile(const QString& path) {
    if (!reported(&main, readScenario(path)))
        return false;
    if (!main.notes.isEmpty())
        main.showNotes();
    return true;
}

bool FileCommands::saveScenarioFile(const QString& path) {
    return reported(&main, writeScenario(path));
}

bool FileCommands::openDataFile(const QString& path) {
    return reported(&main, readData(path));
}

bool FileCommands::exportPictureFile(Plot plot, const QString& path) {
    return reported(windowOf(plot), writePicture(plot, path));
}

bool FileCommands::exportDataFile(Plot plot, const QString& path) {
    return reported(windowOf(plot), writeData(plot, path));
}

void FileCommands::openScenario() {
    const QString path =
        FileDialogs::openPath(&main, tr("Open scenario"), tr("Tovik scenarios (*.tovik.json)"));
    if (!path.isEmpty())
        openScenarioFile(path);
}

void FileCommands::saveScenario() {
    const QString path =
        FileDialogs::savePath(&main, tr("Save scenario as"), tr("Tovik scenarios (*.tovik.json)"),
                              {scenarioSuffix}, QStringLiteral("scenario.") + scenarioSuffix);
    if (!path.isEmpty())
        saveScenarioFile(path);
}

void FileCommands::openData() {
    const QString path = FileDialogs::openPath(
        &main, tr("Open measured chi(k)"),
        tr("chi(k) data (*.chi *.chik *.dat *.txt *.csv *.xy);;All files (*)"));
    if (!path.isEmpty())
        openDataFile(path);
}

void FileCommands::clearData() {
    main.measured->clear();
}

void FileCommands::exportPicture(Plot plot) {
    const QString path =
        FileDialogs::picturePath(windowOf(plot), fileName(plot, QStringLiteral("png")));
    if (!path.isEmpty())
        exportPictureFile(plot, path);
}

void FileCommands::exportData(Plot plot) {
    const QString path =
        FileDialogs::dataPath(windowOf(plot), fileName(plot, QStringLiteral("csv")));
    if (!path.isEmpty())
        exportDataFile(plot, path);
}

void FileCommands::copyPicture(Plot plot) {
    PictureExport::copyToClipboard(surfaceOf(plot));
}
