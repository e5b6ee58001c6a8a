#pragma once

#include "ProgramState.h"

#include "AbsorptionState.h"

#include "Lessons.h"
#include "Scenario.h"
#include "Startup.h"
#include "ViewOptions.h"
#include "ui_ChiK.h"

#include <QMainWindow>
#include <QVector>

#include <memory>

class AWave;
class AbsorptionWindow;
class Actions;
class ChiR;
class FileCommands;
class FilteredCurves;
class HeldCurves;
class SeriesCurves;
class MeasuredCurve;
class ProgramParts;
class NotesWindow;
class QPainter;
class ShellsWindow;
class FitWindow;
class RatioWindow;
class QAction;
struct Scenario;

// The main window: the chi(k) plot above the wave's control panel. Its
// constructor has the session make the wave and the chi(R) window and wires
// the whole program; afterwards everything is driven by signals.
class ChiK : public QMainWindow, public Ui_ChiK {
    Q_OBJECT
public:
    explicit ChiK(ProgramParts& session, QWidget* parent = nullptr);
    ~ChiK() override;

    ChiR* chiR = nullptr;
    QVector<AWave*> waves;
    // Shared with the chi(R) window: the View menu's entries and both File
    // menus' commands.
    Actions* actions = nullptr;
    FileCommands* files = nullptr;
    ViewOptions* view = nullptr;
    MeasuredCurve* measured = nullptr;
    HeldCurves* held = nullptr;
    // The Fit window's data sets and their models, on both plots.
    SeriesCurves* series = nullptr;
    // A measured mu(E) whose chi(k) is the measured data while it is
    // loaded; View > mu(E) shows it, in a window made when first opened.
    AbsorptionState* absorption = nullptr;
    AbsorptionWindow* absorptionWindow = nullptr;
    // View > Shells…: the extra shells of the first wave; made when first
    // opened.
    ShellsWindow* shellsWindow = nullptr;
    // View > Fit…: enabled while measured data are loaded; made when first
    // opened.
    FitWindow* fitWindow = nullptr;
    // The "fit" part of the scenario last opened: the Fit window starts from
    // it, and a save keeps it while that window has not been made.
    bool hasFitChoices = false;
    QStringList fitVary;
    double fitRMin = 0;
    double fitRMax = 0;
    // Its series (data sets, sigma model and starts), kept for a save.
    Scenario fitSeries;
    // View > Notes…: the title and notes of the lesson last opened, which a
    // saved scenario keeps; the window is made when first shown.
    LocalText title;
    LocalText notes;
    NotesWindow* notesWindow = nullptr;
    // View > Ratio…: made when first opened.
    QAction* actionRatio = nullptr;
    RatioWindow* ratioWindow = nullptr;
    void showRatio();
    // The filter behind View > Filtered chi(q), kept between paints.
    std::unique_ptr<FilteredCurves> filteredCurves;
    // File > Lessons, read once at start.
    QVector<Lessons::Entry> lessons;

    // The value range the plot fits to the waves: symmetric, 10 % of room;
    // with physical amplitudes it covers every curve drawn.
    ViewOptions::Range fittedRange() const;

    // The value axis's title: k^n chi(k) with its unit, or "normalised".
    QString valueTitle() const;
    // Each window on its half of `available`, frames included.
    static void arrange(QWidget* left, QWidget* right, const QRect& available);

    // Sets the controls, the lesson and the measured data from `state`,
    // with the data file's contents already read (empty: none), `paths` as
    // ProgramState::readPaths gave them and its mu(E) already processed (none:
    // no mu(E)).
    void applyScenario(const Scenario& state, const QVector<double>& k, const QVector<double>& chi,
                       const ProgramState::Paths& paths = {},
                       const AbsorptionState::Loaded* mu = nullptr);
    // The state a saved scenario holds: the controls' and the lesson's.
    Scenario currentState() const;

    // Places the chi(R) window to the right of this one where `available`
    // has room for both; otherwise leaves them where they are.
    void placeBeside(const QRect& available);

signals:
    void finishing();
    // The user chose the interface's language in a View menu.
    void languageChosen(Startup::Language language);

public slots:
    void showNotes();
    void showAbsorption();
    // Every window of the program in `language`, at once.
    void chooseLanguage(Startup::Language language);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void draw(QPainter* p);
    void about();
    void syncView();
    void arrangeSideBySide();
    void holdCurves();
    void clearHeld();
    void showShells();
    void showFit();

private:
    // The form's texts and those this window sets itself, in the current
    // language; runs at start and on every LanguageChange.
    void retranslate();
    void fillLessonsMenu();
    // The Fit window's data sets and series choices from fitSeries.
    void setFitSeries();
    // The processing of the loaded mu(E), else the defaults.
    AbsorptionSettings absorptionSettings() const;
};
