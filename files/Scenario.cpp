#include "Scenario.h"

#include "AtomicWrite.h"
#include "Background.h"
#include "Envelope.h"
#include "Escaped.h"
#include "Number.h"
#include "ParameterTable.h"
#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QPoint>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char* const formatName = "tovik-scenario";
const int envelopePointCount = 17;
const int windowPositionCount = 4;

QString indexed(const QString& path, int i) {
    return path + QLatin1Char('[') + QString::number(i) + QLatin1Char(']');
}

QString nested(const QString& path, const char* key) {
    return path + QLatin1Char('.') + QLatin1String(key);
}

// Every check below either stores into its output or sets `error` and
// answers false; the caller stops at the first fault.
bool finiteNumber(const QJsonValue& v, const QString& path, double* out, QString* error) {
    if (!v.isDouble()) {
        *error = Scenario::tr("The field %1 must be a number.").arg(path);
        return false;
    }
    const double d = v.toDouble();
    // Qt's parser refuses numbers beyond double range today; kept so that a
    // parser that maps them to infinity still cannot pass them on.
    if (!std::isfinite(d)) {
        *error = Scenario::tr("The field %1 must be a finite number.").arg(path);
        return false;
    }
    *out = d;
    return true;
}

bool numberIn(const QJsonValue& v, const QString& path, double low, double high, double* out,
              QString* error) {
    double d = 0;
    if (!finiteNumber(v, path, &d, error))
        return false;
    if (!(d >= low && d <= high)) {
        *error = Scenario::tr("The field %1 must lie between %2 and %3; it is %4.")
                     .arg(path, shortestNumber(low), shortestNumber(high), shortestNumber(d));
        return false;
    }
    *out = d;
    return true;
}

bool wholeNumber(const QJsonValue& v, const QString& path, double* out, QString* error) {
    double d = 0;
    if (!finiteNumber(v, path, &d, error))
        return false;
    if (d != std::trunc(d)) {
        *error = Scenario::tr("The field %1 must be a whole number; it is %2.")
                     .arg(path, shortestNumber(d));
        return false;
    }
    *out = d;
    return true;
}

bool boolean(const QJsonValue& v, const QString& path, bool* out, QString* error) {
    if (!v.isBool()) {
        *error = Scenario::tr("The field %1 must be true or false.").arg(path);
        return false;
    }
    *out = v.toBool();
    return true;
}

bool object(const QJsonValue& v, const QString& path, QJsonObject* out, QString* error) {
    if (!v.isObject()) {
        *error = Scenario::tr("The field %1 must be an object.").arg(path);
        return false;
    }
    *out = v.toObject();
    return true;
}

bool arrayOf(const QJsonValue& v, const QString& path, int count, QJsonArray* out, QString* error) {
    if (!v.isArray()) {
        *error = Scenario::tr("The field %1 must be an array.").arg(path);
        return false;
    }
    const QJsonArray a = v.toArray();
    if (a.size() != count) {
        *error = Scenario::tr("The field %1 must hold exactly %2 entries; it has %3.")
                     .arg(path, QString::number(count), QString::number(a.size()));
        return false;
    }
    *out = a;
    return true;
}

// A boolean member of `o` when present; absent keeps *out.
bool optionalBoolean(const QJsonObject& o, const QString& parent, const char* key, bool* out,
                     QString* error) {
    const auto it = o.constFind(QLatin1String(key));
    if (it == o.constEnd())
        return true;
    return boolean(it.value(), parent.isEmpty() ? QString::fromLatin1(key) : nested(parent, key),
                   out, error);
}

bool optionalNumber(const QJsonObject& o, const QString& parent, const char* key, double low,
                    double high, double* out, QString* error) {
    const auto it = o.constFind(QLatin1String(key));
    if (it == o.constEnd())
        return true;
    return numberIn(it.value(), parent.isEmpty() ? QString::fromLatin1(key) : nested(parent, key),
                    low, high, out, error);
}

bool readHeader(const QJsonObject& o, QString* error) {
    const auto format = o.constFind(QLatin1String("format"));
    if (format == o.constEnd()) {
        *error = Scenario::tr("The required field %1 is missing.").arg(QLatin1String("format"));
        return false;
    }
    if (!format.value().isString()) {
        *error = Scenario::tr("The field %1 must be a string.").arg(QLatin1String("format"));
        return false;
    }
    if (format.value().toString() != QLatin1String(formatName)) {
        *error = Scenario::tr("This is not a Tovik scenario: its format is \"%1\", not \"%2\".")
                     .arg(Escaped::text(format.value().toString()), QLatin1String(formatName));
        return false;
    }

    const auto version = o.constFind(QLatin1String("version"));
    if (version == o.constEnd()) {
        *error = Scenario::tr("The required field %1 is missing.").arg(QLatin1String("version"));
        return false;
    }
    double v = 0;
    if (!wholeNumber(version.value(), QStringLiteral("version"), &v, error))
        return false;
    if (v > Scenario::formatVersion) {
        *error = Scenario::tr("This scenario was made by a newer Tovik (version %1); this one "
                              "reads versions up to %2.")
                     .arg(shortestNumber(v), QString::number(Scenario::formatVersion));
        return false;
    }
    if (v < 1) {
        *error = Scenario::tr("The scenario version %1 is unknown.").arg(shortestNumber(v));
        return false;
    }
    return true;
}

// A file name at `key`, kept when absent: a string without control
// characters.
bool fileName(const QJsonObject& o, const QString& parent, const char* key, QString* out,
              QString* error) {
    const auto it = o.constFind(QLatin1String(key));
    if (it == o.constEnd())
        return true;
    const QString field = parent.isEmpty() ? QString::fromLatin1(key) : nested(parent, key);
    if (!it.value().isString()) {
        *error = Scenario::tr("The field %1 must be a string.").arg(field);
        return false;
    }
    const QString path = it.value().toString();
    if (Escaped::hasControl(path)) {
        *error = Scenario::tr("The field %1 must be a file name without control characters; it "
                              "is \"%2\".")
                     .arg(field, Escaped::text(path));
        return false;
    }
    *out = path;
    return true;
}

