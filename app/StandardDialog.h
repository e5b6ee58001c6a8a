#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;

// Asks what a measured standard is made of: the reference's chi(k) (the
// loaded data or a chosen file) and its known N, R (Å) and sigma (Å).
// Whether they make a standard is decided by whoever takes them.
class StandardDialog : public QDialog {
    Q_OBJECT
public:
    // `loadedData` is the loaded chi(k) file, empty when there is none;
    // R and sigma start at the model's.
    StandardDialog(QWidget* parent, const QString& loadedData, double r, double sigma);

    bool fromLoadedData() const;
    QString file() const; // the chosen chi(k) file, absolute; empty for the loaded data
    double n() const;
    double r() const;
    double sigma() const;

private:
    void chooseFile();
    void sourceChanged();

    QComboBox* source;
    QLineEdit* fileName;
    QPushButton* browse;
    QDoubleSpinBox* neighbours;
    QDoubleSpinBox* distance;
    QDoubleSpinBox* displacement;
};
