#include "FileCommands.h"

#include "FilteredCurves.h"
#include "ViewOptions.h"

#include "AWave.h"
#include "AbsorptionExport.h"
#include "AbsorptionWindow.h"
#include "Actions.h"
#include "ChiDataReader.h"
#include "ChiK.h"
#include "ChiR.h"
#include "CsvExport.h"
#include "Escaped.h"
#include "FileDialogs.h"
#include "MeasuredCurve.h"
#include "MeasuredStandard.h"
#include "MuColumnsDialog.h"
#include "ProgramState.h"
#include "Scenario.h"
#include "SeriesRun.h"
#include "StandardDialog.h"
#include "WaveCtrl.h"
#include "WindowFunc.h"

#include <QApplication>
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
    // The path entries in both windows' File menus.
    for (QAction* open : {main.actionOpenPath, chiR.actionOpenPath})
        connect(open, &QAction::triggered, this, &FileCommands::openPath);
    for (QAction* standard : {main.actionUseStandard, chiR.actionUseStandard})
        connect(standard, &QAction::triggered, this, &FileCommands::useStandard);
    for (QAction* remove : {main.actionRemovePath, chiR.actionRemovePath})
        connect(remove, &QAction::triggered, this, &FileCommands::removePath);
    auto pathShown = [this] {
        const bool has = bool(main.waves.first()->path);
        main.actionRemovePath->setEnabled(has);
        main.chiR->actionRemovePath->setEnabled(has);
    };
    connect(main.waves.first(), &AWave::updated, this, pathShown);
    pathShown();
    connect(main.actions->openMu, &QAction::triggered, this, &FileCommands::openMu);
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