// "shells": an array of at most Shell::maxExtra objects {"R", "amplitude"}, both
// required and on their sliders' ranges, and optionally "path" with that
// shell's "sigma" and "dE0"; absent means no extra shell.
bool readShells(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("shells"));
    if (it == o.constEnd()) {
        s->shells.clear();
        return true;
    }
    const QString path = QStringLiteral("shells");
    if (!it.value().isArray()) {
        *error = Scenario::tr("The field %1 must be an array.").arg(path);
        return false;
    }
    const QJsonArray a = it.value().toArray();
    if (a.size() > Shell::maxExtra) {
        *error = Scenario::tr("The field %1 must hold at most %2 entries; it has %3.")
                     .arg(path, QString::number(Shell::maxExtra), QString::number(a.size()));
        return false;
    }
    QVector<Scenario::ExtraShell> shells(a.size());
    for (int i = 0; i < a.size(); ++i) {
        const QString shellPath = indexed(path, i);
        QJsonObject shell;
        if (!object(a.at(i), shellPath, &shell, error))
            return false;
        for (const char* key : {"R", "amplitude"}) {
            if (!shell.contains(QLatin1String(key))) {
                *error =
                    Scenario::tr("The required field %1 is missing.").arg(nested(shellPath, key));
                return false;
            }
        }
        if (!optionalNumber(shell, shellPath, "R", Shell::rMinimum, Shell::rMaximum, &shells[i].r,
                            error) ||
            !optionalNumber(shell, shellPath, "amplitude", Shell::amplitudeMinimum,
                            Shell::amplitudeMaximum, &shells[i].amplitude, error) ||
            !fileName(shell, shellPath, "path", &shells[i].pathFile, error))
            return false;
        for (const ModelParameter p : {ModelParameter::Sigma, ModelParameter::DeltaE0}) {
            const ParameterRow& row = parameterRow(p);
            double& v = p == ModelParameter::Sigma ? shells[i].sigma : shells[i].deltaE0;
            if (!optionalNumber(shell, shellPath, row.key, row.minimum, row.maximum, &v, error))
                return false;
        }
    }
    s->shells = shells;
    return true;
}

bool readParameters(const QJsonObject& o, Scenario* s, QString* error) {
    const auto n = o.constFind(QLatin1String(KWeight::key));
    if (n != o.constEnd()) {
        double v = 0;
        const QString path = QLatin1String(KWeight::key);
        if (!wholeNumber(n.value(), path, &v, error) ||
            !numberIn(n.value(), path, KWeight::minimum, KWeight::maximum, &v, error))
            return false;
        s->n = static_cast<int>(v);
    }
    const QString top;
    for (const ParameterRow& row : parameterTable) {
        double v = s->parameter(row.id);
        if (!optionalNumber(o, top, row.key, row.minimum, row.maximum, &v, error))
            return false;
        s->setParameter(row.id, v);
    }
    return readShells(o, s, error);
}

