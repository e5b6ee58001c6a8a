#pragma once

#include "AWave.h"
#include "ui_ShellsWindow.h"

#include <QColor>
#include <QFrame>
#include <QVector>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

// One extra shell's controls: R and relative amplitude, each a slider with
// the main panel's kind of value box, and Remove; a scattering path chosen
// or taken away, and with one the shell's own sigma and dE0. A slider sets its step, a
// typed value is kept exactly. It only announces; the window turns that
// into the wave's shell list.
class ShellRow : public QFrame {
    Q_OBJECT
public:
    ShellRow(int index, QWidget* parent);

    // The shell the row stands for.
    Shell value() const { return current; }
    // Shows `shell` without announcing it.
    void showShell(const Shell& shell);

    const int index;
    QLabel* title = nullptr;
    QSlider* rBar = nullptr;
    QLineEdit* rVal = nullptr;
    QSlider* amplitudeBar = nullptr;
    QLineEdit* amplitudeVal = nullptr;
    QPushButton* remove = nullptr;
    QLabel* leftOut = nullptr;
    QLabel* rLabel = nullptr;
    QLabel* amplitudeLabel = nullptr;
    QPushButton* choosePath = nullptr;
    QPushButton* removePath = nullptr;
    QLabel* pathName = nullptr;
    QLabel* sigmaLabel = nullptr;
    QSlider* sigmaBar = nullptr;
    QLineEdit* sigmaVal = nullptr;
    QLabel* dE0Label = nullptr;
    QSlider* dE0Bar = nullptr;
    QLineEdit* dE0Val = nullptr;

signals:
    void changed(int index);
    void removeRequested(int index);
    void pathRequested(int index);

private slots:
    void rSlid(int position);
    void amplitudeSlid(int position);
    void rTyped();
    void amplitudeTyped();
    void sigmaSlid(int position);
    void dE0Slid(int position);
    void sigmaTyped();
    void dE0Typed();

protected:
    void changeEvent(QEvent* event) override;

private:
    void showTexts(const Shell& s);
    // Every text of the row in the current language.
    void retranslate();
    void take(const Shell& s);
    // A slider's position, or a typed value kept exactly, into one field.
    void slid(double Shell::*field, int position, int steps);
    void typed(double Shell::*field, const QLineEdit* box, QSlider* bar, int steps);

    Shell current;
};

// The tool window "Shells" of the chi(k) window: the main shell's R, its
// amplitude A and linear phase P1, and rows for the wave's extra shells.
// The wave is the only state: every control change becomes one
// AWave::setShells or setParameter, and the controls follow the wave after
// every update, whoever changed it.
class ShellsWindow : public QWidget, public Ui_ShellsWindow {
    Q_OBJECT
public:
    explicit ShellsWindow(AWave* wave, QWidget* parent = nullptr);

    // The colour of shell i's mark on the chi(R) plot: 0 is the main shell.
    static QColor markColor(int i);

    AWave* const wave;
    QVector<ShellRow*> rows;

    // Gives extra shell `index` the path in `file` (its sigma from the
    // table's default, dE0 0) or, for an empty name, takes its path away.
    // False with one sentence when the file cannot be read or ends before
    // the window does.
    bool setShellPath(int index, const QString& file, QString* error);

public slots:
    void sync();
    void addShell();
    // The file dialog for a row's path; a failure in a message box.
    void choosePath(int index);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void rowChanged(int index);
    void removeShell(int index);
    void amplitudeSlid(int position);
    void phi1Slid(int position);
    void amplitudeTyped();
    void phi1Typed();
};