const QStringList& FileCommands::absorptionNames() {
    static const QStringList names{QStringLiteral("mu.csv"), QStringLiteral("chi-data.chi")};
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
    if (main.absorption->isLoaded()) {
        const AbsorptionResult& mu = main.absorption->current().result;
        files->append({absorptionNames().at(0), AbsorptionExport::mu(mu)});
        files->append({absorptionNames().at(1), AbsorptionExport::chi(mu)});
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
    // Over what is shown now: keys the file lacks keep it.
    Scenario base = ProgramState::capture(*main.waves.first(), *main.chiR);
    if (main.absorption->isLoaded()) {
        const AbsorptionState::Loaded& mu = main.absorption->current();
        base.dataFile.clear();
        base.muFile = mu.path;
        base.muColumns = mu.columns;
        base.absorption = mu.settings;
    }
    if (!Scenario::readFile(path, base, &state, &error))
        return error;
    // The data file is read again, as it is now, before anything changes.
    QVector<double> k, chi;
    if (!state.dataFile.isEmpty() && !ChiDataReader::readFile(state.dataFile, &k, &chi, &error))
        return error;
    ProgramState::Paths paths;
    if (!ProgramState::readPaths(state, &paths, &error))
        return error;
    AbsorptionState::Loaded mu;
    if (!state.muFile.isEmpty() &&
        !AbsorptionState::load(state.muFile, state.muColumns, state.absorption, &mu, &error))
        return error;
    // A series' data sets too: one that cannot be read refuses the whole
    // scenario, naming the set.
    QVector<SeriesRun::Measured> sets;
    if (!SeriesRun::readDataSets(state, k, chi, &sets, &error))
        return error;
    main.applyScenario(state, k, chi, paths, state.muFile.isEmpty() ? nullptr : &mu);
    return QString();
}

QString FileCommands::readPath(const QString& path) {
    QString error;
    const ShellPathPtr read = ShellPath::load(QFileInfo(path).absoluteFilePath(), &error);
    AWave& wave = *main.waves.first();
    const QVector<double>& window = wave.ctrl->WindowCtrl->positions;
    if (!read || !read->covers(window.isEmpty() ? 0 : window.last(), &error))
        return error;
    wave.setPath(read);
    return QString();
}

QString FileCommands::makeStandard(double n, double r, double sigma, const QString& file) {
    AWave& wave = *main.waves.first();
    StandardOrigin origin;
    QVector<double> k, chi;
    QString error;
    if (file.isEmpty()) {
        if (!main.measured->isLoaded())
            return MeasuredStandard::tr("There are no data to make the standard from.");
        // A scenario reopens the standard from a chi(k) file; mu(E) would
        // need its whole processing again.
        if (main.absorption->isLoaded())
            return tr("The loaded data were made from mu(E); the standard is made from a chi(k) "
                      "file. Choose the reference's chi(k) file instead.");
        origin.file = main.measured->path;
        k = main.measured->dataK;
        chi = main.measured->dataChi;
    } else {
        origin.file = file;
        if (!ChiDataReader::readFile(file, &k, &chi, &error))
            return error;
    }
    origin.n = n;
    origin.r = r;
    origin.sigma = sigma;
    origin.rWindow = main.chiR->rWindow;
    const QVector<double>& window = wave.ctrl->WindowCtrl->positions;
    if (window.size() == 4)
        origin.kWindow = {window[0], window[1], window[2], window[3]};
    origin.kWeight = wave.n;
    FilteredCurves filter;
    const ShellPathPtr standard = filter.standard(k, chi, wave.grid(), origin, &error);
    if (!standard)
        return error;
    wave.setPath(standard);
    wave.setParameter(AWave::Parameter::Amplitude, standard->chi.defaults().amplitude);
    wave.setParameter(AWave::Parameter::R, r);
    wave.setParameter(AWave::Parameter::Sigma, sigma);
    wave.setParameter(AWave::Parameter::DeltaE0, 0);
    return QString();
}

QString FileCommands::readData(const QString& path) {
    QVector<double> k, chi;
    QString error;
    if (!ChiDataReader::readFile(path, &k, &chi, &error))
        return error;
    main.absorption->clear();
    main.measured->setData(k, chi, QFileInfo(path).absoluteFilePath());
    return QString();
}

QString FileCommands::readMu(const QString& path, const std::optional<MuColumns>& columns) {
    AbsorptionState::Loaded mu;
    QString error;
    if (!AbsorptionState::load(path, columns, AbsorptionSettings(), &mu, &error))
        return error;
    main.absorption->set(mu);
    return QString();
}

void FileCommands::wire(AbsorptionWindow& window) {
    QWidget* surface = window.DispA;
    QMainWindow* shown = &window;
    connect(window.actionExportPicture, &QAction::triggered, this, [shown, surface] {
        const QString path = FileDialogs::picturePath(shown, QStringLiteral("mu.png"));
        QString error;
        if (!path.isEmpty() && !PictureExport::save(surface, path, shown->windowTitle(), &error))
            reported(shown, error);
    });
    connect(window.actionExportData, &QAction::triggered, this, [this, shown] {
        const QString path = FileDialogs::dataPath(shown, absorptionNames().at(0));
        if (path.isEmpty() || !main.absorption->isLoaded())
            return;
        QString error;
        if (!CsvExport::write(path, AbsorptionExport::mu(main.absorption->current().result),
                              &error))
            reported(shown, error);
    });
    connect(window.actionCopyPicture, &QAction::triggered, this,
            [surface] { PictureExport::copyToClipboard(surface); });
    window.actionCopyPicture->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
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

bool FileCommands::openPathFile(const QString& path) {
    return reported(&main, readPath(path));
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

void FileCommands::openMu() {
    QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : &main;
    const QString path =
        FileDialogs::openPath(parent, tr("Open measured mu(E)"),
                              tr("mu(E) data (*.xmu *.xdi *.dat *.txt *.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QByteArray text;
    QString error;
    if (!SafeFile::readAll(path, MuReader::maxFileSize, tr("a mu(E) file"), &text, &error)) {
        reported(parent, error);
        return;
    }
    MuColumnsDialog dialog(text, QFileInfo(path).fileName(), parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.valid())
        return;
    AbsorptionState::Loaded mu;
    mu.path = QFileInfo(path).absoluteFilePath();
    mu.columns = dialog.columns();
    mu.data = dialog.data();
    if (!AbsorptionState::process(&mu, &error)) {
        reported(parent, error);
        return;
    }
    main.absorption->set(mu);
    main.showAbsorption();
}

void FileCommands::clearData() {
    main.absorption->clear();
    main.measured->clear();
}

void FileCommands::openPath() {
    QWidget* over = qobject_cast<QWidget*>(sender() == main.chiR->actionOpenPath
                                               ? static_cast<QObject*>(main.chiR)
                                               : static_cast<QObject*>(&main));
    const QString path = FileDialogs::openPath(over, tr("Open scattering path"),
                                               tr("Path files (feff*.dat);;All files (*)"));
    if (!path.isEmpty())
        reported(over, readPath(path));
}

void FileCommands::useStandard() {
    QWidget* over = qobject_cast<QWidget*>(sender() == main.chiR->actionUseStandard
                                               ? static_cast<QObject*>(main.chiR)
                                               : static_cast<QObject*>(&main));
    const AWave& wave = *main.waves.first();
    const bool fromChiFile = main.measured->isLoaded() && !main.absorption->isLoaded();
    StandardDialog dialog(over, fromChiFile ? main.measured->path : QString(), wave.r, wave.sigma);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!dialog.fromLoadedData() && dialog.file().isEmpty()) {
        reported(over, tr("Choose the reference's chi(k) file."));
        return;
    }
    reported(over, makeStandard(dialog.n(), dialog.r(), dialog.sigma(), dialog.file()));
}

void FileCommands::removePath() {
    main.waves.first()->setPath(nullptr);
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
