#pragma once

#include "MuReader.h"

#include <QByteArray>
#include <QDialog>

#include <optional>

class DispArea;
class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QPainter;
class QSpinBox;
class QTableWidget;

// Which columns of a file hold mu(E): the first rows as written, the
// layout the file declares or the user's energy, numerator, denominator
// and logarithm, and the mu(E) that results, redrawn with every choice.
// OK stays disabled while the choice gives no mu(E); the reason is shown.
class MuColumnsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int previewRows = 12;

    MuColumnsDialog(const QByteArray& text, const QString& fileName, QWidget* parent = nullptr);

    // None: the layout the file declares.
    std::optional<MuColumns> columns() const;
    // The mu(E) of the current choice; empty when it gives none.
    const MuData& data() const { return current; }
    bool valid() const { return !current.energy.isEmpty(); }

    QCheckBox* declared = nullptr;
    QSpinBox* energy = nullptr;
    QSpinBox* numerator = nullptr;
    QSpinBox* denominator = nullptr;
    QCheckBox* log = nullptr;
    QTableWidget* table = nullptr;
    DispArea* preview = nullptr;
    QLabel* message = nullptr;
    QDialogButtonBox* buttons = nullptr;

private slots:
    void update();
    void draw(QPainter* p);

private:
    QByteArray text;
    MuData current;
};
