#pragma once

#include "ViewOptions.h"
#include "ui_ChiK.h"

#include <QMainWindow>
#include <QVector>

class AWave;
class ChiR;
class HeldCurves;
class MeasuredCurve;
class QPainter;
class ShellsWindow;
class FitWindow;
struct Scenario;

// The main window: the chi(k) plot above the wave's control panel. Its
// constructor builds and wires the whole program; afterwards everything is
// driven by signals.
class ChiK : public QMainWindow, public Ui_ChiK {
    Q_OBJECT
public:
    explicit ChiK(QWidget* parent = nullptr);
    ~ChiK() override;

    ChiR* chiR = nullptr;
    QVector<AWave*> waves;
    // Shared with the chi(R) window.
    ViewOptions* view = nullptr;
    MeasuredCurve* measured = nullptr;
    HeldCurves* held = nullptr;
    // View > Shells…: the extra shells of the first wave; made when first
    // opened.
    ShellsWindow* shellsWindow = nullptr;
    // View > Fit…: enabled while measured data are loaded; made when first
    // opened.
    FitWindow* fitWindow = nullptr;

    // The value range the plot fits to the waves: symmetric, 10 % of room;
    // with physical amplitudes it covers every curve drawn.
    ViewOptions::Range fittedRange() const;

    // The value axis's title: k^n chi(k) with its unit, or "normalised".
    QString valueTitle() const;
    // Each window on its half of `available`, frames included.
    static void arrange(QWidget* left, QWidget* right, const QRect& available);

    // The File menu's work without its dialogs. Faults are shown in a
    // message box and change nothing; the result says whether it worked.
    bool openScenarioFile(const QString& path);
    bool saveScenarioFile(const QString& path);
    bool exportPictureFile(const QString& path);
    bool exportDataFile(const QString& path);
    bool openDataFile(const QString& path);
    // Loads the scenario's data file first: if it cannot be read nothing
    // changes and `error` says why.
    bool applyScenario(const Scenario& state, QString* error);
    // The same with the data file's contents already read (empty: none).
    void applyScenario(const Scenario& state, const QVector<double>& k, const QVector<double>& chi);

signals:
    void finishing();

private slots:
    void draw(QPainter* p);
    void openScenario();
    void saveScenario();
    void exportPicture();
    void exportData();
    void copyPicture();
    void about();
    void syncView();
    void arrangeSideBySide();
    void openData();
    void clearData();
    void holdCurves();
    void clearHeld();
    void showShells();
    void showFit();

private:
    void showError(const QString& message);
};
