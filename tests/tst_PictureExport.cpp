#include "PictureExport.h"
#include "Program.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// Both plot surfaces as pictures: the same pixels, or a vector drawing of
// the same paint.
class tst_PictureExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pngIsWhatIsShown();
    void svgIsADrawing_data();
    void svgIsADrawing();
    void pdfIsOnePage();
    void faults();
    void failedEncode_data();
    void failedEncode();
    void clipboard();

private:
    Program* program = nullptr;
};

void tst_PictureExport::init() {
    program = new Program;
    QVERIFY(QTest::qWaitForWindowExposed(program->main));
}

void tst_PictureExport::cleanup() {
    delete program;
    program = nullptr;
}

void tst_PictureExport::pngIsWhatIsShown() {
    QTemporaryDir tmp;
    for (DispArea* area : {program->main->DispA, program->chiR()->DispA}) {
        const QString path = tmp.filePath(QStringLiteral("plot.png"));
        QString error;
        QVERIFY(PictureExport::save(area, path, QStringLiteral("t"), &error));
        const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved, area->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
}

void tst_PictureExport::svgIsADrawing_data() {
    QTest::addColumn<bool>("chiR");
    QTest::addColumn<QString>("colour"); // a curve only that plot draws
    QTest::newRow("chi(k)") << false << "#0096ff";
    QTest::newRow("chi(R)") << true << "#ff0000";
}

void tst_PictureExport::svgIsADrawing() {
    QFETCH(bool, chiR);
    QFETCH(QString, colour);
    DispArea* area = chiR ? program->chiR()->DispA : program->main->DispA;
    const QByteArray svg =
        PictureExport::render(area, PictureExport::Format::Svg, QStringLiteral("A title"));
    QXmlStreamReader xml(svg);
    QString title, viewBox;
    int strokes = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("svg"))
            viewBox = xml.attributes().value(QLatin1String("viewBox")).toString();
        else if (xml.name() == QLatin1String("title"))
            title = xml.readElementText();
        else if (xml.name() == QLatin1String("g") &&
                 xml.attributes().value(QLatin1String("stroke")) == colour)
            ++strokes;
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(title, QStringLiteral("A title"));
    QCOMPARE(viewBox, QStringLiteral("0 0 %1 %2").arg(area->width()).arg(area->height()));
    QVERIFY(strokes > 0);
    QVERIFY(!svg.contains("<image")); // lines, not a picture of them
}

void tst_PictureExport::pdfIsOnePage() {
    const QByteArray pdf = PictureExport::render(program->chiR()->DispA, PictureExport::Format::Pdf,
                                                 QStringLiteral("Chi(R)"));
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
             1);
    QVERIFY(pdf.contains("/Count 1"));
}

void tst_PictureExport::faults() {
    QTemporaryDir tmp;
    QString error;
    QVERIFY(!PictureExport::save(program->main->DispA, tmp.filePath(QStringLiteral("plot.bmp")),
                                 QString(), &error));
    QVERIFY(error.contains(QStringLiteral(".png")));
    QVERIFY(!QFile::exists(tmp.filePath(QStringLiteral("plot.bmp"))));
    error.clear();
    QVERIFY(!PictureExport::save(program->main->DispA, tmp.filePath(QStringLiteral("no/plot.svg")),
                                 QString(), &error));
    QVERIFY(error.contains(QStringLiteral("no/plot.svg")));
}

void tst_PictureExport::failedEncode_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << "plot.png";
    QTest::newRow("SVG") << "plot.svg";
    QTest::newRow("PDF") << "plot.pdf";
}

// A surface squeezed to no area has nothing to encode (the PNG encoder
// refuses a null image): an error, and no file left behind as a success.
void tst_PictureExport::failedEncode() {
    QFETCH(QString, name);
    QTemporaryDir tmp;
    DispArea* area = program->main->DispA;
    area->setMinimumSize(0, 0);
    area->setFixedSize(0, 0);
    QCOMPARE(area->size(), QSize(0, 0));
    QString error;
    QVERIFY(!PictureExport::save(area, tmp.filePath(name), QString(), &error));
    QVERIFY2(error.contains(QStringLiteral("0 x 0")), qPrintable(error));
    QVERIFY(!QFile::exists(tmp.filePath(name)));
    QString renderError;
    QVERIFY(
        PictureExport::render(area, PictureExport::Format::Png, QString(), &renderError).isEmpty());
    QCOMPARE(renderError, error);
}

void tst_PictureExport::clipboard() {
    PictureExport::copyToClipboard(program->chiR()->DispA);
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             program->chiR()->DispA->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(tst_PictureExport)
#include "tst_PictureExport.moc"
