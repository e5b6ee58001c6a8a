#include "StandardDialog.h"

#include "FileDialogs.h"
#include "ParameterTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

StandardDialog::StandardDialog(QWidget* parent, const QString& loadedData, double r, double sigma)
    : QDialog(parent) {
    setWindowTitle(tr("Measured standard"));
    auto* form = new QFormLayout;

    source = new QComboBox(this);
    source->setObjectName(QStringLiteral("standardSource"));
    source->addItem(loadedData.isEmpty()
                        ? tr("The loaded data (none loaded)")
                        : tr("The loaded data, %1").arg(QFileInfo(loadedData).fileName()));
    source->addItem(tr("A chi(k) file"));
    source->setToolTip(tr("The reference whose filtered first shell becomes the main shell's "
                          "amplitude and phase: its chi(k), k in Å⁻¹"));
    form->addRow(tr("R&eference:"), source);

    fileName = new QLineEdit(this);
    fileName->setObjectName(QStringLiteral("standardFile"));
    fileName->setToolTip(tr("The reference's chi(k) file: two columns, k (Å⁻¹) and chi(k)"));
    browse = new QPushButton(tr("&Browse…"), this);
    browse->setToolTip(tr("Choose the reference's chi(k) file (k in Å⁻¹)"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName, 1);
    fileRow->addWidget(browse);
    form->addRow(tr("&File:"), fileRow);

    const auto spin = [this](const char* name, double low, double high, int decimals, double step,
                             double value, const QString& suffix, const QString& tip) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(low, high);
        box->setDecimals(decimals);
        box->setSingleStep(step);
        box->setValue(value);
        box->setSuffix(suffix);
        box->setToolTip(tip);
        return box;
    };
    const ParameterRow& rRow = parameterRow(ModelParameter::R);
    const ParameterRow& sigmaRow = parameterRow(ModelParameter::Sigma);
    neighbours = spin("standardN", 0, 1000, 2, 1, 12, QString(),
                      tr("The reference's known number of neighbours N in the shell (no unit)"));
    distance = spin("standardR", rRow.minimum, rRow.maximum, 4, 0.01, r, tr(" Å"),
                    tr("The reference's known distance R of the shell, Å"));
    displacement = spin("standardSigma", 0, sigmaRow.maximum, 4, 0.001, sigma, tr(" Å"),
                        tr("The reference's known Debye-Waller sigma of the shell, Å (sigma² in "
                           "Å² is its square)"));
    form->addRow(tr("&N:"), neighbours);
    form->addRow(tr("&R:"), distance);
    form->addRow(tr("&Sigma:"), displacement);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setLayout(form);

    connect(browse, &QPushButton::clicked, this, &StandardDialog::chooseFile);
    connect(source, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &StandardDialog::sourceChanged);
    source->setCurrentIndex(loadedData.isEmpty() ? 1 : 0);
    sourceChanged();
}

void StandardDialog::sourceChanged() {
    const bool file = !fromLoadedData();
    fileName->setEnabled(file);
    browse->setEnabled(file);
}

void StandardDialog::chooseFile() {
    const QString path =
        FileDialogs::openPath(this, tr("Open the reference's chi(k)"),
                              tr("chi(k) files (*.chi *.dat *.txt);;All files (*)"));
    if (!path.isEmpty())
        fileName->setText(path);
}

bool StandardDialog::fromLoadedData() const {
    return source->currentIndex() == 0;
}

QString StandardDialog::file() const {
    const QString typed = fileName->text().trimmed();
    return fromLoadedData() || typed.isEmpty() ? QString() : QFileInfo(typed).absoluteFilePath();
}

double StandardDialog::n() const {
    return neighbours->value();
}

double StandardDialog::r() const {
    return distance->value();
}

double StandardDialog::sigma() const {
    return displacement->value();
}