bool readFactors(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("factors"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("factors");
    QJsonObject f;
    return object(it.value(), path, &f, error) &&
           optionalBoolean(f, path, "envelope", &s->envelopeOn, error) &&
           optionalBoolean(f, path, "window", &s->windowOn, error) &&
           optionalBoolean(f, path, "debyeWaller", &s->debyeWallerOn, error);
}

bool readWindowPositions(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("windowPositions"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("windowPositions");
    QJsonArray a;
    if (!arrayOf(it.value(), path, windowPositionCount, &a, error))
        return false;
    QVector<double> positions(windowPositionCount);
    for (int i = 0; i < windowPositionCount; ++i) {
        if (!numberIn(a.at(i), indexed(path, i), -1000, 1000, &positions[i], error))
            return false;
        if (i > 0 && positions[i] < positions[i - 1]) {
            *error = Scenario::tr("The field %1 must not be smaller than %2.")
                         .arg(indexed(path, i), indexed(path, i - 1));
            return false;
        }
    }
    s->windowPositions = positions;
    return true;
}

bool readEnvelopePoints(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("envelopePoints"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("envelopePoints");
    QJsonArray a;
    if (!arrayOf(it.value(), path, envelopePointCount, &a, error))
        return false;
    QVector<QPointF> points(envelopePointCount);
    for (int i = 0; i < envelopePointCount; ++i) {
        const QString pointPath = indexed(path, i);
        QJsonArray pair;
        double k = 0;
        double f = 0;
        if (!arrayOf(a.at(i), pointPath, 2, &pair, error) ||
            !numberIn(pair.at(0), indexed(pointPath, 0), 0, 16, &k, error) ||
            !numberIn(pair.at(1), indexed(pointPath, 1), -1.1, 1.1, &f, error))
            return false;
        // Dragged points keep a gap of Envelope::minimumGap, which a saved
        // file keeps to within rounding.
        const double least = i > 0 ? points[i - 1].x() + Envelope::minimumGap / 2 : 0;
        if (i > 0 && !(k > least)) {
            *error = Scenario::tr("The field %1 must be larger than %2.")
                         .arg(indexed(pointPath, 0), shortestNumber(least));
            return false;
        }
        points[i] = QPointF(k, f);
    }
    s->envelopePoints = points;
    return true;
}

bool readChiR(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("chiR"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("chiR");
    QJsonObject c;
    return object(it.value(), path, &c, error) &&
           optionalBoolean(c, path, "real", &s->showReal, error) &&
           optionalBoolean(c, path, "imag", &s->showImag, error) &&
           optionalBoolean(c, path, "abs", &s->showAbs, error) &&
           optionalBoolean(c, path, "envelope", &s->showEnvelope, error) &&
           optionalBoolean(c, path, "window", &s->showWindow, error) &&
           optionalBoolean(c, path, "wave", &s->showWave, error) &&
           optionalBoolean(c, path, "total", &s->showTotal, error) &&
           optionalNumber(c, path, "pointerR", -1000, 1000, &s->pointerR, error);
}

// UTF-16 and UTF-32 by their byte-order mark, or by the zero bytes that
// ASCII text has in them; nullptr for anything else.
const char* wideEncoding(const QByteArray& text) {
    const auto at = [&](int i) { return i < text.size() ? quint8(text[i]) : 0x100; };
    if ((at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF) ||
        (at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0) ||
        (at(0) == 0 && at(1) == 0 && at(2) == 0 && at(3) != 0 && at(3) != 0x100) ||
        (at(0) != 0 && at(0) != 0x100 && at(1) == 0 && at(2) == 0 && at(3) == 0))
        return "UTF-32";
    if ((at(0) == 0xFE && at(1) == 0xFF) || (at(0) == 0xFF && at(1) == 0xFE) ||
        (at(0) == 0 && at(1) != 0 && at(1) != 0x100) ||
        (at(0) != 0 && at(0) != 0x100 && at(1) == 0))
        return "UTF-16";
    return nullptr;
}

// Line and column (both from 1, the column in characters) of a byte offset.
QPoint lineAndColumn(const QByteArray& text, int offset) {
    offset = std::max(0, std::min(offset, int(text.size())));
    const int lineStart = text.lastIndexOf('\n', offset - 1) + 1;
    const int line = int(text.left(lineStart).count('\n')) + 1;
    return QPoint(QString::fromUtf8(text.mid(lineStart, offset - lineStart)).size() + 1, line);
}

} // namespace

bool readView(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("view"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("view");
    QJsonObject v;
    return object(it.value(), path, &v, error) &&
           optionalBoolean(v, path, "axes", &s->viewAxes, error) &&
           optionalBoolean(v, path, "legend", &s->viewLegend, error) &&
           optionalBoolean(v, path, "physical", &s->viewPhysical, error) &&
           optionalBoolean(v, path, "lockScales", &s->viewLockScales, error);
}

// "fit": {"vary": [names], "Rrange": [low, high]}, both optional.
bool readFit(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("fit"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("fit");
    QJsonObject f;
    if (!object(it.value(), path, &f, error))
        return false;
    Scenario out = *s;
    out.hasFit = true;
    const auto vary = f.constFind(QLatin1String("vary"));
    if (vary != f.constEnd()) {
        const QString varyPath = nested(path, "vary");
        if (!vary.value().isArray()) {
            *error = Scenario::tr("The field %1 must be an array.").arg(varyPath);
            return false;
        }
        out.fitVary.clear();
        const QJsonArray names = vary.value().toArray();
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names.at(i).toString();
            if (!Scenario::fitParameterNames().contains(name) || out.fitVary.contains(name)) {
                *error = Scenario::tr("The field %1 must name one of %2, each at most once.")
                             .arg(indexed(varyPath, i),
                                  Scenario::fitParameterNames().join(QStringLiteral(", ")));
                return false;
            }
            out.fitVary.append(name);
        }
    }
    const auto range = f.constFind(QLatin1String("Rrange"));
    if (range != f.constEnd()) {
        const QString rangePath = nested(path, "Rrange");
        QJsonArray a;
        double low = 0, high = 0;
        if (!arrayOf(range.value(), rangePath, 2, &a, error) ||
            !numberIn(a.at(0), indexed(rangePath, 0), 0, 15, &low, error) ||
            !numberIn(a.at(1), indexed(rangePath, 1), 0, 15, &high, error))
            return false;
        if (!(low < high)) {
            *error = Scenario::tr("The field %1 must hold a lower and a higher R.").arg(rangePath);
            return false;
        }
        out.fitRMin = low;
        out.fitRMax = high;
    }
    *s = out;
    return true;
}

// "filter": {"Rwindow": [four increasing R], "show": bool, "kRange": [low,
// high]}, each optional.
bool readFilter(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("filter"));
    if (it == o.constEnd())
        return true;
    const QString path = QStringLiteral("filter");
    QJsonObject f;
    if (!object(it.value(), path, &f, error))
        return false;
    Scenario out = *s;
    if (!optionalBoolean(f, path, "show", &out.filterShown, error))
        return false;
    const auto window = f.constFind(QLatin1String("Rwindow"));
    if (window != f.constEnd()) {
        const QString windowPath = nested(path, "Rwindow");
        QJsonArray a;
        if (!arrayOf(window.value(), windowPath, windowPositionCount, &a, error))
            return false;
        for (int i = 0; i < windowPositionCount; ++i) {
            if (!numberIn(a.at(i), indexed(windowPath, i), 0, 15, &out.filterRWindow[i], error))
                return false;
            if (i > 0 && out.filterRWindow[i] < out.filterRWindow[i - 1]) {
                *error = Scenario::tr("The field %1 must not be smaller than %2.")
                             .arg(indexed(windowPath, i), indexed(windowPath, i - 1));
                return false;
            }
        }
        if (!(out.filterRWindow[0] < out.filterRWindow[3])) {
            *error = Scenario::tr("The field %1 must span a range of R.").arg(windowPath);
            return false;
        }
    }
    const auto range = f.constFind(QLatin1String("kRange"));
    if (range != f.constEnd()) {
        const QString rangePath = nested(path, "kRange");
        QJsonArray a;
        double low = 0, high = 0;
        if (!arrayOf(range.value(), rangePath, 2, &a, error) ||
            !numberIn(a.at(0), indexed(rangePath, 0), 0, 50, &low, error) ||
            !numberIn(a.at(1), indexed(rangePath, 1), 0, 50, &high, error))
            return false;
        if (!(low < high)) {
            *error = Scenario::tr("The field %1 must hold a lower and a higher k.").arg(rangePath);
            return false;
        }
        out.ratioKMin = low;
        out.ratioKMax = high;
    }
    *s = out;
    return true;
}

// Four increasing positions within [low, high] that span a range.
bool windowIn(const QJsonValue& v, const QString& path, double low, double high,
              WindowPositions* out, QString* error) {
    QJsonArray a;
    if (!arrayOf(v, path, windowPositionCount, &a, error))
        return false;
    WindowPositions p{};
    for (int i = 0; i < windowPositionCount; ++i) {
        if (!numberIn(a.at(i), indexed(path, i), low, high, &p[size_t(i)], error))
            return false;
        if (i > 0 && p[size_t(i)] < p[size_t(i) - 1]) {
            *error = Scenario::tr("The field %1 must not be smaller than %2.")
                         .arg(indexed(path, i), indexed(path, i - 1));
            return false;
        }
    }
    if (!(p[0] < p[3])) {
        *error = Scenario::tr("The field %1 must span a range of R.").arg(path);
        return false;
    }
    *out = p;
    return true;
}

// "standard": {"file", "N", "R", "sigma", "Rwindow", "kWindow", "n"}: the
// first four required; the filter's windows and k weight default to the
// scenario's own. Read after "filter", the window positions and "n". With
// a "path" as well it is refused: the main shell has one or the other.
bool readStandard(const QJsonObject& o, Scenario* s, QString* error) {
    s->standard.reset();
    const auto it = o.constFind(QLatin1String("standard"));
    if (it == o.constEnd() || it.value().isNull())
        return true;
    const QString path = QStringLiteral("standard");
    QJsonObject f;
    if (!object(it.value(), path, &f, error))
        return false;
    StandardOrigin origin;
    for (const char* key : {"file", "N", "R", "sigma"}) {
        if (!f.contains(QLatin1String(key))) {
            *error = Scenario::tr("The required field %1 is missing.").arg(nested(path, key));
            return false;
        }
    }
    if (!fileName(f, path, "file", &origin.file, error))
        return false;
    if (origin.file.isEmpty()) {
        *error = Scenario::tr("The field %1 must name a chi(k) file.").arg(nested(path, "file"));
        return false;
    }
    const ParameterRow& rRow = parameterRow(ModelParameter::R);
    const ParameterRow& sigmaRow = parameterRow(ModelParameter::Sigma);
    double weight = s->n;
    if (!numberIn(f.value(QLatin1String("N")), nested(path, "N"), 0, 1000, &origin.n, error) ||
        !numberIn(f.value(QLatin1String("R")), nested(path, "R"), rRow.minimum, rRow.maximum,
                  &origin.r, error) ||
        !numberIn(f.value(QLatin1String("sigma")), nested(path, "sigma"), 0, sigmaRow.maximum,
                  &origin.sigma, error) ||
        !optionalNumber(f, path, KWeight::key, KWeight::minimum, KWeight::maximum, &weight, error))
        return false;
    if (!(origin.n > 0)) {
        *error = Scenario::tr("The field %1 must be larger than 0.").arg(nested(path, "N"));
        return false;
    }
    if (!(origin.r > 0)) {
        *error = Scenario::tr("The field %1 must be larger than 0.").arg(nested(path, "R"));
        return false;
    }
    if (weight != std::trunc(weight)) {
        *error = Scenario::tr("The field %1 must be a whole number; it is %2.")
                     .arg(nested(path, KWeight::key), shortestNumber(weight));
        return false;
    }
    origin.kWeight = int(weight);
    if (s->filterRWindow.size() == windowPositionCount)
        std::copy(s->filterRWindow.begin(), s->filterRWindow.end(), origin.rWindow.begin());
    if (s->windowPositions.size() == windowPositionCount)
        std::copy(s->windowPositions.begin(), s->windowPositions.end(), origin.kWindow.begin());
    const auto rWindow = f.constFind(QLatin1String("Rwindow"));
    if (rWindow != f.constEnd() &&
        !windowIn(rWindow.value(), nested(path, "Rwindow"), 0, 15, &origin.rWindow, error))
        return false;
    const auto kWindow = f.constFind(QLatin1String("kWindow"));
    if (kWindow != f.constEnd() &&
        !windowIn(kWindow.value(), nested(path, "kWindow"), 0, 50, &origin.kWindow, error))
        return false;
    // A path kept from the base gives way; one in the same file conflicts.
    if (!o.value(QLatin1String("path")).toString().isEmpty()) {
        *error = Scenario::tr("The fields %1 and %2 cannot both be given: the main shell takes "
                              "its amplitude and phase from one or the other.")
                     .arg(QStringLiteral("path"), path);
        return false;
    }
    s->pathFile.clear();
    s->standard = origin;
    return true;
}

bool readDataFile(const QJsonObject& o, Scenario* s, QString* error) {
    return fileName(o, QString(), "measuredData", &s->dataFile, error) &&
           fileName(o, QString(), "path", &s->pathFile, error);
}

namespace {
// A pair [low, high] of finite numbers within [min, max], low below high; a
// null `high` (when allowed) stands for the data's end.
bool rangeIn(const QJsonValue& v, const QString& path, double min, double max, bool openEnd,
             double* low, double* high, bool* highGiven, QString* error) {
    QJsonArray a;
    if (!arrayOf(v, path, 2, &a, error) ||
        !numberIn(a.at(0), indexed(path, 0), min, max, low, error))
        return false;
    *highGiven = !(openEnd && a.at(1).isNull());
    if (*highGiven) {
        if (!numberIn(a.at(1), indexed(path, 1), min, max, high, error))
            return false;
        if (!(*low < *high)) {
            *error = Scenario::tr("The field %1 must be larger than %2.")
                         .arg(indexed(path, 1), indexed(path, 0));
            return false;
        }
    }
    return true;
}

// "absorption": {"file", "columns": {"energy", "numerator", "denominator",
// "log"}, "e0", "rbkg", "kweight", "preEdge", "normalization", "kRange"};
// only "file" is required. A file without it keeps the base's mu(E) unless
// it says which chi(k) data it shows ("measuredData", empty for none), as
// every saved file does.
// The "absorption" object at `path` (the top level's or a data set's) into
// its file, columns and settings; nothing is stored on a fault.
bool readMuObject(const QJsonValue& v, const QString& path, QString* muFile,
                  std::optional<MuColumns>* muColumns, AbsorptionSettings* muSettings,
                  QString* error) {
    QJsonObject a;
    if (!object(v, path, &a, error))
        return false;
    const auto file = a.constFind(QLatin1String("file"));
    const QString filePath = nested(path, "file");
    if (file == a.constEnd()) {
        *error = Scenario::tr("The required field %1 is missing.").arg(filePath);
        return false;
    }
    if (!file.value().isString() || file.value().toString().isEmpty()) {
        *error = Scenario::tr("The field %1 must be a string.").arg(filePath);
        return false;
    }
    if (Escaped::hasControl(file.value().toString())) {
        *error = Scenario::tr("The field %1 must be a file name without control characters; it "
                              "is \"%2\".")
                     .arg(filePath, Escaped::text(file.value().toString()));
        return false;
    }
    AbsorptionSettings settings;
    std::optional<MuColumns> columns;
    const auto c = a.constFind(QLatin1String("columns"));
    if (c != a.constEnd()) {
        const QString columnsPath = nested(path, "columns");
        QJsonObject co;
        if (!object(c.value(), columnsPath, &co, error))
            return false;
        MuColumns chosen;
        for (const char* key : {"energy", "numerator"}) {
            if (!co.contains(QLatin1String(key))) {
                *error =
                    Scenario::tr("The required field %1 is missing.").arg(nested(columnsPath, key));
                return false;
            }
        }
        const struct {
            const char* key;
            int* out;
            double least;
        } numbers[] = {{"energy", &chosen.energy, 1},
                       {"numerator", &chosen.numerator, 1},
                       {"denominator", &chosen.denominator, 0}};
        for (const auto& n : numbers) {
            const auto v = co.constFind(QLatin1String(n.key));
            if (v == co.constEnd())
                continue;
            double d = 0;
            const QString numberPath = nested(columnsPath, n.key);
            if (!wholeNumber(v.value(), numberPath, &d, error) ||
                !numberIn(v.value(), numberPath, n.least, 1000, &d, error))
                return false;
            *n.out = int(d);
        }
        if (!optionalBoolean(co, columnsPath, "log", &chosen.log, error))
            return false;
        columns = chosen;
    }
    const auto e0 = a.constFind(QLatin1String("e0"));
    if (e0 != a.constEnd()) {
        double v = 0;
        if (!numberIn(e0.value(), nested(path, "e0"), 0, 1e6, &v, error))
            return false;
        settings.e0 = v;
    }
    if (!optionalNumber(a, path, "rbkg", Background::minRbkg, Background::maxRbkg, &settings.rbkg,
                        error))
        return false;
    const auto w = a.constFind(QLatin1String("kweight"));
    if (w != a.constEnd()) {
        double v = 0;
        const QString weightPath = nested(path, "kweight");
        if (!wholeNumber(w.value(), weightPath, &v, error) ||
            !numberIn(w.value(), weightPath, 0, Background::maxKWeight, &v, error))
            return false;
        settings.kWeight = int(v);
    }
    bool given = true;
    const auto pre = a.constFind(QLatin1String("preEdge"));
    if (pre != a.constEnd() && !rangeIn(pre.value(), nested(path, "preEdge"), -1e5, 1e5, false,
                                        &settings.preEdge[0], &settings.preEdge[1], &given, error))
        return false;
    const auto norm = a.constFind(QLatin1String("normalization"));
    if (norm != a.constEnd()) {
        if (!rangeIn(norm.value(), nested(path, "normalization"), -1e5, 1e5, true,
                     &settings.normalization[0], &settings.normalization[1], &given, error))
            return false;
        if (!given)
            settings.normalization[1] = std::numeric_limits<double>::infinity();
    }
    const auto k = a.constFind(QLatin1String("kRange"));
    if (k != a.constEnd()) {
        double high = 0;
        if (!rangeIn(k.value(), nested(path, "kRange"), 0, Background::maxK, true, &settings.kMin,
                     &high, &given, error))
            return false;
        settings.kMax = given ? std::optional<double>(high) : std::nullopt;
    }
    *muFile = file.value().toString();
    *muColumns = columns;
    *muSettings = settings;
    return true;
}

bool readAbsorption(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("absorption"));
    if (it == o.constEnd()) {
        if (o.contains(QLatin1String("measuredData"))) {
            s->muFile.clear();
            s->muColumns.reset();
            s->absorption = AbsorptionSettings();
        }
        return true;
    }
    const QString path = QStringLiteral("absorption");
    QString file;
    std::optional<MuColumns> columns;
    AbsorptionSettings settings;
    if (!readMuObject(it.value(), path, &file, &columns, &settings, error))
        return false;
    // The measured chi(k) comes from one place.
    if (!o.value(QLatin1String("measuredData")).toString().isEmpty()) {
        *error = Scenario::tr("The fields %1 and %2 cannot both name a file.")
                     .arg(QLatin1String("measuredData"), path);
        return false;
    }
    s->dataFile.clear();
    s->muFile = file;
    s->muColumns = columns;
    s->absorption = settings;
    return true;
}

QJsonValue openEnd(double v) {
    return std::isfinite(v) ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

QJsonObject absorptionObject(const QString& muFile, const std::optional<MuColumns>& muColumns,
                             const AbsorptionSettings& a) {
    QJsonObject o{
        {QStringLiteral("file"), muFile},
        {QStringLiteral("rbkg"), a.rbkg},
        {QStringLiteral("kweight"), a.kWeight},
        {QStringLiteral("preEdge"), QJsonArray{a.preEdge[0], a.preEdge[1]}},
        {QStringLiteral("normalization"),
         QJsonArray{a.normalization[0], openEnd(a.normalization[1])}},
        {QStringLiteral("kRange"),
         QJsonArray{a.kMin, a.kMax ? QJsonValue(*a.kMax) : QJsonValue(QJsonValue::Null)}},
    };
    if (a.e0)
        o.insert(QStringLiteral("e0"), *a.e0);
    if (muColumns)
        o.insert(QStringLiteral("columns"),
                 QJsonObject{{QStringLiteral("energy"), muColumns->energy},
                             {QStringLiteral("numerator"), muColumns->numerator},
                             {QStringLiteral("denominator"), muColumns->denominator},
                             {QStringLiteral("log"), muColumns->log}});
    return o;
}

// Temperatures a data set may have, K: above 0, below any furnace.
constexpr double maxTemperature = 1e5;

// A data set's fault as one sentence: its number (from 1) and file first.
QString dataSetError(int i, const QString& file, const QString& message) {
    return file.isEmpty() ? Scenario::tr("Data set %1: %2").arg(QString::number(i + 1), message)
                          : Scenario::tr("Data set %1 (%2): %3")
                                .arg(QString::number(i + 1), Escaped::text(file), message);
}

// One item of "fit.datasets": {"data": FILE, "temperature": T} or
// {"absorption": {...}, "temperature": T}.
bool readDataSet(const QJsonValue& v, const QString& path, int i, Scenario::DataSetEntry* out,
                 QString* error) {
    QJsonObject item;
    if (!object(v, path, &item, error)) {
        *error = dataSetError(i, QString(), *error);
        return false;
    }
    Scenario::DataSetEntry entry;
    const bool hasData = item.contains(QLatin1String("data"));
    const bool hasMu = item.contains(QLatin1String("absorption"));
    // The name the errors below show, if the item gives one.
    const QString shown = item.value(QLatin1String("data")).isString()
                              ? item.value(QLatin1String("data")).toString()
                              : item.value(QLatin1String("absorption"))
                                    .toObject()
                                    .value(QLatin1String("file"))
                                    .toString();
    QString message;
    if (hasData == hasMu) {
        message = Scenario::tr("The field %1 must name its data with exactly one of %2 and %3.")
                      .arg(path, QLatin1String("data"), QLatin1String("absorption"));
    } else if (hasData) {
        if (fileName(item, path, "data", &entry.dataFile, &message) && entry.dataFile.isEmpty())
            message = Scenario::tr("The field %1 must name a file.").arg(nested(path, "data"));
    } else {
        readMuObject(item.value(QLatin1String("absorption")), nested(path, "absorption"),
                     &entry.muFile, &entry.muColumns, &entry.absorption, &message);
    }
    const auto t = item.constFind(QLatin1String("temperature"));
    if (message.isEmpty() && t != item.constEnd()) {
        double temperature = 0;
        const QString field = nested(path, "temperature");
        if (finiteNumber(t.value(), field, &temperature, &message)) {
            if (!(temperature > 0 && temperature <= maxTemperature))
                message = Scenario::tr("The field %1 must be a temperature above 0 K and at most "
                                       "%2 K; it is %3.")
                              .arg(field, QString::number(maxTemperature, 'f', 0),
                                   shortestNumber(temperature));
            else
                entry.temperature = temperature;
        }
    }
    if (!message.isEmpty()) {
        *error = dataSetError(i, shown, message);
        return false;
    }
    *out = entry;
    return true;
}

// The series part of "fit": "datasets", "sigmaModel", "perDataset" and the
// series' starts. A file whose "fit" leaves one out has its default, not the
// base's: data sets belong to the file that names them.
bool readSeries(const QJsonObject& o, Scenario* s, QString* error) {
    const Scenario defaults;
    Scenario out = *s;
    out.fitDataSets.clear();
    out.fitSigmaModel = defaults.fitSigmaModel;
    out.fitPerDataset.clear();
    out.fitThetaE = defaults.fitThetaE;
    out.fitSigma2Static = defaults.fitSigma2Static;
    out.fitReducedMass = defaults.fitReducedMass;
    out.fitThermalExpansion = defaults.fitThermalExpansion;
    out.fitAlpha = defaults.fitAlpha;
    const QJsonObject f = o.value(QLatin1String("fit")).toObject();
    const QString path = QStringLiteral("fit");

    const auto model = f.constFind(QLatin1String("sigmaModel"));
    if (model != f.constEnd()) {
        const QString name = model.value().toString();
        if (name == QLatin1String("free")) {
            out.fitSigmaModel = Scenario::SigmaModelChoice::Free;
        } else if (name == QLatin1String("einstein")) {
            out.fitSigmaModel = Scenario::SigmaModelChoice::Einstein;
        } else {
            *error = Scenario::tr("The field %1 must be \"%2\" or \"%3\".")
                         .arg(nested(path, "sigmaModel"), QLatin1String("free"),
                              QLatin1String("einstein"));
            return false;
        }
    }
    const auto per = f.constFind(QLatin1String("perDataset"));
    if (per != f.constEnd()) {
        const QString perPath = nested(path, "perDataset");
        if (!per.value().isArray()) {
            *error = Scenario::tr("The field %1 must be an array.").arg(perPath);
            return false;
        }
        QStringList model;
        for (const ParameterRow* row : fitOrder())
            model << QLatin1String(row->name);
        const QJsonArray names = per.value().toArray();
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names.at(i).toString();
            if (!model.contains(name) || out.fitPerDataset.contains(name)) {
                *error = Scenario::tr("The field %1 must name one of %2, each at most once.")
                             .arg(indexed(perPath, i), model.join(QStringLiteral(", ")));
                return false;
            }
            out.fitPerDataset.append(name);
        }
    }
    if (!optionalNumber(f, path, SeriesParameter::thetaE, 1, 1e4, &out.fitThetaE, error) ||
        !optionalNumber(f, path, SeriesParameter::sigma2Static, -0.1, 0.1, &out.fitSigma2Static,
                        error) ||
        !optionalNumber(f, path, "reducedMass", 0, 1000, &out.fitReducedMass, error) ||
        !optionalBoolean(f, path, "thermalExpansion", &out.fitThermalExpansion, error) ||
        !optionalNumber(f, path, SeriesParameter::alpha, -0.01, 0.01, &out.fitAlpha, error))
        return false;
    // Under the Einstein model a fit that names nothing to vary varies
    // thetaE where it would vary sigma.
    const QString sigmaName = QLatin1String(parameterRow(ModelParameter::Sigma).name);
    if (out.fitSigmaModel == Scenario::SigmaModelChoice::Einstein &&
        !f.contains(QLatin1String("vary")) && out.fitVary.removeAll(sigmaName) > 0)
        out.fitVary << QLatin1String(SeriesParameter::thetaE);

    const auto sets = f.constFind(QLatin1String("datasets"));
    if (sets != f.constEnd()) {
        const QString setsPath = nested(path, "datasets");
        if (!sets.value().isArray()) {
            *error = Scenario::tr("The field %1 must be an array.").arg(setsPath);
            return false;
        }
        const QJsonArray items = sets.value().toArray();
        if (items.isEmpty() || items.size() > Scenario::maxDataSets) {
            *error = Scenario::tr("The field %1 must hold from 1 to %2 data sets; it has %3.")
                         .arg(setsPath, QString::number(Scenario::maxDataSets),
                              QString::number(items.size()));
            return false;
        }
        for (int i = 0; i < items.size(); ++i) {
            Scenario::DataSetEntry entry;
            if (!readDataSet(items.at(i), indexed(setsPath, i), i, &entry, error))
                return false;
            out.fitDataSets.append(entry);
        }
        // Temperatures are what the Einstein model and the expansion are
        // functions of.
        const bool needsTemperature =
            out.fitSigmaModel == Scenario::SigmaModelChoice::Einstein || out.fitThermalExpansion;
        for (int i = 0; i < out.fitDataSets.size(); ++i) {
            const Scenario::DataSetEntry& e = out.fitDataSets[i];
            if (needsTemperature && std::isnan(e.temperature)) {
                const QString field = nested(indexed(setsPath, i), "temperature");
                *error = dataSetError(
                    i, e.dataFile.isEmpty() ? e.muFile : e.dataFile,
                    out.fitSigmaModel == Scenario::SigmaModelChoice::Einstein
                        ? Scenario::tr("The field %1 is required by the Einstein model.").arg(field)
                        : Scenario::tr("The field %1 is required by thermal expansion.")
                              .arg(field));
                return false;
            }
        }
        // The first data set is the measured data shown: a file that names
        // the measured data elsewhere must name the same.
        const Scenario::DataSetEntry& first = out.fitDataSets.first();
        const QString shownData = o.value(QLatin1String("measuredData")).toString();
        const QString shownMu =
            o.value(QLatin1String("absorption")).toObject().value(QLatin1String("file")).toString();
        const auto same = [](const QString& a, const QString& b) {
            return QDir::cleanPath(a) == QDir::cleanPath(b);
        };
        if ((!shownData.isEmpty() && !same(shownData, first.dataFile)) ||
            (!shownMu.isEmpty() && !same(shownMu, first.muFile))) {
            *error = Scenario::tr("The first entry of %1 must be the measured data the file "
                                  "shows (%2).")
                         .arg(setsPath, shownData.isEmpty() ? QLatin1String("absorption")
                                                            : QLatin1String("measuredData"));
            return false;
        }
        out.dataFile = first.dataFile;
        out.muFile = first.muFile;
        out.muColumns = first.muColumns;
        out.absorption = first.absorption;
    }
    *s = out;
    return true;
}

// The series part of "fit" as readSeries reads it: only what differs from
// the defaults.
void writeSeries(const Scenario& s, QJsonObject* f) {
    const Scenario defaults;
    if (!s.fitDataSets.isEmpty()) {
        QJsonArray sets;
        for (const Scenario::DataSetEntry& e : s.fitDataSets) {
            QJsonObject item;
            if (!e.muFile.isEmpty())
                item.insert(QStringLiteral("absorption"),
                            absorptionObject(e.muFile, e.muColumns, e.absorption));
            else
                item.insert(QStringLiteral("data"), e.dataFile);
            if (!std::isnan(e.temperature))
                item.insert(QStringLiteral("temperature"), e.temperature);
            sets.append(item);
        }
        f->insert(QStringLiteral("datasets"), sets);
    }
    if (s.fitSigmaModel == Scenario::SigmaModelChoice::Einstein)
        f->insert(QStringLiteral("sigmaModel"), QStringLiteral("einstein"));
    if (!s.fitPerDataset.isEmpty())
        f->insert(QStringLiteral("perDataset"), QJsonArray::fromStringList(s.fitPerDataset));
    const struct {
        const char* key;
        double value, fallback;
    } starts[] = {{SeriesParameter::thetaE, s.fitThetaE, defaults.fitThetaE},
                  {SeriesParameter::sigma2Static, s.fitSigma2Static, defaults.fitSigma2Static},
                  {"reducedMass", s.fitReducedMass, defaults.fitReducedMass},
                  {SeriesParameter::alpha, s.fitAlpha, defaults.fitAlpha}};
    for (const auto& start : starts)
        if (start.value != start.fallback)
            f->insert(QLatin1String(start.key), start.value);
    if (s.fitThermalExpansion)
        f->insert(QStringLiteral("thermalExpansion"), true);
}
} // namespace

const QStringList& Scenario::fitParameterNames() {
    static const QStringList names = [] {
        QStringList out;
        for (const ParameterRow* row : fitOrder())
            out << QLatin1String(row->name);
        out << QLatin1String(SeriesParameter::thetaE)
            << QLatin1String(SeriesParameter::sigma2Static)
            << QLatin1String(SeriesParameter::alpha);
        return out;
    }();
    return names;
}

QStringList Scenario::defaultFitVary() {
    QStringList out;
    for (const ParameterRow* row : fitOrder())
        if (row->variedByDefault)
            out << QLatin1String(row->name);
    return out;
}

namespace {
// Where the state keeps each of the model's parameters.
double Scenario::*fieldOf(ModelParameter p) {
    switch (p) {
    case ModelParameter::R:
        return &Scenario::r;
    case ModelParameter::P0:
        return &Scenario::phi0;
    case ModelParameter::P1:
        return &Scenario::phi1;
    case ModelParameter::P2:
        return &Scenario::phi2;
    case ModelParameter::Sigma:
        return &Scenario::sigma;
    case ModelParameter::DeltaE0:
        return &Scenario::deltaE0;
    case ModelParameter::Amplitude:
        break;
    }
    return &Scenario::amplitude;
}
} // namespace

double Scenario::parameter(ModelParameter p) const {
    return this->*fieldOf(p);
}

void Scenario::setParameter(ModelParameter p, double value) {
    this->*fieldOf(p) = value;
}

namespace {

// "title" and "notes": objects of strings by language; languages other
// than "en" and "ja" are ignored, and a missing key means no text.
bool readText(const QJsonObject& o, const char* key, LocalText* out, QString* error) {
    *out = LocalText();
    const auto it = o.constFind(QLatin1String(key));
    if (it == o.constEnd())
        return true;
    const QString path = QLatin1String(key);
    QJsonObject texts;
    if (!object(it.value(), path, &texts, error))
        return false;
    for (const char* language : {"en", "ja"}) {
        const auto text = texts.constFind(QLatin1String(language));
        if (text == texts.constEnd())
            continue;
        const QString textPath = nested(path, language);
        if (!text.value().isString()) {
            *error = Scenario::tr("The field %1 must be a string.").arg(textPath);
            return false;
        }
        const QString value = text.value().toString();
        if (value.size() > Scenario::maxTextLength) {
            *error = Scenario::tr("The field %1 must hold at most %2 characters; it has %3.")
                         .arg(textPath, QString::number(Scenario::maxTextLength),
                              QString::number(value.size()));
            return false;
        }
        (language[0] == 'e' ? out->en : out->ja) = value;
    }
    return true;
}

bool readTexts(const QJsonObject& o, Scenario* s, QString* error) {
    return readText(o, "title", &s->title, error) && readText(o, "notes", &s->notes, error);
}

QJsonObject textObject(const LocalText& text) {
    QJsonObject o;
    if (!text.en.isEmpty())
        o.insert(QStringLiteral("en"), text.en);
    if (!text.ja.isEmpty())
        o.insert(QStringLiteral("ja"), text.ja);
    return o;
}

} // namespace

QString LocalText::in(const QString& language) const {
    const QString& wanted = language == QLatin1String("ja") ? ja : en;
    return wanted.isEmpty() ? (language == QLatin1String("ja") ? en : ja) : wanted;
}

bool Scenario::fromJson(const QByteArray& text, const Scenario& base, Scenario* result,
                        QString* error) {
    QString message;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (const char* encoding = wideEncoding(text)) {
        message = tr("The file is written in %1; a scenario must be UTF-8 text.")
                      .arg(QLatin1String(encoding));
    } else if (parseError.error != QJsonParseError::NoError) {
        const QPoint at = lineAndColumn(text, parseError.offset);
        message =
            tr("The text is not valid JSON: %1 at line %2, column %3.")
                .arg(parseError.errorString(), QString::number(at.y()), QString::number(at.x()));
    } else if (!document.isObject()) {
        message = tr("The text is not a JSON object at its top level.");
    } else {
        // Filled on a copy, so that a fault anywhere leaves `result` alone.
        const QJsonObject o = document.object();
        Scenario s = base;
        if (readHeader(o, &message) && readParameters(o, &s, &message) &&
            readFactors(o, &s, &message) && readWindowPositions(o, &s, &message) &&
            readEnvelopePoints(o, &s, &message) && readChiR(o, &s, &message) &&
            readView(o, &s, &message) && readFit(o, &s, &message) && readFilter(o, &s, &message) &&
            readDataFile(o, &s, &message) && readStandard(o, &s, &message) &&
            readAbsorption(o, &s, &message) && readSeries(o, &s, &message) &&
            readTexts(o, &s, &message)) {
            *result = s;
            return true;
        }
    }
    if (error)
        *error = message;
    return false;
}

QByteArray Scenario::toJson() const {
    QJsonArray positions;
    for (const double p : windowPositions)
        positions.append(p);
    QJsonArray points;
    for (const QPointF& p : envelopePoints)
        points.append(QJsonArray{p.x(), p.y()});
    QJsonArray shellArray;
    for (const ExtraShell& shell : shells) {
        QJsonObject entry{{QStringLiteral("R"), shell.r},
                          {QStringLiteral("amplitude"), shell.amplitude}};
        if (!shell.pathFile.isEmpty()) {
            entry.insert(QStringLiteral("path"), shell.pathFile);
            entry.insert(QLatin1String(parameterRow(ModelParameter::Sigma).key), shell.sigma);
            entry.insert(QLatin1String(parameterRow(ModelParameter::DeltaE0).key), shell.deltaE0);
        }
        shellArray.append(entry);
    }

    const QJsonObject factors{
        {QStringLiteral("envelope"), envelopeOn},
        {QStringLiteral("window"), windowOn},
        {QStringLiteral("debyeWaller"), debyeWallerOn},
    };
    const QJsonObject chiR{
        {QStringLiteral("real"), showReal},     {QStringLiteral("imag"), showImag},
        {QStringLiteral("abs"), showAbs},       {QStringLiteral("envelope"), showEnvelope},
        {QStringLiteral("window"), showWindow}, {QStringLiteral("wave"), showWave},
        {QStringLiteral("total"), showTotal},   {QStringLiteral("pointerR"), pointerR},
    };
    const QJsonObject view{
        {QStringLiteral("axes"), viewAxes},
        {QStringLiteral("legend"), viewLegend},
        {QStringLiteral("physical"), viewPhysical},
        {QStringLiteral("lockScales"), viewLockScales},
    };
    QJsonObject o{
        {QStringLiteral("format"), QLatin1String(formatName)},
        {QStringLiteral("version"), formatVersion},
        {QLatin1String(KWeight::key), n},
        {QStringLiteral("factors"), factors},
        {QStringLiteral("windowPositions"), positions},
        {QStringLiteral("envelopePoints"), points},
        {QStringLiteral("shells"), shellArray},
        {QStringLiteral("chiR"), chiR},
        {QStringLiteral("view"), view},
        {QStringLiteral("measuredData"), dataFile},
        {QStringLiteral("path"), pathFile},
    };
    for (const ParameterRow& row : parameterTable)
        o.insert(QLatin1String(row.key), parameter(row.id));
    if (!muFile.isEmpty())
        o.insert(QStringLiteral("absorption"), absorptionObject(muFile, muColumns, absorption));
    if (hasFit) {
        QJsonObject f{{QStringLiteral("vary"), QJsonArray::fromStringList(fitVary)},
                      {QStringLiteral("Rrange"), QJsonArray{fitRMin, fitRMax}}};
        writeSeries(*this, &f);
        o.insert(QStringLiteral("fit"), f);
    }
    QJsonArray rWindow;
    for (const double p : filterRWindow)
        rWindow.append(p);
    o.insert(QStringLiteral("filter"),
             QJsonObject{{QStringLiteral("Rwindow"), rWindow},
                         {QStringLiteral("show"), filterShown},
                         {QStringLiteral("kRange"), QJsonArray{ratioKMin, ratioKMax}}});
    if (standard) {
        const auto array = [](const WindowPositions& p) {
            return QJsonArray{p[0], p[1], p[2], p[3]};
        };
        o.insert(QStringLiteral("standard"),
                 QJsonObject{{QStringLiteral("file"), standard->file},
                             {QStringLiteral("N"), standard->n},
                             {QStringLiteral("R"), standard->r},
                             {QStringLiteral("sigma"), standard->sigma},
                             {QStringLiteral("Rwindow"), array(standard->rWindow)},
                             {QStringLiteral("kWindow"), array(standard->kWindow)},
                             {QLatin1String(KWeight::key), standard->kWeight}});
    }
    // Only a lesson (or a scenario saved from one) has these.
    if (!title.isEmpty())
        o.insert(QStringLiteral("title"), textObject(title));
    if (!notes.isEmpty())
        o.insert(QStringLiteral("notes"), textObject(notes));
    // Qt 5.15 writes each double in the shortest form that reads back to
    // the same bits; only a negative zero comes back as 0.
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

bool Scenario::readFile(const QString& path, const Scenario& base, Scenario* result,
                        QString* error) {
    QByteArray text;
    if (!SafeFile::readAll(path, maxFileSize, tr("a scenario"), &text, error))
        return false;
    Scenario read;
    if (!fromJson(text, base, &read, error))
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    read.dataFile = dataFileIn(folder, read.dataFile);
    read.pathFile = dataFileIn(folder, read.pathFile);
    if (read.standard)
        read.standard->file = dataFileIn(folder, read.standard->file);
    for (ExtraShell& shell : read.shells)
        shell.pathFile = dataFileIn(folder, shell.pathFile);
    read.muFile = dataFileIn(folder, read.muFile);
    for (DataSetEntry& set : read.fitDataSets) {
        set.dataFile = dataFileIn(folder, set.dataFile);
        set.muFile = dataFileIn(folder, set.muFile);
    }
    *result = read;
    return true;
}

QString Scenario::dataFileFrom(const QString& folder) const {
    return dataFile.isEmpty() ? QString() : QDir(folder).relativeFilePath(dataFile);
}

QString Scenario::dataFileIn(const QString& folder, const QString& recorded) {
    if (recorded.isEmpty())
        return QString();
    return QDir::cleanPath(QDir(folder).absoluteFilePath(recorded));
}

bool Scenario::writeFile(const QString& path, QString* error) const {
    // The data file as seen from the scenario's folder, so that the two can
    // move together.
    Scenario recorded = *this;
    const QString folder = QFileInfo(path).absolutePath();
    recorded.dataFile = dataFileFrom(folder);
    auto relative = [&](const QString& file) {
        return file.isEmpty() ? QString() : QDir(folder).relativeFilePath(file);
    };
    recorded.pathFile = relative(pathFile);
    if (recorded.standard)
        recorded.standard->file = relative(standard->file);
    for (ExtraShell& shell : recorded.shells)
        shell.pathFile = relative(shell.pathFile);
    if (!muFile.isEmpty())
        recorded.muFile = QDir(folder).relativeFilePath(muFile);
    for (DataSetEntry& set : recorded.fitDataSets) {
        set.dataFile = relative(set.dataFile);
        set.muFile = relative(set.muFile);
    }
    QString reason;
    if (!writeAtomically(path, recorded.toJson(), &reason)) {
        if (error)
            *error = tr("The file %1 cannot be written: %2.").arg(Escaped::path(path), reason);
        return false;
    }
    return true;
}

bool Scenario::operator==(const Scenario& o) const {
    // QPointF's own == is fuzzy; points must match exactly.
    if (envelopePoints.size() != o.envelopePoints.size())
        return false;
    for (int i = 0; i < envelopePoints.size(); ++i) {
        if (envelopePoints[i].x() != o.envelopePoints[i].x() ||
            envelopePoints[i].y() != o.envelopePoints[i].y())
            return false;
    }
    if (shells != o.shells)
        return false;
    return n == o.n && r == o.r && phi0 == o.phi0 && phi1 == o.phi1 && phi2 == o.phi2 &&
           sigma == o.sigma && amplitude == o.amplitude && deltaE0 == o.deltaE0 &&
           pathFile == o.pathFile && standard == o.standard && envelopeOn == o.envelopeOn &&
           windowOn == o.windowOn && debyeWallerOn == o.debyeWallerOn &&
           windowPositions == o.windowPositions && showReal == o.showReal &&
           showImag == o.showImag && showAbs == o.showAbs && showEnvelope == o.showEnvelope &&
           showWindow == o.showWindow && showWave == o.showWave && showTotal == o.showTotal &&
           pointerR == o.pointerR && viewAxes == o.viewAxes && viewLegend == o.viewLegend &&
           viewPhysical == o.viewPhysical && viewLockScales == o.viewLockScales &&
           dataFile == o.dataFile && title == o.title && notes == o.notes && hasFit == o.hasFit &&
           fitVary == o.fitVary && fitRMin == o.fitRMin && fitRMax == o.fitRMax &&
           fitDataSets == o.fitDataSets && fitSigmaModel == o.fitSigmaModel &&
           fitPerDataset == o.fitPerDataset && fitThetaE == o.fitThetaE &&
           fitSigma2Static == o.fitSigma2Static && fitReducedMass == o.fitReducedMass &&
           fitThermalExpansion == o.fitThermalExpansion && fitAlpha == o.fitAlpha &&
           muFile == o.muFile && muColumns == o.muColumns && absorption == o.absorption &&
           filterRWindow == o.filterRWindow && filterShown == o.filterShown &&
           ratioKMin == o.ratioKMin && ratioKMax == o.ratioKMax;
}

void Scenario::takeSeries(const Scenario& from) {
    fitDataSets = from.fitDataSets;
    fitSigmaModel = from.fitSigmaModel;
    fitPerDataset = from.fitPerDataset;
    fitThetaE = from.fitThetaE;
    fitSigma2Static = from.fitSigma2Static;
    fitReducedMass = from.fitReducedMass;
    fitThermalExpansion = from.fitThermalExpansion;
    fitAlpha = from.fitAlpha;
}

bool Scenario::DataSetEntry::operator==(const DataSetEntry& o) const {
    // NaN temperatures (none given) compare equal.
    const bool sameT =
        temperature == o.temperature || (std::isnan(temperature) && std::isnan(o.temperature));
    return dataFile == o.dataFile && muFile == o.muFile && muColumns == o.muColumns &&
           absorption == o.absorption && sameT;
}

bool operator==(const MuColumns& a, const MuColumns& b) {
    return a.energy == b.energy && a.numerator == b.numerator && a.denominator == b.denominator &&
           a.log == b.log;
}

bool operator==(const AbsorptionSettings& a, const AbsorptionSettings& b) {
    return a.e0 == b.e0 && a.preEdge == b.preEdge && a.normalization == b.normalization &&
           a.rbkg == b.rbkg && a.kWeight == b.kWeight && a.kMin == b.kMin && a.kMax == b.kMax;
}
