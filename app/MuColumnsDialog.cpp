#include "MuColumnsDialog.h"

#include "Axes.h"
#include "DispArea.h"
#include "Escaped.h"
#include "MuPlot.h"
#include "Palette.h"
#include "PixelDrawing.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

MuColumnsDialog::MuColumnsDialog(const QByteArray& bytes, const QString& fileName, QWidget* parent)
    : QDialog(parent), text(bytes) {
    setWindowTitle(tr("Columns of %1").arg(Escaped::text(fileName)));
    const QVector<QStringList> rows = MuReader::firstRows(text, previewRows);
    int columnCount = 0;
    for (const QStringList& row : rows)
        columnCount = std::max(columnCount, int(row.size()));
    table = new QTableWidget(rows.size(), columnCount, this);
    table->setToolTip(tr("The first rows of numbers in the file, columns numbered from 1"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int i = 0; i < rows.size(); ++i)
        for (int j = 0; j < rows[i].size(); ++j)
            table->setItem(i, j, new QTableWidgetItem(rows[i][j]));

    declared = new QCheckBox(tr("&Layout the file declares (plain columns or XDI)"), this);
    declared->setToolTip(tr("Energy in eV first and mu second, or the columns an XDI header "
                            "names"));
    declared->setChecked(true);
    const int last = std::max(columnCount, 1);
    auto spin = [this, last](int least, int value, const QString& tip) {
        auto* box = new QSpinBox(this);
        box->setRange(least, std::max(last, value));
        box->setValue(value);
        box->setToolTip(tip);
        return box;
    };
    energy = spin(1, 1, tr("The column of the energies, in eV"));
    numerator = spin(1, std::min(2, last),
                     tr("The column of the numerator (mu, or I0 in "
                        "transmission), in the file's units"));
    denominator = spin(0, std::min(3, last) == 3 ? 3 : 0,
                       tr("The column of the denominator (I in transmission); 0: none"));
    denominator->setSpecialValueText(tr("none"));
    log = new QCheckBox(tr("Natural &logarithm of the ratio"), this);
    log->setToolTip(tr("mu = ln(numerator / denominator), as in transmission; without a unit"));
    auto* form = new QFormLayout;
    form->addRow(declared);
    form->addRow(tr("&Energy:"), energy);
    form->addRow(tr("&Numerator:"), numerator);
    form->addRow(tr("&Denominator:"), denominator);
    form->addRow(log);

    preview = new DispArea(this);
    preview->setMinimumSize(320, 200);
    preview->setToolTip(tr("mu(E) as these columns give it, against the energy in eV"));
    message = new QLabel(this);
    message->setWordWrap(true);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addWidget(preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addLayout(top, 1);
    layout->addWidget(message);
    layout->addWidget(buttons);

    connect(declared, &QCheckBox::toggled, this, &MuColumnsDialog::update);
    for (QSpinBox* box : {energy, numerator, denominator})
        connect(box, QOverload<int>::of(&QSpinBox::valueChanged), this, &MuColumnsDialog::update);
    connect(log, &QCheckBox::toggled, this, &MuColumnsDialog::update);
    connect(preview, &DispArea::draw, this, &MuColumnsDialog::draw);
    update();
}

std::optional<MuColumns> MuColumnsDialog::columns() const {
    if (declared->isChecked())
        return std::nullopt;
    MuColumns c;
    c.energy = energy->value();
    c.numerator = numerator->value();
    c.denominator = denominator->value();
    c.log = log->isChecked();
    return c;
}

void MuColumnsDialog::update() {
    for (QWidget* w : std::initializer_list<QWidget*>{energy, numerator, denominator, log})
        w->setEnabled(!declared->isChecked());
    MuData read;
    QString error;
    const std::optional<MuColumns> chosen = columns();
    const bool ok = chosen ? MuReader::parse(text, *chosen, &read, &error)
                           : MuReader::parse(text, &read, &error);
    current = ok ? read : MuData();
    message->setText(ok ? tr("%1 points, mu from %2").arg(read.energy.size()).arg(read.source)
                        : Escaped::message(error));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
    preview->update();
}

void MuColumnsDialog::draw(QPainter* p) {
    MuPlot::Inputs in;
    in.size = preview->geometry().size();
    in.plot = Axes::setFrame(preview->coord, in.size, preview->font(), false);
    if (valid()) {
        const auto [low, high] = std::minmax_element(current.mu.begin(), current.mu.end());
        const double room = std::max(0.05 * (*high - *low), 1e-12);
        preview->coord.setScale(current.energy.first(), *low - room, current.energy.last(),
                                *high + room);
        in.curves.append({current.energy, current.mu, int(current.energy.size()), 1,
                          pixeldraw::solidPen(Palette::measured(), 1), true});
    }
    MuPlot::paint(*p, preview->coord, in);
}
