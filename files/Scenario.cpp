#include "Scenario.h"

#include "AtomicWrite.h"
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

// "shells": an array of at most Shell::maxExtra objects {"R", "amplitude"}, both
// required and on their sliders' ranges; absent means no extra shell.
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
                            Shell::amplitudeMaximum, &shells[i].amplitude, error))
            return false;
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

bool readDataFile(const QJsonObject& o, Scenario* s, QString* error) {
    const auto it = o.constFind(QLatin1String("measuredData"));
    if (it == o.constEnd())
        return true;
    if (!it.value().isString()) {
        *error = Scenario::tr("The field %1 must be a string.").arg(QLatin1String("measuredData"));
        return false;
    }
    const QString path = it.value().toString();
    if (Escaped::hasControl(path)) {
        *error = Scenario::tr("The field %1 must be a file name without control characters; it "
                              "is \"%2\".")
                     .arg(QLatin1String("measuredData"), Escaped::text(path));
        return false;
    }
    s->dataFile = path;
    return true;
}

const QStringList& Scenario::fitParameterNames() {
    static const QStringList names = [] {
        QStringList out;
        for (const ParameterRow* row : fitOrder())
            out << QLatin1String(row->name);
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
            readDataFile(o, &s, &message) && readTexts(o, &s, &message)) {
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
    for (const ExtraShell& shell : shells)
        shellArray.append(QJsonObject{{QStringLiteral("R"), shell.r},
                                      {QStringLiteral("amplitude"), shell.amplitude}});

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
    };
    for (const ParameterRow& row : parameterTable)
        o.insert(QLatin1String(row.key), parameter(row.id));
    if (hasFit)
        o.insert(QStringLiteral("fit"),
                 QJsonObject{{QStringLiteral("vary"), QJsonArray::fromStringList(fitVary)},
                             {QStringLiteral("Rrange"), QJsonArray{fitRMin, fitRMax}}});
    QJsonArray rWindow;
    for (const double p : filterRWindow)
        rWindow.append(p);
    o.insert(QStringLiteral("filter"),
             QJsonObject{{QStringLiteral("Rwindow"), rWindow},
                         {QStringLiteral("show"), filterShown},
                         {QStringLiteral("kRange"), QJsonArray{ratioKMin, ratioKMax}}});
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
    read.dataFile = dataFileIn(QFileInfo(path).absolutePath(), read.dataFile);
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
    recorded.dataFile = dataFileFrom(QFileInfo(path).absolutePath());
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
           sigma == o.sigma && amplitude == o.amplitude && envelopeOn == o.envelopeOn &&
           windowOn == o.windowOn && debyeWallerOn == o.debyeWallerOn &&
           windowPositions == o.windowPositions && showReal == o.showReal &&
           showImag == o.showImag && showAbs == o.showAbs && showEnvelope == o.showEnvelope &&
           showWindow == o.showWindow && showWave == o.showWave && showTotal == o.showTotal &&
           pointerR == o.pointerR && viewAxes == o.viewAxes && viewLegend == o.viewLegend &&
           viewPhysical == o.viewPhysical && viewLockScales == o.viewLockScales &&
           dataFile == o.dataFile && title == o.title && notes == o.notes && hasFit == o.hasFit &&
           fitVary == o.fitVary && fitRMin == o.fitRMin && fitRMax == o.fitRMax &&
           filterRWindow == o.filterRWindow && filterShown == o.filterShown &&
           ratioKMin == o.ratioKMin && ratioKMax == o.ratioKMax;
}
