#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class AWave;

// Measured chi(k) brought onto a wave's k grid and processed as the wave's
// own signal is: at every synthesised point k_i the data are interpolated
// linearly (0 outside their k range), weighted by k_i^n with the wave's n,
// multiplied by W(k_i) when the wave's window factor is selected, padded
// with zeros and transformed. In physical amplitude mode they keep their
// absolute size and the transform its field's factor (PhysicalUnits);
// otherwise they are divided by the wave's divisor, the number its own chi
// was divided by, so that data and model share one scale.
class MeasuredCurve : public QObject {
    Q_OBJECT
public:
    explicit MeasuredCurve(QObject* parent = nullptr);
    ~MeasuredCurve() override;

    // Empty data clear the curve.
    void setData(const QVector<double>& k, const QVector<double>& chi, const QString& path);
    void clear();
    bool isLoaded() const { return !dataK.isEmpty(); }
    // The data's value at k: linear between neighbours, 0 outside.
    double valueAt(double k) const;

    QString path;                       // the file the data came from, absolute
    QVector<double> dataK;              // as read
    QVector<double> dataChi;            // as read
    QVector<double> values;             // processed, on the wave's grid (fftLength)
    std::unique_ptr<double[]> spectrum; // packed, fftLength values
    int fftLength = 0;

public slots:
    // Redone from the wave's grid, n, window and amplitude mode after each
    // of its changes.
    void process(const AWave* wave);

signals:
    void changed();

private:
    const AWave* lastWave = nullptr;
};
