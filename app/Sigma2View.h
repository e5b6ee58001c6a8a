#pragma once

#include "Sigma2Plot.h"

#include <QWidget>

// The Fit window's small plot of sigma² against temperature after a series
// fit: each data set's value with its error bar and the Einstein model's
// curve, painted by Sigma2Plot over the whole widget.
class Sigma2View : public QWidget {
    Q_OBJECT
public:
    explicit Sigma2View(QWidget* parent = nullptr);

    void setInputs(const Sigma2PlotInputs& inputs);
    const Sigma2PlotInputs& inputs() const { return shown; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Sigma2PlotInputs shown;
};
